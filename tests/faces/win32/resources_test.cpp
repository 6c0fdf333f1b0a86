// The program's resources as the system loads them: the dialogs built from res/dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

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

}  // namespace
}  // namespace kestrelink
