#include "faces/win32/main_window.h"

#include <commctrl.h>

#include <optional>

#include "behaviour/accessible_names.h"
#include "behaviour/browser_detection.h"
#include "behaviour/control_ids.h"
#include "behaviour/filter_placement.h"
#include "behaviour/help_request.h"
#include "behaviour/list_menu.h"
#include "behaviour/main_window_behaviour.h"
#include "behaviour/window_state.h"
#include "behaviour/window_texts.h"
#include "faces/win32/accessible_names.h"
#include "faces/win32/clipboard.h"
#include "faces/win32/copy_key_hook.h"
#include "faces/win32/device_list_view.h"
#include "faces/win32/dialog_anchors.h"
#include "faces/win32/file_replace.h"
#include "faces/win32/help_page.h"
#include "faces/win32/ip_config_dialog.h"
#include "faces/win32/list_context_menu.h"
#include "faces/win32/message_boxes.h"
#include "faces/win32/monitor_dpi.h"
#include "faces/win32/save_dialog.h"
#include "faces/win32/several_devices_dialog.h"
#include "faces/win32/system_registry.h"
#include "faces/win32/wide_text.h"
#include "faces/win32/window_placement.h"
#include "net/datagrams.h"

namespace kestrelink::win32 {
namespace {

using namespace main_window;

constexpr int kIconId = 101;

// The messages the window posts itself: a call from the listener's side, a notice box to open.
constexpr UINT kPostedCallMessage = WM_APP + 1;
constexpr UINT kNoticeMessage = WM_APP + 2;
// The list view has kHeldRepaintTimer.
constexpr UINT_PTR kAfterPendingTimer = 1;
constexpr UINT_PTR kRoundTimer = 3;

Icon LoadAppIcon(int sizeMetric, int dpi) {
    return LoadIconSized(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId),
                         SystemMetricForDpi(sizeMetric, dpi));
}

// In the dialog's client coordinates.
ControlRect ClientRectOf(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void MoveControl(HWND dialog, int id, const ControlRect& rect) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MainWindow::MainWindow(WindowStateStorage& stateStorage)
    : m_stateStorage(stateStorage),
      m_posted([this] { return PostMessageW(m_dialog, kPostedCallMessage, 0, 0) != 0; }),
      m_afterPending(m_dialog, kAfterPendingTimer, m_posted),
      m_notices(m_dialog, kNoticeMessage) {}

MainWindow::~MainWindow() = default;

bool MainWindow::Run() {
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTemplateId), nullptr,
                        &MainWindow::Procedure, reinterpret_cast<LPARAM>(this));
    if (result == -1) {
        ShowAppMessage(nullptr,
                       "The main window could not be opened: " + SystemErrorText(GetLastError()));
        return false;
    }
    return true;
}

INT_PTR CALLBACK MainWindow::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<MainWindow*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            // The focus is placed by OnInitDialog.
            return FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
                return FALSE;
            }
            SetWindowLongPtrW(m_dialog, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_CONTEXTMENU:
            OnContextMenu(reinterpret_cast<HWND>(wParam),
                          {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return TRUE;
        case WM_SIZE:
            m_scaling.Apply(LOWORD(lParam), HIWORD(lParam));
            return TRUE;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {
                m_scaling.MinimumTrackSize().cx, m_scaling.MinimumTrackSize().cy};
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        case WM_SYSCOLORCHANGE:
            if (m_view) {
                m_view->OnSysColorChange();
            }
            return FALSE;
        case WM_ENDSESSION:
            // The session may end the process as soon as this returns: no WM_CLOSE will come.
            if (wParam != FALSE && m_view) {
                SaveState();
            }
            return TRUE;
        case WM_HELP:
            if (!HelpModifierHeld()) {
                ShowHelp(m_boxes, HelpContextOf(kTemplateId));
            }
            return TRUE;
        case kPostedCallMessage:
            m_posted.RunOldest();
            return TRUE;
        case kNoticeMessage:
            m_notices.ShowNext();
            return TRUE;
        case WM_TIMER:
            if (wParam == kAfterPendingTimer) {
                m_afterPending.RunDue();
                return TRUE;
            }
            if (wParam == kHeldRepaintTimer && m_view) {
                m_view->ReleaseRepaint();
                return TRUE;
            }
            if (wParam == kRoundTimer && m_round) {
                m_round();
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            OnClose();
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        default:
            return FALSE;
    }
}

void MainWindow::OnInitDialog() {
    SetWindowTextW(m_dialog, Utf8ToWide(MainWindowTitle()).c_str());
    SetIcons(WindowDpi(m_dialog));

    const SystemRegistryReader registry;
    const bool forceIeShown = ShowForceIeOption(registry);
    ShowWindow(GetDlgItem(m_dialog, kForceIeId), forceIeShown ? SW_SHOWNORMAL : SW_HIDE);
    CheckDlgButton(m_dialog, kForceIeId, BST_UNCHECKED);
    if (!forceIeShown) {
        PlaceFilterInForceIePlace();
    }
    const std::wstring filterHint = Utf8ToWide(kFilterHint);
    SendDlgItemMessageW(m_dialog, kFilterId, EM_SETCUEBANNER, TRUE,
                        reinterpret_cast<LPARAM>(filterHint.c_str()));

    LabelFilter();
    m_names = std::make_unique<AccessibleNames>();
    m_names->Name(GetDlgItem(m_dialog, kListId), kDeviceListName);
    m_names->Name(GetDlgItem(m_dialog, kFilterId), kFilterName);

    m_view = std::make_unique<DeviceListView>(GetDlgItem(m_dialog, kListId),
                                              GetDlgItem(m_dialog, kDeviceCountId), m_list);
    m_scaling.Capture(m_dialog, kTemplateId, kControlAnchors);
    ApplyState();

    m_behaviour = std::make_unique<MainWindowBehaviour>(*this, m_boxes, m_list, m_browser);
    m_view->SetMarks(&m_behaviour->Marks());
    m_copyKey = std::make_unique<CopyKeyHook>(m_dialog, [this] {
        m_behaviour->OnListMenu(ListMenuAction::CopyRow, m_view->ShownRows());
    });
    if (m_behaviour->Start()) {
        SendMessageW(m_dialog, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(m_dialog, kListId)), TRUE);
    }
    m_behaviour->SetKeepWatching(m_keepWatchingAtStart);
}

void MainWindow::OnDestroy() {
    // The listener is stopped while the window can still take what it hands over.
    m_copyKey.reset();
    m_names.reset();
    m_view->SetMarks(nullptr);
    m_behaviour.reset();
    m_posted.Close();
    m_afterPending.Stop();
    m_notices.Stop();
    KillTimer(m_dialog, kHeldRepaintTimer);
    m_view.reset();
}

// Screen readers name an edit field after the static text just before it in the tab order. The
// field shows its name as its cue, so the label is there for them alone, hidden.
void MainWindow::LabelFilter() {
    const HWND filter = GetDlgItem(m_dialog, kFilterId);
    const HWND label =
        CreateWindowExW(0, L"STATIC", Utf8ToWide(kFilterName).c_str(), WS_CHILD | SS_LEFT, 0, 0, 0,
                        0, m_dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (label == nullptr) {
        return;
    }
    const HWND before = GetWindow(filter, GW_HWNDPREV);
    SetWindowPos(label, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::SetIcons(int dpi) {
    Icon bigIcon = LoadAppIcon(SM_CXICON, dpi);
    Icon smallIcon = LoadAppIcon(SM_CXSMICON, dpi);
    SendMessageW(m_dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.Get()));
    SendMessageW(m_dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
    // The window holds the new icons before the old ones go.
    m_bigIcon = std::move(bigIcon);
    m_smallIcon = std::move(smallIcon);
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    m_scaling.OnDpiChanged(dpi, suggested, true);
    SetIcons(dpi);
    if (m_view) {
        m_view->OnDpiChanged(dpi);
    }
}

void MainWindow::PlaceFilterInForceIePlace() {
    const FilterPlaces places =
        FilterInForceIePlace(ClientRectOf(m_dialog, kForceIeId), ClientRectOf(m_dialog, kFilterId),
                             ClientRectOf(m_dialog, kDeviceCountId));
    MoveControl(m_dialog, kFilterId, places.filter);
    MoveControl(m_dialog, kDeviceCountId, places.deviceCount);
}

void MainWindow::ApplyState() {
    const WindowState state = PlaceWindow(m_dialog, m_stateStorage.Load());
    m_view->SetColumnWidths(state.columnWidths);
    RestoreSort(m_list, state.sort);
    // Turned on once the behaviour, which watches, exists.
    m_keepWatchingAtStart = state.keepWatching;
}

void MainWindow::SaveState() {
    WindowState state;
    NotePlacement(m_dialog, state);
    state.columnWidths = m_view->ColumnWidths();
    state.sort = m_list.Sort();
    state.keepWatching = m_behaviour != nullptr && m_behaviour->KeepWatching();
    m_stateStorage.Save(state);
}

void MainWindow::OnClose() {
    SaveState();
    EndDialog(m_dialog, IDCANCEL);
}

void MainWindow::OnCommand(int id, int code) {
    // Before the window is set up and once it is being destroyed, no control acts.
    if (m_behaviour == nullptr || m_view == nullptr) {
        return;
    }
    switch (id) {
        case kCloseId:
            // Enter in the filter reaches the default button, Close: there it only filters.
            if (GetFocus() != GetDlgItem(m_dialog, kFilterId)) {
                OnClose();
            }
            return;
        case IDCANCEL:
            OnClose();
            return;
        case kDiscoverId:
            m_behaviour->OnDiscover();
            return;
        case kConfigureIpId:
            m_behaviour->OnConfigureIp();
            return;
        case kWebId:
            m_behaviour->OnWeb();
            return;
        case kForceIeId:
            if (code == BN_CLICKED) {
                m_behaviour->OnForceIeClicked(IsDlgButtonChecked(m_dialog, kForceIeId) ==
                                              BST_CHECKED);
            }
            return;
        case kFilterId:
            if (code == EN_CHANGE) {
                const HWND filter = GetDlgItem(m_dialog, kFilterId);
                std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(filter)) + 1,
                                  L'\0');
                text.resize(static_cast<std::size_t>(
                    GetWindowTextW(filter, text.data(), static_cast<int>(text.size()))));
                m_view->SetFilter(text);
            }
            return;
    }
}

bool MainWindow::OnNotify(const NMHDR& header, LRESULT& result) {
    if (m_view == nullptr || m_behaviour == nullptr) {
        return false;
    }
    if (header.idFrom == kListId && header.code == NM_DBLCLK) {
        if (m_behaviour->ShouldDoubleClickOpenWeb()) {
            // Posted, so that Web runs after the double-click has been handled, as a press would.
            PostMessageW(GetDlgItem(m_dialog, kWebId), BM_CLICK, 0, 0);
        }
        result = 0;
        return true;
    }
    if (header.idFrom == kListId && header.code == LVN_KEYDOWN) {
        const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
        if (key.wVKey == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
            OnContextMenu(header.hwndFrom, {-1, -1});
        }
        return true;
    }
    return m_view->OnNotify(header, result);
}

void MainWindow::OnContextMenu(HWND source, POINT point) {
    if (source != GetDlgItem(m_dialog, kListId) || m_view == nullptr || m_behaviour == nullptr) {
        return;
    }
    // (-1, -1): asked for by keyboard.
    const bool byKeyboard = point.x == -1 && point.y == -1;
    bool onRow = false;
    if (byKeyboard) {
        point = m_view->MenuPointForKeyboard();
        onRow = m_list.SelectedRow() != -1;
    } else {
        onRow = m_view->SelectRowAt(point);
    }
    const MainWindowBehaviour& behaviour = *m_behaviour;
    const std::optional<ListMenuAction> action = TrackListMenu(
        m_dialog, point, onRow, !m_view->ShownRows().empty(),
        [&behaviour](ListMenuAction item) { return behaviour.IsMenuItemChecked(item); },
        [&behaviour](ListMenuAction item) { return behaviour.IsMenuItemAvailable(item); });
    // The menu's own message loop may have let the window close meanwhile.
    if (action && m_behaviour != nullptr && m_view != nullptr) {
        m_behaviour->OnListMenu(*action, m_view->ShownRows());
    }
}

void MainWindow::Post(std::function<void()> call) {
    m_posted.Post(std::move(call));
}

void MainWindow::PostLater(std::chrono::milliseconds wait, std::function<void()> call) {
    m_afterPending.Add(wait, std::move(call));
}

void MainWindow::OpenNotice(std::string_view caption, std::string_view text,
                            std::function<void()> closed) {
    m_notices.Open(caption, text, std::move(closed));
}

std::optional<IpSettings> MainWindow::AskIpSettings(std::string_view hostName) {
    IpConfigDialog dialog(m_dialog);
    return dialog.Run(hostName);
}

void MainWindow::RunSeveralDevices(SeveralDevicesOpening& opening) {
    SeveralDevicesWindow dialog(m_dialog, opening);
    dialog.Run();
}

std::optional<std::string> MainWindow::ChooseExportFile(std::string_view suggestedName) {
    return ChooseCsvFileToSave(m_dialog, suggestedName);
}

std::optional<std::string> MainWindow::ReplaceFile(const std::string& path,
                                                   std::string_view bytes) {
    return ReplaceFileWhole(path, bytes);
}

void MainWindow::ShowEmptyRound(std::optional<CountLabel> label) {
    if (m_view) {
        m_view->SetEmptyRound(std::move(label));
    }
}

std::optional<std::string> MainWindow::ChooseListToCompare() {
    return ChooseCsvFileToOpen(m_dialog, L"Compare With List");
}

FileContents MainWindow::ReadWholeFile(const std::string& path) {
    return ReadFileWhole(path);
}

void MainWindow::StartRounds(std::chrono::milliseconds interval, std::function<void()> round) {
    m_round = std::move(round);
    if (SetTimer(m_dialog, kRoundTimer, static_cast<UINT>(interval.count()), nullptr) == 0) {
        m_boxes.ShowMessage("Watching could not start: " + SystemErrorText(GetLastError()));
    }
}

void MainWindow::StopRounds() {
    KillTimer(m_dialog, kRoundTimer);
    m_round = nullptr;
}

void MainWindow::MarksChanged() {
    if (m_view) {
        m_view->MarksChanged();
    }
}

void MainWindow::SetClipboardText(std::string_view text) {
    SetClipboardTextOrSayWhy(m_dialog, m_boxes, text);
}

}  // namespace kestrelink::win32
