#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The dotted-decimal form in which 32bits devices send and receive addresses. Values hold the
// first octet in their most significant byte.
namespace kestrelink::device {

std::string DottedText(std::uint32_t value);
// Four decimal parts from 0 to 255, nothing before or after; nullopt for anything else.
std::optional<std::uint32_t> ParseDotted(std::string_view text);

}  // namespace kestrelink::device
