#pragma once

#include <string>
#include <string_view>

namespace kestrelink {

// "Kestrelink" and the program's version: the main window's title.
std::string MainWindowTitle();

// The filter field's hint while it is empty.
inline constexpr std::string_view kFilterHint = "Filter";

}  // namespace kestrelink
