#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "behaviour/posted_calls.h"
#include "behaviour/window_face.h"
#include "faces/win32/after_pending_calls.h"
#include "faces/win32/app_dialog_face.h"
#include "faces/win32/dialog_scaling.h"
#include "faces/win32/handles.h"
#include "faces/win32/notice_queue.h"
#include "faces/win32/shell_browser_starter.h"
#include "net/device_list.h"

namespace kestrelink {
class MainWindowBehaviour;
class WindowStateStorage;
}  // namespace kestrelink

namespace kestrelink::win32 {

class AccessibleNames;
class CopyKeyHook;
class DeviceListView;

// The main window: dialog 102 run modally with no owner, drawing the device list and forwarding
// its buttons, menu and keys to MainWindowBehaviour. Calls posted from the listener's side arrive
// as a window message and run in the order posted.
class MainWindow final : public WindowFace {
public:
    explicit MainWindow(WindowStateStorage& stateStorage);
    ~MainWindow() override;

    // Until the window closes; false when it could not be shown at all (the user is told).
    bool Run();

    void Post(std::function<void()> call) override;
    void PostLater(std::chrono::milliseconds wait, std::function<void()> call) override;
    void OpenNotice(std::string_view caption, std::string_view text,
                    std::function<void()> closed) override;
    std::optional<IpSettings> AskIpSettings(std::string_view hostName) override;
    void RunSeveralDevices(SeveralDevicesOpening& opening) override;
    std::optional<std::string> ChooseExportFile(std::string_view suggestedName) override;
    std::optional<std::string> ReplaceFile(const std::string& path,
                                           std::string_view bytes) override;
    void SetClipboardText(std::string_view text) override;
    void ShowEmptyRound(std::optional<CountLabel> label) override;
    std::optional<std::string> ChooseListToCompare() override;
    FileContents ReadWholeFile(const std::string& path) override;
    void StartRounds(std::chrono::milliseconds interval, std::function<void()> round) override;
    void StopRounds() override;
    void MarksChanged() override;

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    bool OnNotify(const NMHDR& header, LRESULT& result);
    void OnContextMenu(HWND source, POINT point);
    void OnClose();
    void OnDestroy();
    void LabelFilter();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void SetIcons(int dpi);
    void PlaceFilterInForceIePlace();
    void ApplyState();
    void SaveState();

    WindowStateStorage& m_stateStorage;
    HWND m_dialog = nullptr;
    AppDialogFace m_boxes{m_dialog};
    DeviceList m_list;
    ShellBrowserStarter m_browser;
    Icon m_bigIcon;
    Icon m_smallIcon;
    DialogScaling m_scaling;
    std::unique_ptr<DeviceListView> m_view;
    std::unique_ptr<MainWindowBehaviour> m_behaviour;
    std::unique_ptr<CopyKeyHook> m_copyKey;
    std::unique_ptr<AccessibleNames> m_names;
    PostedCalls m_posted;
    AfterPendingCalls m_afterPending;
    NoticeQueue m_notices;
    std::function<void()> m_round;
    bool m_keepWatchingAtStart = false;
};

}  // namespace kestrelink::win32
