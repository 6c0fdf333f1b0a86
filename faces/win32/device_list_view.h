#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "behaviour/device_filter.h"
#include "behaviour/empty_round.h"
#include "behaviour/repaint_pacer.h"
#include "faces/win32/count_tip.h"
#include "faces/win32/handles.h"
#include "net/device_list.h"

namespace kestrelink {
class ListMarks;
}

namespace kestrelink::win32 {

// The timer of the owner's window that lets a held repaint of the list go; the owner passes its
// WM_TIMER on to ReleaseRepaint.
inline constexpr UINT_PTR kHeldRepaintTimer = 2;

// The device list as a virtual SysListView32 in report view: the rows are the DeviceList's,
// drawn on demand, in its order, less those the filter hides. Single selection, kept in step with
// the list's own; header clicks go to the list, its arrows come back as header bitmaps drawn for
// the monitor's dots per inch in the system's colours; a device heard outside its interface's
// network gets a warning icon, and every row a tip saying where it was heard. The marks of a
// comparison or a watch colour the rows (custom draw), and the devices of a compared list that no
// row shows follow the rows, grey and never taken as the selected row. While rows pour in, the
// list is repainted at the pace of a RepaintPacer.
class DeviceListView final : public DeviceListObserver {
public:
    DeviceListView(HWND listControl, HWND countLabel, DeviceList& list);
    ~DeviceListView() override;
    DeviceListView(const DeviceListView&) = delete;
    DeviceListView& operator=(const DeviceListView&) = delete;

    // Notifications from the list and its header (WM_NOTIFY); true when handled, with result set.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // The filter box's text changed.
    void SetFilter(const std::wstring& text);
    // What the count shows while the list stays empty after a round; nothing once a new one began.
    void SetEmptyRound(std::optional<CountLabel> label);
    // marks must outlive the view, or be taken back with nullptr.
    void SetMarks(const ListMarks* marks);
    void MarksChanged() { Refresh(); }

    // The list's positions that the filter leaves shown, top to bottom.
    const std::vector<int>& ShownRows() const { return m_shown; }
    // In pixels at 96 dots per inch, whatever the monitor's.
    std::vector<int> ColumnWidths() const;
    void SetColumnWidths(const std::vector<int>& widths);
    // The window moved to a monitor of dpi dots per inch.
    void OnDpiChanged(int dpi);
    // WM_SYSCOLORCHANGE came to the window.
    void OnSysColorChange();
    // Where a menu asked for by keyboard opens: below the selected row, or the list's corner.
    POINT MenuPointForKeyboard() const;
    // Selects the row under a right-click at point (screen coordinates); false when none is there.
    bool SelectRowAt(POINT screenPoint);
    // kHeldRepaintTimer came.
    void ReleaseRepaint();

    // DeviceListObserver: every change ends in Refresh.
    void RowAboutToBeInserted(int) override {}
    void RowInserted() override { Refresh(); }
    void RowAboutToBeRemoved(int) override {}
    void RowRemoved() override { Refresh(); }
    void RowsAboutToBeReset() override {}
    void RowsReset() override { Refresh(); }
    void RowsAboutToChange() override {}
    void RowsChanged(std::span<const int>) override { Refresh(); }
    void SortArrowChanged() override { ShowSortArrows(); }

private:
    void MakeImages();
    void MakeArrows();
    void AddColumns();
    void Refresh();
    void Repaint();
    void ShowSelection();
    void TakeUserSelection();
    void ShowSortArrows();
    void ShowCount();
    void FillItem(NMLVDISPINFOW& item);
    void FillTip(NMLVGETINFOTIPW& tip) const;
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
    bool IsOutside(int position) const;
    // The device of a compared list at item, when item is one of those below the rows.
    const DeviceRow* MissingAt(int item) const;

    HWND m_control;
    HWND m_count;
    CountTip m_countTip;
    std::optional<CountLabel> m_emptyRound;
    DeviceList& m_rows;
    RowFilter m_filter;
    std::vector<int> m_shown;
    const ListMarks* m_marks = nullptr;
    std::vector<DeviceRow> m_missing;  // those the filter leaves shown
    int m_missingCount = 0;            // the filter's hidden ones too
    // The text handed out for the last item asked for; the control copies it before asking again.
    std::wstring m_itemText;
    int m_dpi;
    Bitmap m_upArrow;
    Bitmap m_downArrow;
    // Set while the view's selection is made to follow the list's, so that it is not read back.
    bool m_showingSelection = false;
    RepaintPacer m_repaintPacer;
    bool m_repaintHeld = false;
};

}  // namespace kestrelink::win32
