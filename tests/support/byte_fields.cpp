#include "tests/support/byte_fields.h"

#include <algorithm>

namespace kestrelink::testing {

void PutBytes(std::vector<std::uint8_t>& datagram, std::size_t offset,
              std::span<const std::uint8_t> field) {
    std::copy(field.begin(), field.end(), datagram.begin() + static_cast<std::ptrdiff_t>(offset));
}

void PutText(std::vector<std::uint8_t>& datagram, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), datagram.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace kestrelink::testing
