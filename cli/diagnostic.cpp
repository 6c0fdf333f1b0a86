#include "cli/diagnostic.h"

#include <ostream>

namespace kestrelink::cli {

void Complain(std::ostream& err, std::string_view text) {
    err << "kestrelink-cli: " << text << '\n';
}

}  // namespace kestrelink::cli
