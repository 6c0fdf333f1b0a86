#include "faces/win32/device_list_view.h"

#include <commctrl.h>

#include <algorithm>

#include "behaviour/device_columns.h"
#include "behaviour/device_filter.h"
#include "behaviour/heard_on_text.h"
#include "behaviour/list_marks.h"
#include "faces/win32/dpi_scaling.h"
#include "faces/win32/header_arrow.h"
#include "faces/win32/monitor_dpi.h"
#include "faces/win32/wide_text.h"
#include "net/subnet.h"

namespace kestrelink::win32 {
namespace {

constexpr int kWarningImage = 0;

}  // namespace

DeviceListView::DeviceListView(HWND listControl, HWND countLabel, DeviceList& list)
    : m_control(listControl),
      m_count(countLabel),
      m_countTip(countLabel),
      m_rows(list),
      m_dpi(WindowDpi(listControl)),
      m_upArrow(DrawHeaderArrow(m_dpi, true)),
      m_downArrow(DrawHeaderArrow(m_dpi, false)) {
    ListView_SetExtendedListViewStyle(m_control,
                                      LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
    MakeImages();
    AddColumns();
    m_rows.SetObserver(this);
    Refresh();
}

DeviceListView::~DeviceListView() {
    m_rows.SetObserver(nullptr);
}

void DeviceListView::MakeImages() {
    const int iconSize = SystemMetricForDpi(SM_CXSMICON, m_dpi);
    const HIMAGELIST images = ImageList_Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, 1, 0);
    if (images == nullptr) {
        return;
    }
    if (const Icon warning = LoadIconSized(nullptr, IDI_WARNING, iconSize)) {
        ImageList_AddIcon(images, warning.Get());
    }
    // The list control destroys the image list it holds with itself, but not one it is given
    // another for.
    if (const HIMAGELIST previous = ListView_SetImageList(m_control, images, LVSIL_SMALL)) {
        ImageList_Destroy(previous);
    }
}

void DeviceListView::MakeArrows() {
    Bitmap up = DrawHeaderArrow(m_dpi, true);
    Bitmap down = DrawHeaderArrow(m_dpi, false);
    std::swap(m_upArrow, up);
    std::swap(m_downArrow, down);
    // The header lets go of the old arrows before they are deleted.
    ShowSortArrows();
}

void DeviceListView::AddColumns() {
    for (int index = 0; index < kColumnCount; ++index) {
        std::wstring header = Utf8ToWide(kDeviceListColumns[index].header);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = ScaledForDpi(kDeviceListColumns[index].width, m_dpi);
        column.pszText = header.data();
        column.iSubItem = index;
        ListView_InsertColumn(m_control, index, &column);
    }
}

std::vector<int> DeviceListView::ColumnWidths() const {
    std::vector<int> widths;
    for (int column = 0; column < kColumnCount; ++column) {
        widths.push_back(UnscaledFromDpi(ListView_GetColumnWidth(m_control, column), m_dpi));
    }
    return widths;
}

void DeviceListView::SetColumnWidths(const std::vector<int>& widths) {
    for (int column = 0; column < static_cast<int>(widths.size()) && column < kColumnCount;
         ++column) {
        ListView_SetColumnWidth(m_control, column, ScaledForDpi(widths[column], m_dpi));
    }
}

void DeviceListView::OnDpiChanged(int dpi) {
    const std::vector<int> widths = ColumnWidths();
    m_dpi = dpi;
    SetColumnWidths(widths);
    MakeImages();
    MakeArrows();
}

void DeviceListView::OnSysColorChange() {
    // Common controls take the system's colours only when told, by the window that holds them.
    SendMessageW(m_control, WM_SYSCOLORCHANGE, 0, 0);
    MakeArrows();
}

void DeviceListView::SetFilter(const std::wstring& text) {
    m_filter = RowFilter(WideToUtf8(text));
    Refresh();
}

void DeviceListView::SetMarks(const ListMarks* marks) {
    m_marks = marks;
    Refresh();
}

void DeviceListView::Refresh() {
    m_shown.clear();
    for (int position = 0; position < m_rows.RowCount(); ++position) {
        if (m_filter.Matches(m_rows, position)) {
            m_shown.push_back(position);
        }
    }
    m_missing.clear();
    m_missingCount = 0;
    if (m_marks != nullptr) {
        std::vector<DeviceRow> missingRows = m_marks->Missing(m_rows);
        m_missingCount = static_cast<int>(missingRows.size());
        for (DeviceRow& missing : missingRows) {
            if (m_filter.Matches(missing)) {
                m_missing.push_back(std::move(missing));
            }
        }
    }
    // A selected row the filter hides is no longer selected: no action may reach an unseen row.
    const int selected = m_rows.SelectedRow();
    if (selected != -1 && !std::binary_search(m_shown.begin(), m_shown.end(), selected)) {
        m_rows.SelectRow(-1);
    }
    ListView_SetItemCountEx(m_control, static_cast<int>(m_shown.size() + m_missing.size()),
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    ShowSelection();
    Repaint();
    ShowCount();
}

void DeviceListView::Repaint() {
    if (m_repaintHeld) {
        return;
    }
    const auto hold = m_repaintPacer.HoldFor(RepaintPacer::Clock::now());
    if (hold.count() > 0) {
        m_repaintHeld = SetTimer(GetParent(m_control), kHeldRepaintTimer,
                                 static_cast<UINT>(hold.count()), nullptr) != 0;
    }
    if (!m_repaintHeld) {
        InvalidateRect(m_control, nullptr, FALSE);
    }
}

void DeviceListView::ReleaseRepaint() {
    KillTimer(GetParent(m_control), kHeldRepaintTimer);
    m_repaintHeld = false;
    m_repaintPacer.Released(RepaintPacer::Clock::now());
    InvalidateRect(m_control, nullptr, FALSE);
}

void DeviceListView::ShowSelection() {
    m_showingSelection = true;
    ListView_SetItemState(m_control, -1, 0, LVIS_SELECTED);
    const int selected = m_rows.SelectedRow();
    const auto shown = std::lower_bound(m_shown.begin(), m_shown.end(), selected);
    if (selected != -1 && shown != m_shown.end() && *shown == selected) {
        const int item = static_cast<int>(shown - m_shown.begin());
        ListView_SetItemState(m_control, item, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    m_showingSelection = false;
}

void DeviceListView::TakeUserSelection() {
    if (m_showingSelection) {
        return;
    }
    const int item = ListView_GetNextItem(m_control, -1, LVNI_SELECTED);
    m_rows.SelectRow(item >= 0 && item < static_cast<int>(m_shown.size()) ? m_shown[item] : -1);
    if (MissingAt(item) != nullptr) {
        // Nothing acts on a device that is not heard: its item does not stay selected.
        ShowSelection();
    }
}

const DeviceRow* DeviceListView::MissingAt(int item) const {
    const auto below = static_cast<std::size_t>(item) - m_shown.size();
    return item >= static_cast<int>(m_shown.size()) && below < m_missing.size() ? &m_missing[below]
                                                                                : nullptr;
}

void DeviceListView::ShowCount() {
    CountLabel label = DeviceCountLabel(static_cast<int>(m_shown.size()), m_rows.RowCount(),
                                        !m_filter.Empty(), m_emptyRound);
    if (m_marks != nullptr) {
        label.text += m_marks->CountAddition(m_rows, m_missingCount);
    }
    SetWindowTextW(m_count, Utf8ToWide(label.text).c_str());
    m_countTip.SetText(Utf8ToWide(label.tooltip));
}

void DeviceListView::SetEmptyRound(std::optional<CountLabel> label) {
    m_emptyRound = std::move(label);
    ShowCount();
}

void DeviceListView::ShowSortArrows() {
    const HWND header = ListView_GetHeader(m_control);
    for (int column = 0; column < Header_GetItemCount(header); ++column) {
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        if (Header_GetItem(header, column, &item) == FALSE) {
            continue;
        }
        const HeaderArrow arrow = m_rows.ArrowOn(column);
        const HBITMAP bitmap = arrow == HeaderArrow::Up     ? m_upArrow.Get()
                               : arrow == HeaderArrow::Down ? m_downArrow.Get()
                                                            : nullptr;
        if (bitmap != nullptr) {
            item.mask |= HDI_BITMAP;
            item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
            item.hbm = bitmap;
        } else {
            item.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
        }
        Header_SetItem(header, column, &item);
    }
}

bool DeviceListView::IsOutside(int position) const {
    const NetworkInterface* heardOn = m_rows.HeardOn(position);
    return heardOn != nullptr && IsOutsideNetwork(m_rows.CellText(position, kColumnIp), *heardOn);
}

void DeviceListView::FillItem(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (item.iSubItem < 0 || item.iSubItem >= kColumnCount) {
        return;
    }
    if (const DeviceRow* missing = MissingAt(item.iItem)) {
        if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
            m_itemText = Latin1ToWide((*missing)[static_cast<std::size_t>(item.iSubItem)]);
            const std::size_t length =
                std::min(m_itemText.size(), static_cast<std::size_t>(item.cchTextMax - 1));
            m_itemText.copy(item.pszText, length);
            item.pszText[length] = L'\0';
        }
        if ((item.mask & LVIF_IMAGE) != 0) {
            item.iImage = I_IMAGENONE;
        }
        return;
    }
    if (item.iItem < 0 || item.iItem >= static_cast<int>(m_shown.size())) {
        return;
    }
    const int position = m_shown[item.iItem];
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        m_itemText = Latin1ToWide(m_rows.CellText(position, item.iSubItem));
        const std::size_t length =
            std::min(m_itemText.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        m_itemText.copy(item.pszText, length);
        item.pszText[length] = L'\0';
    }
    if ((item.mask & LVIF_IMAGE) != 0) {
        item.iImage =
            item.iSubItem == kColumnIp && IsOutside(position) ? kWarningImage : I_IMAGENONE;
    }
}

void DeviceListView::FillTip(NMLVGETINFOTIPW& tip) const {
    if (tip.pszText == nullptr || tip.cchTextMax <= 0) {
        return;
    }
    std::string lines;
    if (MissingAt(tip.iItem) != nullptr) {
        lines = kMissingTip;
    } else if (tip.iItem >= 0 && tip.iItem < static_cast<int>(m_shown.size())) {
        const int position = m_shown[tip.iItem];
        if (const NetworkInterface* heardOn = m_rows.HeardOn(position)) {
            lines = HeardOnText(m_rows.CellText(position, kColumnIp), *heardOn);
        }
        if (m_marks != nullptr) {
            if (const std::string marked = m_marks->TipOf(m_rows, position); !marked.empty()) {
                lines += (lines.empty() ? "" : "\r\n") + marked;
            }
        }
    }
    if (lines.empty()) {
        return;
    }
    std::wstring text = Utf8ToWide(lines);
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(tip.cchTextMax - 1));
    text.copy(tip.pszText, length);
    tip.pszText[length] = L'\0';
}

bool DeviceListView::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom == ListView_GetHeader(m_control) &&
        (header.code == HDN_ITEMCLICKW || header.code == HDN_ITEMCLICKA)) {
        const auto& click = reinterpret_cast<const NMHEADERW&>(header);
        m_rows.OnHeaderClick(click.iItem);
        result = 0;
        return true;
    }
    if (header.hwndFrom != m_control) {
        return false;
    }
    switch (header.code) {
        case LVN_GETDISPINFOW:
            FillItem(const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)));
            return true;
        case LVN_GETINFOTIPW:
            FillTip(const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header)));
            return true;
        case LVN_ITEMCHANGED:
            TakeUserSelection();
            return true;
        case NM_CUSTOMDRAW:
            result = CustomDraw(
                const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
            return true;
        default:
            return false;
    }
}

LRESULT DeviceListView::CustomDraw(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        return m_marks != nullptr ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    }
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || m_marks == nullptr) {
        return CDRF_DODEFAULT;
    }
    const int item = static_cast<int>(draw.nmcd.dwItemSpec);
    if (MissingAt(item) != nullptr) {
        draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        return CDRF_NEWFONT;
    }
    if (item < 0 || item >= static_cast<int>(m_shown.size())) {
        return CDRF_DODEFAULT;
    }
    const RowMark mark = m_marks->MarkOf(m_rows, m_shown[item]);
    if (mark == RowMark::Quiet) {
        draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        return CDRF_NEWFONT;
    }
    if (const std::optional<MarkColour> colour = MarkBackground(mark)) {
        draw.clrTextBk = RGB(colour->red, colour->green, colour->blue);
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

POINT DeviceListView::MenuPointForKeyboard() const {
    POINT point{0, 0};
    const int item = ListView_GetNextItem(m_control, -1, LVNI_SELECTED);
    RECT row{};
    if (item != -1) {
        ListView_EnsureVisible(m_control, item, FALSE);
        if (ListView_GetItemRect(m_control, item, &row, LVIR_BOUNDS) != FALSE) {
            point = {row.left, row.bottom};
        }
    }
    ClientToScreen(m_control, &point);
    return point;
}

bool DeviceListView::SelectRowAt(POINT screenPoint) {
    LVHITTESTINFO hit = {};
    hit.pt = screenPoint;
    ScreenToClient(m_control, &hit.pt);
    const int item = ListView_HitTest(m_control, &hit);
    if (item < 0 || item >= static_cast<int>(m_shown.size())) {
        return false;
    }
    m_rows.SelectRow(m_shown[item]);
    ShowSelection();
    return true;
}

}  // namespace kestrelink::win32
