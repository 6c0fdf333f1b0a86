#pragma once

#include <optional>
#include <string>
#include <string_view>

// Devices hold single-byte texts, which the window shows as Latin-1; this program speaks UTF-8.
namespace kestrelink::cli {

std::string Latin1ToUtf8(std::string_view latin1);
// nullopt for text that is not UTF-8, or that holds a control character or one beyond Latin-1:
// a device could not store it as it reads.
std::optional<std::string> Utf8ToDeviceText(std::string_view utf8);

}  // namespace kestrelink::cli
