#pragma once

#include <QDialog>
#include <QString>

#include "behaviour/ip_config_face.h"
#include "behaviour/ip_config_form.h"
#include "faces/qt/app_message_box.h"

class QCheckBox;
class QLineEdit;

namespace kestrelink {

class IpAddressEdit;

// New IP settings for one device: host name, DHCP or a static address, mask, gateway, DNS server
// and the device password. The dialog draws and reads its controls; what it checks and keeps is
// its IpConfigForm's. It sends nothing itself; the opener reads Settings() after Send.
class CIpConfigDlg final : public QDialog, private IpConfigFace {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CIpConfigDlg)

public:
    explicit CIpConfigDlg(QWidget* parent = nullptr);
    ~CIpConfigDlg() override;

    // Set before exec(): the device's given name. A text over the limit is shown whole and
    // refused at Send, never cut here.
    void SetHostName(const QString& hostName);
    // Meaningful after exec() returned QDialog::Accepted. Texts are single-byte (Latin-1).
    IpSettings Settings() const;

    // Send: the form's checks, then the dialog is accepted.
    void accept() override;

private:
    QLineEdit* Edit(IpTextField field) const;
    IpAddressEdit* AddressEdit(IpAddressField field) const;

    // IpConfigFace
    std::string Text(IpTextField field) const override;
    void SetText(IpTextField field, std::string_view text, int maxLength) override;
    void FocusAndSelectAll(IpTextField field) override;
    bool UseDhcp() const override;
    void SetUseDhcp(bool useDhcp) override;
    bool IsBlank(IpAddressField field) const override;
    std::uint32_t Address(IpAddressField field) const override;
    void EnableAddresses(bool enabled) override;

    QtDialogFace m_boxes{this};
    IpConfigForm m_form{*this, m_boxes};
    QLineEdit* m_hostNameEdit = nullptr;
    QCheckBox* m_useDhcpBox = nullptr;
    IpAddressEdit* m_ipAddressEdit = nullptr;
    IpAddressEdit* m_subnetMaskEdit = nullptr;
    IpAddressEdit* m_gatewayEdit = nullptr;
    IpAddressEdit* m_dnsServerEdit = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
};

}  // namespace kestrelink
