#include "faces/win32/several_devices_dialog.h"

#include <commctrl.h>

#include <vector>

#include "behaviour/control_ids.h"
#include "behaviour/help_request.h"
#include "behaviour/several_devices_dialog.h"
#include "behaviour/several_devices_opening.h"
#include "behaviour/several_devices_table.h"
#include "faces/win32/clipboard.h"
#include "faces/win32/dialog_anchors.h"
#include "faces/win32/file_replace.h"
#include "faces/win32/help_page.h"
#include "faces/win32/message_boxes.h"
#include "faces/win32/save_dialog.h"
#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {
namespace {

using namespace several_devices;

// Wide enough for a MAC, an address and the usual names, in pixels at 96 dpi.
constexpr int kColumnWidths[kSeveralColumnCount] = {150, 60, 100, 50, 90, 90, 90, 140, 220};

int AddressId(SeveralAddressField field) {
    switch (field) {
        case SeveralAddressField::Start:
            return kStartId;
        case SeveralAddressField::Mask:
            return kMaskId;
        case SeveralAddressField::Gateway:
            return kGatewayId;
        case SeveralAddressField::DnsServer:
            return kDnsServerId;
    }
    return kStartId;
}

int TextId(SeveralTextField field) {
    switch (field) {
        case SeveralTextField::Step:
            return kStepId;
        case SeveralTextField::NamePattern:
            return kNamePatternId;
        case SeveralTextField::Password:
            return kPasswordId;
    }
    return kStepId;
}

bool ChangesFields(int id, int code) {
    return (id == kStartId || id == kStepId || id == kMaskId || id == kGatewayId ||
            id == kDnsServerId || id == kNamePatternId || id == kPasswordId) &&
           code == EN_CHANGE;
}

void SetCell(HWND list, int row, int column, std::string_view text) {
    std::wstring wide = Utf8ToWide(text);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

SeveralDevicesWindow::SeveralDevicesWindow(HWND owner, SeveralDevicesOpening& opening)
    : m_owner(owner),
      m_rules(std::make_unique<SeveralDevicesDialog>(*this, m_boxes, opening.sender, opening.wait,
                                                     std::move(opening.shown),
                                                     std::move(opening.listed))) {}

SeveralDevicesWindow::~SeveralDevicesWindow() = default;

void SeveralDevicesWindow::Run() {
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTemplateId), m_owner,
                        &SeveralDevicesWindow::Procedure, reinterpret_cast<LPARAM>(this));
    if (result == -1) {
        ShowAppMessage(m_owner, "The Configure Several Devices dialog could not be opened.");
    }
}

INT_PTR CALLBACK SeveralDevicesWindow::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<SeveralDevicesWindow*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<SeveralDevicesWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR SeveralDevicesWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            m_scaling.Capture(m_dialog, kTemplateId, kControlAnchors);
            InitTable();
            ShowRunning(false);
            m_rules->Attach();
            // The focus was set where the rules want it.
            return FALSE;
        case WM_SIZE:
            m_scaling.Apply(LOWORD(lParam), HIWORD(lParam));
            return TRUE;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {
                m_scaling.MinimumTrackSize().cx, m_scaling.MinimumTrackSize().cy};
            return TRUE;
        case WM_DPICHANGED:
            m_scaling.OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam), true);
            return TRUE;
        case WM_NOTIFY:
            return Notify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (ChangesFields(id, code)) {
                if (!m_filling) {
                    m_rules->OnFieldsChanged();
                }
                return TRUE;
            }
            switch (id) {
                case kSendId:
                    m_rules->OnSend();
                    return TRUE;
                case kCloseId:
                    if (m_rules->OnClose()) {
                        EndDialog(m_dialog, IDCANCEL);
                    }
                    return TRUE;
                case kStopId:
                    m_rules->OnStop();
                    return TRUE;
                case kOpenPlanId:
                    m_rules->OnOpenPlan();
                    return TRUE;
                case kSavePlanId:
                    m_rules->OnSavePlan();
                    return TRUE;
                case kSaveRecordId:
                    m_rules->OnSaveRecord();
                    return TRUE;
                case kUseDhcpId:
                    if (code == BN_CLICKED) {
                        m_rules->OnUseDhcpClicked();
                    }
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        case WM_HELP:
            if (!HelpModifierHeld()) {
                ShowHelp(m_boxes, HelpContextOf(kTemplateId));
            }
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR SeveralDevicesWindow::Notify(const NMHDR& header) {
    if (header.idFrom != static_cast<UINT_PTR>(kTableId)) {
        return FALSE;
    }
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (!m_filling && change.iItem >= 0 && (change.uChanged & LVIF_STATE) != 0 &&
                ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0) {
                m_rules->OnChecked(static_cast<std::size_t>(change.iItem),
                                   ListView_GetCheckState(Control(kTableId), change.iItem) != 0);
            }
            return TRUE;
        }
        case LVN_COLUMNCLICK:
            m_rules->OnHeaderClicked(
                static_cast<SeveralColumn>(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem));
            return TRUE;
        case LVN_KEYDOWN: {
            const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
            if ((GetKeyState(VK_CONTROL) & 0x8000) == 0) {
                return FALSE;
            }
            if (key.wVKey == 'A') {
                ListView_SetItemState(Control(kTableId), -1, LVIS_SELECTED, LVIS_SELECTED);
            } else if (key.wVKey == 'C') {
                CopySelected();
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void SeveralDevicesWindow::InitTable() {
    const HWND list = Control(kTableId);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (std::size_t column = 0; column < kSeveralColumnCount; ++column) {
        std::wstring header = Utf8ToWide(kSeveralColumnHeaders[column]);
        LVCOLUMNW entry = {};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        entry.pszText = header.data();
        entry.cx = kColumnWidths[column];
        entry.iSubItem = static_cast<int>(column);
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
    }
}

void SeveralDevicesWindow::CopySelected() {
    const HWND list = Control(kTableId);
    std::vector<std::size_t> rows;
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row != -1;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
        rows.push_back(static_cast<std::size_t>(row));
    }
    m_rules->OnCopy(rows);
}

std::optional<std::uint32_t> SeveralDevicesWindow::Address(SeveralAddressField field) const {
    const HWND edit = Control(AddressId(field));
    if (SendMessageW(edit, IPM_ISBLANK, 0, 0) != 0) {
        return std::nullopt;
    }
    DWORD address = 0;
    SendMessageW(edit, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return address;
}

std::string SeveralDevicesWindow::Text(SeveralTextField field) const {
    return WindowTextUtf8(Control(TextId(field)));
}

void SeveralDevicesWindow::SetText(SeveralTextField field, std::string_view text) {
    m_filling = true;
    SetWindowTextW(Control(TextId(field)), Utf8ToWide(text).c_str());
    m_filling = false;
}

bool SeveralDevicesWindow::UseDhcp() const {
    return IsDlgButtonChecked(m_dialog, kUseDhcpId) == BST_CHECKED;
}

void SeveralDevicesWindow::EnableAddresses(bool enabled) {
    for (const int id : {kStartId, kStepId, kMaskId, kGatewayId, kDnsServerId}) {
        EnableWindow(Control(id), enabled ? TRUE : FALSE);
    }
}

void SeveralDevicesWindow::FocusAddress(SeveralAddressField field) {
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(AddressId(field))),
                 TRUE);
}

void SeveralDevicesWindow::FocusText(SeveralTextField field) {
    const HWND edit = Control(TextId(field));
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void SeveralDevicesWindow::ShowRows(const SeveralDevicesTable& table) {
    const HWND list = Control(kTableId);
    m_filling = true;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const std::span<const SeveralRow> rows = table.Rows();
    if (static_cast<std::size_t>(ListView_GetItemCount(list)) != rows.size()) {
        ListView_DeleteAllItems(list);
        for (std::size_t row = 0; row < rows.size(); ++row) {
            LVITEMW item = {};
            item.iItem = static_cast<int>(row);
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < kSeveralColumnCount; ++column) {
            SetCell(list, static_cast<int>(row), static_cast<int>(column),
                    table.Cell(row, static_cast<SeveralColumn>(column)));
        }
        ListView_SetCheckState(list, static_cast<int>(row), rows[row].checked ? TRUE : FALSE);
    }
    const HWND header = ListView_GetHeader(list);
    for (std::size_t column = 0; column < kSeveralColumnCount; ++column) {
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (table.SortColumn() && static_cast<std::size_t>(*table.SortColumn()) == column) {
            item.fmt |= table.SortAscending() ? HDF_SORTUP : HDF_SORTDOWN;
        }
        SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    m_filling = false;
}

void SeveralDevicesWindow::ShowStatus(std::size_t row, std::string_view status) {
    SetCell(Control(kTableId), static_cast<int>(row), static_cast<int>(SeveralColumn::Status),
            status);
}

void SeveralDevicesWindow::ShowSummary(std::string_view summary) {
    SetWindowTextW(Control(kSummaryId), Utf8ToWide(summary).c_str());
}

void SeveralDevicesWindow::FocusTable() {
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(kTableId)), TRUE);
}

void SeveralDevicesWindow::ShowRunning(bool running) {
    EnableWindow(Control(kSendId), running ? FALSE : TRUE);
    EnableWindow(Control(kOpenPlanId), running ? FALSE : TRUE);
    EnableWindow(Control(kStopId), running ? TRUE : FALSE);
}

std::optional<std::string> SeveralDevicesWindow::ChooseFileToOpen(SeveralFileKind) {
    return ChooseCsvFileToOpen(m_dialog, L"Open Plan");
}

std::optional<std::string> SeveralDevicesWindow::ChooseFileToSave(SeveralFileKind kind,
                                                                  std::string_view suggestedName) {
    return ChooseCsvFileToSave(m_dialog, suggestedName,
                               kind == SeveralFileKind::Plan ? L"Save Plan" : L"Save Record");
}

FileContents SeveralDevicesWindow::ReadFile(const std::string& path) {
    return ReadFileWhole(path);
}

std::optional<std::string> SeveralDevicesWindow::ReplaceFile(const std::string& path,
                                                             std::string_view bytes) {
    return ReplaceFileWhole(path, bytes);
}

void SeveralDevicesWindow::SetClipboardText(std::string_view text) {
    SetClipboardTextOrSayWhy(m_dialog, m_boxes, text);
}

}  // namespace kestrelink::win32
