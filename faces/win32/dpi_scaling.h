#pragma once

#include <vector>

namespace kestrelink::win32 {

// The arithmetic of the window's sizes at a monitor's dots per inch, apart from the system's
// calls so that it can be checked as it is.

inline constexpr int kBaseDpi = 96;

// A length drawn for 96 dots per inch at dpi, and back, rounded to the nearest pixel.
int ScaledForDpi(int length96, int dpi);
int UnscaledFromDpi(int length, int dpi);

// The height to ask of a font for points at dpi: negative, as a character height.
int FontHeightForDpi(int points, int dpi);

// The pixels of four dialog units across and of eight down: the rounded mean width of the 52
// Latin letters, as the dialog manager measures it, and the font's height.
struct DialogBase {
    int x = 0;
    int y = 0;
};
DialogBase DialogBaseOf(int widthOf52Letters, int fontHeight);

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A rectangle laid out in dialog units under the font of base from, laid out anew under the font
// of base to: each edge on its own, as the dialog manager maps them, so that neighbours keep
// their gaps.
PixelRect RescaledRect(const PixelRect& rect, DialogBase from, DialogBase to);

// Which edges of a control keep their distance to the same edge of the window when it is resized:
// both of a pair stretch the control, one of them moves it, neither leaves it where it is.
struct AnchorEdges {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};

// Where a control placed at atTemplate stands once the window's client area has grown by growX
// and growY pixels.
PixelRect AnchoredRect(const PixelRect& atTemplate, AnchorEdges edges, int growX, int growY);

// One row of a sort arrow's glyph in a square box: the pixels from left up to right, exclusive.
struct GlyphRow {
    int y = 0;
    int left = 0;
    int right = 0;
};

// A header's sort arrow in a box of boxSize pixels: a solid triangle half as high as it is wide,
// about four sevenths of the box across, centred; the apex up or down.
std::vector<GlyphRow> SortArrowGlyph(int boxSize, bool pointsUp);

}  // namespace kestrelink::win32
