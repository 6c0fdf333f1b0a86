#include "behaviour/device_filter.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "net/device_list.h"
#include "net/latin1_text.h"

namespace kestrelink {
namespace {

// Simple case folding, for the characters that are or fold into Latin-1: cells hold nothing else,
// so no other character of a filter can match.
char32_t Folded(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    switch (c) {
        case 0xB5:   // micro sign
        case 0x39C:  // Greek capital mu
            return 0x3BC;
        case 0x178:
            return 0xFF;
        case 0x17F:  // long s
            return U's';
        case 0x1E9E:
            return 0xDF;
        case 0x212A:  // Kelvin sign
            return U'k';
        case 0x212B:  // Angstrom sign
            return 0xE5;
        default:
            return c;
    }
}

// Each single-byte character of a cell, folded: a cell is read byte by byte against the folded
// filter without forming a folded copy, so that a keystroke on tens of thousands of rows does not
// allocate per cell.
const std::array<char32_t, 256> kFoldedByte = [] {
    std::array<char32_t, 256> folded{};
    for (std::size_t byte = 0; byte < folded.size(); ++byte) {
        folded[byte] = Folded(static_cast<char32_t>(byte));
    }
    return folded;
}();

bool CellContains(const std::string& cell, std::u32string_view wanted) {
    for (std::size_t start = 0; start + wanted.size() <= cell.size(); ++start) {
        std::size_t matched = 0;
        while (matched < wanted.size() &&
               kFoldedByte[static_cast<unsigned char>(cell[start + matched])] == wanted[matched]) {
            ++matched;
        }
        if (matched == wanted.size()) {
            return true;
        }
    }
    return false;
}

}  // namespace

RowFilter::RowFilter(std::string_view filter) : m_wanted(Utf8CodePoints(filter)) {
    std::transform(m_wanted.begin(), m_wanted.end(), m_wanted.begin(), Folded);
}

bool RowFilter::Matches(const DeviceList& list, int row) const {
    if (m_wanted.empty()) {
        return true;
    }
    for (int column = 0; column < kColumnCount; ++column) {
        if (CellContains(list.CellText(row, column), m_wanted)) {
            return true;
        }
    }
    return false;
}

bool RowFilter::Matches(const DeviceRow& cells) const {
    return m_wanted.empty() ||
           std::any_of(cells.begin(), cells.end(),
                       [this](const std::string& cell) { return CellContains(cell, m_wanted); });
}

std::string DeviceCountText(int shown, int total, bool filtering) {
    const std::string devices = total == 1 ? " device" : " devices";
    if (!filtering) {
        return std::to_string(total) + devices;
    }
    return std::to_string(shown) + " of " + std::to_string(total) + devices;
}

}  // namespace kestrelink
