#pragma once

#include <QDialog>
#include <memory>

#include "behaviour/several_devices_face.h"
#include "faces/qt/app_message_box.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kestrelink {

class IpAddressEdit;
class SeveralDevicesDialog;
struct SeveralDevicesOpening;

// "Configure Several Devices": the fields, the table of devices and the run's buttons, drawn
// here; everything they do is the SeveralDevicesDialog's.
class CSeveralDevicesDlg final : public QDialog, private SeveralDevicesFace {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSeveralDevicesDlg)

public:
    CSeveralDevicesDlg(SeveralDevicesOpening& opening, QWidget* parent = nullptr);
    ~CSeveralDevicesDlg() override;

    // Close, Escape and the title bar: during a run only once the user said Yes.
    void reject() override;

private:
    IpAddressEdit* AddressEdit(SeveralAddressField field) const;
    QLineEdit* Edit(SeveralTextField field) const;

    // SeveralDevicesFace
    std::optional<std::uint32_t> Address(SeveralAddressField field) const override;
    std::string Text(SeveralTextField field) const override;
    void SetText(SeveralTextField field, std::string_view text) override;
    bool UseDhcp() const override;
    void EnableAddresses(bool enabled) override;
    void FocusAddress(SeveralAddressField field) override;
    void FocusText(SeveralTextField field) override;
    void ShowRows(const SeveralDevicesTable& table) override;
    void ShowStatus(std::size_t row, std::string_view status) override;
    void ShowSummary(std::string_view summary) override;
    void FocusTable() override;
    void ShowRunning(bool running) override;
    std::optional<std::string> ChooseFileToOpen(SeveralFileKind kind) override;
    std::optional<std::string> ChooseFileToSave(SeveralFileKind kind,
                                                std::string_view suggestedName) override;
    FileContents ReadFile(const std::string& path) override;
    std::optional<std::string> ReplaceFile(const std::string& path,
                                           std::string_view bytes) override;
    void SetClipboardText(std::string_view text) override;

    QtDialogFace m_boxes{this};
    std::unique_ptr<SeveralDevicesDialog> m_dialog;
    IpAddressEdit* m_startEdit = nullptr;
    IpAddressEdit* m_maskEdit = nullptr;
    IpAddressEdit* m_gatewayEdit = nullptr;
    IpAddressEdit* m_dnsServerEdit = nullptr;
    QLineEdit* m_stepEdit = nullptr;
    QLineEdit* m_namePatternEdit = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
    QCheckBox* m_useDhcpBox = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_sendButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_openPlanButton = nullptr;
    bool m_filling = false;
};

}  // namespace kestrelink
