#pragma once

#include <memory>

namespace kestrelink {

class RegistryReader;

// The registry of the system the program runs on; where the system has none, a reader that finds
// nothing, so that the browser counts as not installed.
std::unique_ptr<RegistryReader> MakeSystemRegistryReader();

}  // namespace kestrelink
