#pragma once

#include <iosfwd>
#include <string_view>

namespace kestrelink::cli {

// One line on standard error, named after the program as Unix tools do. Device texts in it are
// shown with their control characters escaped.
void Complain(std::ostream& err, std::string_view text);

}  // namespace kestrelink::cli
