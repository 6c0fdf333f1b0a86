#include "cli/diagnostic.h"

#include <ostream>

#include "cli/terminal_text.h"

namespace kestrelink::cli {

void Complain(std::ostream& err, std::string_view text) {
    err << "kestrelink-cli: " << TerminalText(text) << '\n';
}

}  // namespace kestrelink::cli
