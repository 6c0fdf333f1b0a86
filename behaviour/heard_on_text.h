#pragma once

#include <string>

namespace kestrelink {

struct NetworkInterface;

// Where a row's device was heard, and, when its IP cell lies outside that interface's network,
// why its web page cannot be reached from here. UTF-8.
std::string HeardOnText(const std::string& ipCell, const NetworkInterface& heardOn);

}  // namespace kestrelink
