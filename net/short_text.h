#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kestrelink {

// A text of at most 31 characters kept in place, so that forming the cells of one
// announcement never touches the heap.
class ShortText final {
public:
    static constexpr std::size_t kCapacity = 31;

    ShortText() = default;
    explicit ShortText(std::string_view text) { Assign(text); }

    // Keeps the first kCapacity characters of a longer text.
    void Assign(std::string_view text);
    std::string_view View() const { return {m_bytes.data(), m_size}; }
    // The same characters ended by a NUL, for C interfaces such as printf.
    const char* CString() const { return m_bytes.data(); }

private:
    std::array<char, kCapacity + 1> m_bytes{};
    std::size_t m_size = 0;
};

}  // namespace kestrelink
