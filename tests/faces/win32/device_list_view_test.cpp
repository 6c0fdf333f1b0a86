#include "faces/win32/device_list_view.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "behaviour/control_ids.h"

namespace kestrelink::win32 {
namespace {

using namespace main_window;

DeviceListView* g_view = nullptr;

// The main window's notifications go to the view, as the main window passes them on.
INT_PTR CALLBACK ForwardingDialog(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY || g_view == nullptr) {
        return FALSE;
    }
    LRESULT result = 0;
    if (!g_view->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
        return FALSE;
    }
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

class DeviceListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        m_dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTemplateId),
                                      nullptr, &ForwardingDialog, 0);
        ASSERT_NE(m_dialog, nullptr);
        m_control = GetDlgItem(m_dialog, kListId);
        m_view = std::make_unique<DeviceListView>(m_control, GetDlgItem(m_dialog, kDeviceCountId),
                                                  m_list);
        g_view = m_view.get();
        Insert("10.0.0.3", "02:00:00:00:00:03", "Gate");
        Insert("10.0.0.1", "02:00:00:00:00:01", "Pump");
        Insert("10.0.0.2", "02:00:00:00:00:02", "Pump house");
    }
    void TearDown() override {
        g_view = nullptr;
        m_view.reset();
        DestroyWindow(m_dialog);
    }

    void Insert(const char* ip, const char* mac, const char* givenName) {
        m_list.InsertRow({ip, mac, "Product", givenName, "1.0", "7", "08bits"});
    }
    std::wstring ShownText(int item, int column) const {
        wchar_t text[64] = {};
        ListView_GetItemText(m_control, item, column, text, 64);
        return text;
    }
    std::wstring CountText() const {
        wchar_t text[64] = {};
        GetDlgItemTextW(m_dialog, kDeviceCountId, text, 64);
        return text;
    }
    int HeaderFormat(int column) const {
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        Header_GetItem(ListView_GetHeader(m_control), column, &item);
        return item.fmt & (HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    }

    DeviceList m_list;
    HWND m_dialog = nullptr;
    HWND m_control = nullptr;
    std::unique_ptr<DeviceListView> m_view;
};

TEST_F(DeviceListViewTest, ShowsTheListsRowsInItsOrder) {
    ASSERT_EQ(ListView_GetItemCount(m_control), 3);
    EXPECT_EQ(ShownText(0, kColumnIp), L"10.0.0.2");
    EXPECT_EQ(ShownText(2, kColumnGivenName), L"Gate");
    EXPECT_EQ(CountText(), L"3 devices");
}

TEST_F(DeviceListViewTest, TheFilterLeavesOnlyMatchingRowsAndCountsThem) {
    m_view->SetFilter(L"PUMP");

    ASSERT_EQ(ListView_GetItemCount(m_control), 2);
    EXPECT_EQ(ShownText(0, kColumnGivenName), L"Pump house");
    EXPECT_EQ(ShownText(1, kColumnGivenName), L"Pump");
    EXPECT_EQ(m_view->ShownRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(CountText(), L"2 of 3 devices");
}

TEST_F(DeviceListViewTest, ASelectionInTheViewIsTheListsAndFollowsItsRow) {
    ListView_SetItemState(m_control, 1, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(m_list.SelectedRow(), 1);

    Insert("10.0.0.4", "02:00:00:00:00:04", "Tower");  // on top: the selected row moves down

    EXPECT_EQ(m_list.SelectedRow(), 2);
    EXPECT_EQ(ListView_GetNextItem(m_control, -1, LVNI_SELECTED), 2);
}

TEST_F(DeviceListViewTest, ARowTheFilterHidesIsNoLongerSelected) {
    ListView_SetItemState(m_control, 2, LVIS_SELECTED, LVIS_SELECTED);  // Gate

    m_view->SetFilter(L"pump");

    EXPECT_EQ(m_list.SelectedRow(), -1);
    EXPECT_EQ(ListView_GetNextItem(m_control, -1, LVNI_SELECTED), -1);
}

TEST_F(DeviceListViewTest, TheArrowStandsOnTheSortedColumnAlone) {
    m_list.OnHeaderClick(kColumnIp);
    m_list.OnHeaderClick(kColumnMac);

    EXPECT_EQ(HeaderFormat(kColumnIp), 0);
    EXPECT_EQ(HeaderFormat(kColumnMac), HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    EXPECT_EQ(ShownText(0, kColumnMac), L"02:00:00:00:00:01");
}

}  // namespace
}  // namespace kestrelink::win32
