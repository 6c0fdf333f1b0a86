#pragma once

#include <QDialog>
#include <memory>

class QAbstractButton;

namespace kestrelink {

class BrowserStarter;
class DeviceListModel;
class DeviceListView;
class Endpoint;
class ListFilter;
class UiHandOver;
struct WindowState;

// The main window: the device list with its context menu and filter, Discover, Cfg IP, Web, Close
// and "Force IE only". It owns the list, the endpoint with its listener, and the hand-over between
// them. The endpoint opens at the end of construction, so the list is ready before the first
// announcement can arrive.
class CKestrelinkDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CKestrelinkDlg)

public:
    explicit CKestrelinkDlg(QWidget* parent = nullptr);
    // browserStarter: how the Web action reaches a browser (a fake in tests).
    explicit CKestrelinkDlg(std::unique_ptr<BrowserStarter> browserStarter,
                            QWidget* parent = nullptr);
    ~CKestrelinkDlg() override;

    // Before the window is first shown: size, place, column widths and sort as a run left them.
    void ApplyState(const WindowState& state);
    WindowState State() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnDiscover();
    void OnConfigureIp();
    void OnWeb();
    void OnListDoubleClick();
    void OnForceIeClicked(bool checked);
    void OnExportList();

    std::unique_ptr<BrowserStarter> m_browserStarter;
    DeviceListModel* m_model;
    DeviceListView* m_list = nullptr;
    ListFilter* m_filter = nullptr;
    QAbstractButton* m_webButton = nullptr;
    std::shared_ptr<UiHandOver> m_handOver;
    std::unique_ptr<Endpoint> m_endpoint;
    bool m_forceIeOnly = false;
    bool m_placed = false;
};

}  // namespace kestrelink
