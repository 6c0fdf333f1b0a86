#include "behaviour/device_filter.h"

#include <algorithm>

#include "behaviour/latin1_text.h"
#include "net/device_list.h"

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

std::u32string FoldedText(std::u32string text) {
    std::transform(text.begin(), text.end(), text.begin(), Folded);
    return text;
}

}  // namespace

bool RowMatchesFilter(const DeviceList& list, int row, std::string_view filter) {
    if (filter.empty()) {
        return true;
    }
    const std::u32string wanted = FoldedText(Utf8CodePoints(filter));
    for (int column = 0; column < kColumnCount; ++column) {
        const std::string& cell = list.CellText(row, column);
        const std::u32string folded = FoldedText(
            std::u32string(reinterpret_cast<const unsigned char*>(cell.data()),
                           reinterpret_cast<const unsigned char*>(cell.data()) + cell.size()));
        if (folded.find(wanted) != std::u32string::npos) {
            return true;
        }
    }
    return false;
}

std::string DeviceCountText(int shown, int total, bool filtering) {
    const std::string devices = total == 1 ? " device" : " devices";
    if (!filtering) {
        return std::to_string(total) + devices;
    }
    return std::to_string(shown) + " of " + std::to_string(total) + devices;
}

}  // namespace kestrelink
