#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>

#include "behaviour/window_face.h"
#include "behaviour/window_state.h"
#include "faces/qt/app_message_box.h"

class QAbstractButton;

namespace kestrelink {

class BrowserStarter;
class DeviceListModel;
class DeviceListView;
class ListFilter;
class MainWindowBehaviour;
class RegistryReader;

// The main window's Qt face: the device list with its context menu and filter, Discover, Cfg IP,
// Web, Close and "Force IE only", drawn here and forwarded to its MainWindowBehaviour, which owns
// the endpoint with its listener. The endpoint opens at the end of construction, so the list is
// ready before the first announcement can arrive.
class CKestrelinkDlg final : public QDialog, private WindowFace {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CKestrelinkDlg)

public:
    explicit CKestrelinkDlg(QWidget* parent = nullptr);
    // browserStarter: how the Web action reaches a browser; registry: read while the window is
    // made, to decide whether "Force IE only" is offered. Fakes in tests.
    CKestrelinkDlg(std::unique_ptr<BrowserStarter> browserStarter, const RegistryReader& registry,
                   QWidget* parent = nullptr);
    ~CKestrelinkDlg() override;

    // Before the window is first shown: size, place, column widths and sort as a run left them.
    void ApplyState(const WindowState& state);
    WindowState State() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnListDoubleClick();

    // WindowFace
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

    QtDialogFace m_boxes{this};
    std::unique_ptr<BrowserStarter> m_browserStarter;
    DeviceListModel* m_model;
    DeviceListView* m_list = nullptr;
    ListFilter* m_filter = nullptr;
    QAbstractButton* m_webButton = nullptr;
    QTimer m_rounds;
    std::unique_ptr<MainWindowBehaviour> m_behaviour;
    bool m_placed = false;
};

}  // namespace kestrelink
