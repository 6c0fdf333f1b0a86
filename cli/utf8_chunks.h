#pragma once

#include <cstddef>
#include <string_view>

namespace kestrelink::cli {

// The length of bytes without an unfinished UTF-8 sequence at its end: a console written to in
// pieces must not get half a character, which it would show as two wrong ones.
std::size_t WholeUtf8Length(std::string_view bytes);

}  // namespace kestrelink::cli
