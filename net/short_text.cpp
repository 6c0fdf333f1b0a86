#include "net/short_text.h"

#include <algorithm>

namespace kestrelink {

void ShortText::Assign(std::string_view text) {
    m_size = std::min(text.size(), kCapacity);
    std::copy_n(text.data(), m_size, m_bytes.data());
    m_bytes[m_size] = '\0';
}

}  // namespace kestrelink
