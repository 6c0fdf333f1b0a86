#include "faces/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <vector>

#include "behaviour/browser_detection.h"
#include "behaviour/control_ids.h"
#include "behaviour/help_request.h"
#include "behaviour/list_menu.h"
#include "behaviour/main_window_behaviour.h"
#include "behaviour/window_state.h"
#include "behaviour/window_texts.h"
#include "faces/win32/clipboard.h"
#include "faces/win32/device_list_view.h"
#include "faces/win32/dialog_anchors.h"
#include "faces/win32/file_replace.h"
#include "faces/win32/help_page.h"
#include "faces/win32/ip_config_dialog.h"
#include "faces/win32/message_boxes.h"
#include "faces/win32/save_dialog.h"
#include "faces/win32/system_registry.h"
#include "faces/win32/wide_text.h"
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

// The context menu's items are numbered from here, apart from the controls, in kListMenu's order.
constexpr UINT kFirstMenuItem = 40001;

// The one main window of the process, for the key filter, which the system calls without one.
MainWindow* g_keyFilterWindow = nullptr;

Icon LoadAppIcon(int sizeMetricX, int sizeMetricY) {
    return Icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId),
                                              IMAGE_ICON, GetSystemMetrics(sizeMetricX),
                                              GetSystemMetrics(sizeMetricY), LR_DEFAULTCOLOR)));
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM screens) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info) != 0) {
        const RECT& area = info.rcWork;
        reinterpret_cast<std::vector<ScreenRect>*>(screens)->push_back(
            {area.left, area.top, area.right - area.left, area.bottom - area.top});
    }
    return TRUE;
}

std::vector<ScreenRect> WorkAreas() {
    std::vector<ScreenRect> screens;
    EnumDisplayMonitors(nullptr, nullptr, &CollectWorkArea, reinterpret_cast<LPARAM>(&screens));
    return screens;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace

MainWindow::MainWindow(WindowStateStorage& stateStorage) : m_stateStorage(stateStorage) {}

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
            m_anchors.Apply(LOWORD(lParam), HIWORD(lParam));
            return TRUE;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {
                m_anchors.MinimumTrackSize().cx, m_anchors.MinimumTrackSize().cy};
            return TRUE;
        case WM_HELP:
            if (!HelpModifierHeld()) {
                ShowHelp(*this, HelpContextOf(kTemplateId));
            }
            return TRUE;
        case kPostedCallMessage:
            RunPostedCall();
            return TRUE;
        case kNoticeMessage:
            ShowNextNotice();
            return TRUE;
        case WM_TIMER:
            if (wParam == kAfterPendingTimer) {
                RunCallsAfterPending();
                return TRUE;
            }
            if (wParam == kHeldRepaintTimer && m_view) {
                m_view->ReleaseRepaint();
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            OnClose();
            return TRUE;
        case WM_DESTROY:
            // The listener is stopped while the window can still take what it hands over.
            m_behaviour.reset();
            m_keyFilter.Reset();
            g_keyFilterWindow = nullptr;
            {
                const std::lock_guard lock(m_postedMutex);
                m_windowGone = true;
                m_posted.clear();
            }
            KillTimer(m_dialog, kAfterPendingTimer);
            KillTimer(m_dialog, kHeldRepaintTimer);
            m_afterPending.clear();
            m_view.reset();
            return FALSE;
        default:
            return FALSE;
    }
}

void MainWindow::OnInitDialog() {
    SetWindowTextW(m_dialog, Utf8ToWide(MainWindowTitle()).c_str());
    m_bigIcon = LoadAppIcon(SM_CXICON, SM_CYICON);
    m_smallIcon = LoadAppIcon(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(m_dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    SendMessageW(m_dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));

    const SystemRegistryReader registry;
    const bool forceIeShown = ShowForceIeOption(registry);
    ShowWindow(GetDlgItem(m_dialog, kForceIeId), forceIeShown ? SW_SHOWNORMAL : SW_HIDE);
    CheckDlgButton(m_dialog, kForceIeId, BST_UNCHECKED);
    if (!forceIeShown) {
        PlaceFilterBesideEdge();
    }
    const std::wstring filterHint = Utf8ToWide(kFilterHint);
    SendDlgItemMessageW(m_dialog, kFilterId, EM_SETCUEBANNER, TRUE,
                        reinterpret_cast<LPARAM>(filterHint.c_str()));

    m_view = std::make_unique<DeviceListView>(GetDlgItem(m_dialog, kListId),
                                              GetDlgItem(m_dialog, kDeviceCountId), m_list);
    m_anchors.Capture(m_dialog, kTemplateId, kControlAnchors);
    ApplyState();

    // The dialog's own message loop sees every key first: keys that mean something anywhere in
    // the window are taken there, before the focused control gets them.
    g_keyFilterWindow = this;
    m_keyFilter.Reset(
        SetWindowsHookExW(WH_MSGFILTER, &MainWindow::KeyFilter, nullptr, GetCurrentThreadId()));

    m_behaviour = std::make_unique<MainWindowBehaviour>(*this, m_list, m_browser);
    if (m_behaviour->Start()) {
        SendMessageW(m_dialog, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(m_dialog, kListId)), TRUE);
    }
}

// Without "Force IE only" the filter and its count move into its place, so that the bottom row
// starts at the left edge.
void MainWindow::PlaceFilterBesideEdge() {
    const HWND forceIe = GetDlgItem(m_dialog, kForceIeId);
    RECT checkBox = WindowRect(forceIe);
    RECT filter = WindowRect(GetDlgItem(m_dialog, kFilterId));
    const int shift = filter.left - checkBox.left;
    for (const int id : {kFilterId, kDeviceCountId}) {
        const HWND control = GetDlgItem(m_dialog, id);
        RECT rect = WindowRect(control);
        MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(control, nullptr, rect.left - shift, rect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::ApplyState() {
    const std::vector<ScreenRect> screens = WorkAreas();
    const WindowState state = CheckedWindowState(m_stateStorage.Load(), screens);
    RECT window = WindowRect(m_dialog);
    RECT client{};
    GetClientRect(m_dialog, &client);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    if (state.size) {
        width = std::max(width, state.size->width + width - static_cast<int>(client.right));
        height = std::max(height, state.size->height + height - static_cast<int>(client.bottom));
    }
    POINT place{};
    if (state.position) {
        place = {state.position->x, state.position->y};
    } else {
        // The whole window, frame included, in the centre of the primary screen's work area.
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        place = {work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2};
    }
    SetWindowPos(m_dialog, nullptr, place.x, place.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (state.maximized) {
        ShowWindow(m_dialog, SW_MAXIMIZE);
    }
    m_view->SetColumnWidths(state.columnWidths);
    RestoreSort(m_list, state.sort);
}

void MainWindow::SaveState() {
    WindowState state;
    state.maximized = IsZoomed(m_dialog) != 0;
    if (!state.maximized && IsIconic(m_dialog) == 0) {
        RECT client{};
        GetClientRect(m_dialog, &client);
        const RECT window = WindowRect(m_dialog);
        state.size = WindowSize{client.right, client.bottom};
        state.position = WindowPoint{window.left, window.top};
    }
    state.columnWidths = m_view->ColumnWidths();
    state.sort = m_list.Sort();
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
        default:
            if (id >= static_cast<int>(kFirstMenuItem) &&
                id < static_cast<int>(kFirstMenuItem + kListMenu.size())) {
                m_behaviour->OnListMenu(
                    kListMenu[static_cast<std::size_t>(id) - kFirstMenuItem].action,
                    m_view->ShownRows());
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

LRESULT CALLBACK MainWindow::KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    MainWindow* window = g_keyFilterWindow;
    if (code == MSGF_DIALOGBOX && window != nullptr && window->IsCopyKey(*message)) {
        window->m_behaviour->OnListMenu(ListMenuAction::CopyRow, window->m_view->ShownRows());
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool MainWindow::IsCopyKey(const MSG& message) const {
    if (message.message != WM_KEYDOWN || message.wParam != 'C' || GetKeyState(VK_CONTROL) >= 0 ||
        GetKeyState(VK_MENU) < 0 || m_behaviour == nullptr ||
        GetAncestor(message.hwnd, GA_ROOT) != m_dialog) {
        return false;
    }
    // A text field keeps Ctrl+C for its own selection.
    wchar_t className[16] = {};
    GetClassNameW(message.hwnd, className, 16);
    return lstrcmpiW(className, L"Edit") != 0;
}

void MainWindow::OnContextMenu(HWND source, POINT point) {
    if (source != GetDlgItem(m_dialog, kListId) || m_view == nullptr) {
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
    const Menu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    for (std::size_t index = 0; index < kListMenu.size(); ++index) {
        const ListMenuItem& item = kListMenu[index];
        if (item.separatorBefore) {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
        }
        std::wstring text = Utf8ToWide(item.text);
        if (item.action == ListMenuAction::CopyRow) {
            text += L"\tCtrl+C";
        }
        const UINT enabled = item.needsRow && !onRow ? MF_GRAYED : MF_ENABLED;
        AppendMenuW(menu.Get(), MF_STRING | enabled, kFirstMenuItem + index, text.c_str());
    }
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, m_dialog, nullptr));
    if (chosen != 0) {
        OnCommand(static_cast<int>(chosen), 0);
    }
}

void MainWindow::Post(std::function<void()> call) {
    std::unique_lock lock(m_postedMutex);
    if (m_windowGone) {
        return;
    }
    m_posted.push_back(std::move(call));
    if (PostMessageW(m_dialog, kPostedCallMessage, 0, 0) == 0) {
        // No queue to wake: the call is dropped unrun, outside the lock.
        std::function<void()> dropped = std::move(m_posted.back());
        m_posted.pop_back();
        lock.unlock();
    }
}

void MainWindow::PostLater(std::chrono::milliseconds wait, std::function<void()> call) {
    if (m_windowGone) {
        return;
    }
    m_afterPending.push_back(std::move(call));
    // A timer message comes only once the queue holds nothing else, paints included.
    const auto elapse = std::max<UINT>(USER_TIMER_MINIMUM, static_cast<UINT>(wait.count()));
    if (SetTimer(m_dialog, kAfterPendingTimer, elapse, nullptr) == 0) {
        // Without a timer the slice still runs, only without letting the toolkit in first.
        Post([this] { RunCallsAfterPending(); });
    }
}

void MainWindow::RunCallsAfterPending() {
    KillTimer(m_dialog, kAfterPendingTimer);
    // Only those queued so far: a call that queues another leaves it for the next timer.
    std::deque<std::function<void()>> due;
    due.swap(m_afterPending);
    for (std::function<void()>& call : due) {
        call();
    }
}

void MainWindow::RunPostedCall() {
    std::function<void()> call;
    {
        const std::lock_guard lock(m_postedMutex);
        if (m_posted.empty()) {
            return;
        }
        call = std::move(m_posted.front());
        m_posted.pop_front();
    }
    call();
}

void MainWindow::OpenNotice(std::string_view caption, std::string_view text,
                            std::function<void()> closed) {
    m_notices.push_back({Utf8ToWide(caption), Utf8ToWide(text), std::move(closed)});
    // Opened from the window's own queue, so that this returns at once and the hand-over goes on.
    PostMessageW(m_dialog, kNoticeMessage, 0, 0);
}

void MainWindow::ShowNextNotice() {
    if (m_noticeShown || m_notices.empty()) {
        return;
    }
    Notice notice = std::move(m_notices.front());
    m_notices.pop_front();
    m_noticeShown = true;
    MessageBoxW(m_dialog, notice.text.c_str(), notice.caption.c_str(), MB_OK | MB_APPLMODAL);
    m_noticeShown = false;
    if (notice.closed && !m_windowGone) {
        notice.closed();
    }
    if (!m_notices.empty()) {
        PostMessageW(m_dialog, kNoticeMessage, 0, 0);
    }
}

void MainWindow::ShowMessage(std::string_view text) {
    ShowAppMessage(m_dialog, text);
}

bool MainWindow::AskRetry(std::string_view text) {
    return AskAppRetry(m_dialog, text);
}

bool MainWindow::AskYesNo(std::string_view text) {
    return AskAppYesNo(m_dialog, text);
}

bool MainWindow::OpenHelpPage(int context) {
    return win32::OpenHelpPage(context);
}

std::optional<IpSettings> MainWindow::AskIpSettings(std::string_view hostName) {
    IpConfigDialog dialog(m_dialog);
    return dialog.Run(hostName);
}

std::optional<std::string> MainWindow::ChooseExportFile(std::string_view suggestedName) {
    return ChooseCsvFileToSave(m_dialog, suggestedName);
}

std::optional<std::string> MainWindow::ReplaceFile(const std::string& path,
                                                   std::string_view bytes) {
    return ReplaceFileWhole(path, bytes);
}

void MainWindow::SetClipboardText(std::string_view text) {
    if (!SetClipboardUnicodeText(m_dialog, text)) {
        ShowMessage("The clipboard could not be filled: " + SystemErrorText(GetLastError()));
    }
}

}  // namespace kestrelink::win32
