#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Lays fields into a datagram at explicit offsets, for tests that spell out the bytes they expect
// or send, independently of the code under test. A field must fit in the datagram.
namespace kestrelink::testing {

void PutBytes(std::vector<std::uint8_t>& datagram, std::size_t offset,
              std::span<const std::uint8_t> field);
// The text's characters only; no NUL is added.
void PutText(std::vector<std::uint8_t>& datagram, std::size_t offset, std::string_view text);

}  // namespace kestrelink::testing
