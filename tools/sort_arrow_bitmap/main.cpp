// Writes one of the header's sort arrows as the Windows face's resource script takes it: a 4-bit
// bitmap in the 16-colour palette, whose light grey ground and dark grey shadow the system turns
// into the button face and the 3D shadow when it loads the bitmap with LR_LOADMAP3DCOLORS.
//
//   sort_arrow_bitmap <bitmap id> <file.bmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "behaviour/sort_arrow_pattern.h"

namespace {

using namespace kestrelink;

constexpr std::uint8_t kSilver = 7;
constexpr std::uint8_t kGrey = 8;
constexpr std::uint8_t kWhite = 15;
// Blue, green, red, unused: the system's 16 colours in their usual order.
constexpr std::uint8_t kPalette[16][4] = {
    {0x00, 0x00, 0x00, 0}, {0x00, 0x00, 0x80, 0}, {0x00, 0x80, 0x00, 0}, {0x00, 0x80, 0x80, 0},
    {0x80, 0x00, 0x00, 0}, {0x80, 0x00, 0x80, 0}, {0x80, 0x80, 0x00, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0x80, 0x80, 0x80, 0}, {0x00, 0x00, 0xFF, 0}, {0x00, 0xFF, 0x00, 0}, {0x00, 0xFF, 0xFF, 0},
    {0xFF, 0x00, 0x00, 0}, {0xFF, 0x00, 0xFF, 0}, {0xFF, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0xFF, 0},
};
// 2835 pixels a metre: 72 a inch.
constexpr std::uint32_t kPixelsPerMetre = 2835;

void Put16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

std::uint8_t ColourOf(ArrowShade shade) {
    switch (shade) {
        case ArrowShade::Shadow:
            return kGrey;
        case ArrowShade::Light:
            return kWhite;
        case ArrowShade::Ground:
            break;
    }
    return kSilver;
}

std::vector<std::uint8_t> Bitmap(const ArrowPattern& pattern) {
    // Two pixels a byte, each row padded to whole 32-bit words.
    constexpr std::uint32_t rowBytes = (kSortArrowSize * 4 + 31) / 32 * 4;
    constexpr std::uint32_t pixelBytes = rowBytes * kSortArrowSize;
    constexpr std::uint32_t fileHeader = 14;
    constexpr std::uint32_t infoHeader = 40;
    constexpr std::uint32_t pixelsAt = fileHeader + infoHeader + sizeof(kPalette);

    std::vector<std::uint8_t> bytes = {'B', 'M'};
    Put32(bytes, pixelsAt + pixelBytes);
    Put32(bytes, 0);
    Put32(bytes, pixelsAt);

    Put32(bytes, infoHeader);
    Put32(bytes, kSortArrowSize);
    Put32(bytes, kSortArrowSize);  // positive: the bottom row first
    Put16(bytes, 1);
    Put16(bytes, 4);
    Put32(bytes, 0);  // BI_RGB
    Put32(bytes, pixelBytes);
    Put32(bytes, kPixelsPerMetre);
    Put32(bytes, kPixelsPerMetre);
    Put32(bytes, 16);
    Put32(bytes, 0);
    for (const auto& entry : kPalette) {
        bytes.insert(bytes.end(), std::begin(entry), std::end(entry));
    }

    for (int y = kSortArrowSize - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (int x = 0; x < kSortArrowSize; ++x) {
            const std::uint8_t colour = ColourOf(pattern[std::size_t(y)][std::size_t(x)]);
            row[std::size_t(x / 2)] |= x % 2 == 0 ? colour << 4 : colour;
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sort_arrow_bitmap <bitmap id> <file.bmp>\n");
        return 2;
    }
    const std::optional<ArrowPattern> pattern = SortArrowPattern(std::atoi(argv[1]));
    if (!pattern) {
        std::fprintf(stderr, "sort_arrow_bitmap: %s is not a sort arrow's bitmap\n", argv[1]);
        return 2;
    }
    const std::vector<std::uint8_t> bytes = Bitmap(*pattern);
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "sort_arrow_bitmap: %s could not be written\n", argv[2]);
        return 1;
    }
    return 0;
}
