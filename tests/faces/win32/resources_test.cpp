// The program's resources as the system loads them: the dialogs built from res/dialogs, and the
// header's sort arrows as the build draws them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/support/sort_arrow_rows.h"

namespace kestrelink {
namespace {

struct ControlCase {
    int templateId;
    int controlId;
    const wchar_t* className;
    const wchar_t* text;  // a blank address field reads as 0.0.0.0
    DWORD styles;         // that must be set
};

void PrintTo(const ControlCase& c, std::ostream* os) {
    *os << c.templateId << '/' << c.controlId;
}

INT_PTR CALLBACK InertDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class DialogControlTest : public ::testing::TestWithParam<ControlCase> {};

TEST_P(DialogControlTest, IsBuiltAsTheLayoutSays) {
    const ControlCase& c = GetParam();
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.templateId),
                                     nullptr, &InertDialog, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    const HWND control = GetDlgItem(dialog, c.controlId);
    ASSERT_NE(control, nullptr);
    wchar_t className[64] = {};
    GetClassNameW(control, className, 64);
    wchar_t text[64] = {};
    GetWindowTextW(control, text, 64);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    DestroyWindow(dialog);

    EXPECT_EQ(lstrcmpiW(className, c.className), 0) << className;
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(style & c.styles, c.styles) << std::hex << style;
}

INSTANTIATE_TEST_SUITE_P(
    Resources, DialogControlTest,
    ::testing::Values(ControlCase{102, 1002, L"SysListView32", L"",
                                  WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS},
                      ControlCase{102, 1001, L"Button", L"Discover", WS_TABSTOP},
                      ControlCase{102, 1003, L"Button", L"Cfg IP", WS_TABSTOP},
                      ControlCase{102, 1000, L"Button", L"Web", WS_TABSTOP},
                      ControlCase{102, 1, L"Button", L"Close", WS_TABSTOP | BS_DEFPUSHBUTTON},
                      ControlCase{102, 1011, L"Button", L"Force IE only",
                                  WS_TABSTOP | BS_AUTOCHECKBOX},
                      ControlCase{102, 1012, L"Edit", L"", WS_TABSTOP},
                      ControlCase{129, 1011, L"Edit", L"", WS_TABSTOP},
                      ControlCase{129, 1005, L"Button", L"Use DHCP", WS_TABSTOP | BS_AUTOCHECKBOX},
                      ControlCase{129, 1003, L"SysIPAddress32", L"0.0.0.0", WS_TABSTOP},
                      ControlCase{129, 1004, L"SysIPAddress32", L"0.0.0.0", WS_TABSTOP},
                      ControlCase{129, 1006, L"SysIPAddress32", L"0.0.0.0", WS_TABSTOP},
                      ControlCase{129, 1009, L"SysIPAddress32", L"0.0.0.0", WS_TABSTOP},
                      ControlCase{129, 1007, L"Edit", L"", WS_TABSTOP | ES_PASSWORD},
                      ControlCase{129, 2, L"Button", L"Cancel", WS_TABSTOP},
                      ControlCase{129, 1, L"Button", L"Send", WS_TABSTOP | BS_DEFPUSHBUTTON}));

TEST(DialogTabOrderTest, TheIpDialogTabsFromHostNameToSend) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(129), nullptr,
                                     &InertDialog, 0);
    ASSERT_NE(dialog, nullptr);
    std::vector<int> order;
    HWND control = GetDlgItem(dialog, 1011);
    for (int step = 0; step < 9 && control != nullptr; ++step) {
        order.push_back(GetDlgCtrlID(control));
        control = GetNextDlgTabItem(dialog, control, FALSE);
    }
    DestroyWindow(dialog);

    EXPECT_EQ(order, (std::vector<int>{1011, 1005, 1003, 1004, 1006, 1009, 1007, 2, 1}));
}

struct ArrowCase {
    int id;
    const testing::ArrowRows* rows;
};

void PrintTo(const ArrowCase& c, std::ostream* os) {
    *os << c.id;
}

class SortArrowBitmapTest : public ::testing::TestWithParam<ArrowCase> {};

// Loaded as the header loads it, the arrow is drawn in the system's button face and 3D shadow.
TEST_P(SortArrowBitmapTest, ShowsTheArrowInTheSystemsColours) {
    const ArrowCase& c = GetParam();
    const auto bitmap = static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    ASSERT_NE(bitmap, nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 14;
    info.bmiHeader.biHeight = -14;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(14 * 14);
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, 14, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    ASSERT_EQ(rows, 14);

    const auto asPixel = [](COLORREF colour) {
        return static_cast<DWORD>(GetRValue(colour) << 16 | GetGValue(colour) << 8 |
                                  GetBValue(colour));
    };
    for (std::size_t y = 0; y < 14; ++y) {
        for (std::size_t x = 0; x < 14; ++x) {
            const char pixel = (*c.rows)[y][x];
            const DWORD expected = pixel == 'd'   ? asPixel(GetSysColor(COLOR_3DSHADOW))
                                   : pixel == 'w' ? 0xFFFFFFu
                                                  : asPixel(GetSysColor(COLOR_3DFACE));
            EXPECT_EQ(pixels[y * 14 + x] & 0xFFFFFFu, expected) << "pixel " << x << ',' << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, SortArrowBitmapTest,
                         ::testing::Values(ArrowCase{133, &testing::kArrowUpRows},
                                           ArrowCase{134, &testing::kArrowDownRows}));

}  // namespace
}  // namespace kestrelink
