#pragma once

#include <string>
#include <string_view>

namespace kestrelink::cli {

// Text that any host on the segment may have chosen, made safe to show on a terminal: each
// control character (C0, DEL, C1) and each byte that is not part of well-formed UTF-8 becomes
// \xHH, so that a device's name can neither move the cursor nor send the terminal commands.
// Everything else passes unchanged.
std::string TerminalText(std::string_view utf8);

}  // namespace kestrelink::cli
