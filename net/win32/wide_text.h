#pragma once

#include <string>

namespace kestrelink {

// Windows names adapters in UTF-16; everything above the seam speaks UTF-8.
std::string WideToUtf8(const wchar_t* wide);

}  // namespace kestrelink
