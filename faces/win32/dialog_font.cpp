#include "faces/win32/dialog_font.h"

#include <algorithm>
#include <cmath>

namespace kestrelink::win32 {
namespace {

// As the dialog manager measures a font for its base units.
DialogBase MeasureBase(HWND dialog, HFONT font) {
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const HDC context = GetDC(dialog);
    if (context == nullptr) {
        return {};
    }
    const HGDIOBJ previous = SelectObject(context, font);
    SIZE extent{};
    TEXTMETRICW metrics{};
    const bool measured = GetTextExtentPoint32W(context, kLetters, 52, &extent) != 0 &&
                          GetTextMetricsW(context, &metrics) != 0;
    SelectObject(context, previous);
    ReleaseDC(dialog, context);
    return measured ? DialogBaseOf(extent.cx, metrics.tmHeight) : DialogBase{};
}

BOOL CALLBACK SetFontOf(HWND control, LPARAM font) {
    SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

}  // namespace

void DialogFont::Capture(HWND dialog, int dpi) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (font == nullptr || GetObjectW(font, sizeof(m_template), &m_template) == 0) {
        return;
    }
    m_points =
        std::max(1, static_cast<int>(std::lround(std::abs(m_template.lfHeight) * 72.0 / dpi)));
    m_base = MeasureBase(dialog, font);
}

bool DialogFont::ApplyForDpi(HWND dialog, int dpi) {
    LOGFONTW wanted = m_template;
    wanted.lfHeight = FontHeightForDpi(m_points, dpi);
    wanted.lfWidth = 0;
    Font font(CreateFontIndirectW(&wanted));
    const DialogBase base = font ? MeasureBase(dialog, font.Get()) : DialogBase{};
    if (base.x <= 0 || base.y <= 0) {
        return false;
    }
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    EnumChildWindows(dialog, &SetFontOf, reinterpret_cast<LPARAM>(font.Get()));
    // The controls hold the new font before the old one goes.
    m_font = std::move(font);
    m_base = base;
    return true;
}

}  // namespace kestrelink::win32
