#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "net/datagrams.h"

class QCheckBox;
class QLineEdit;

namespace kestrelink {

class IpAddressEdit;

// New IP settings for one device: host name, DHCP or a static address, mask, gateway, DNS server
// and the device password. It sends nothing itself; the opener reads Settings() after Send.
class CIpConfigDlg final : public QDialog {
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

    // Send: the checks, then the addresses are read and the dialog is accepted.
    void accept() override;

private:
    void ExchangeToControls();
    bool ExchangeToMembers();
    bool WithinLimit(QLineEdit* edit, int limit);
    bool SingleByte(QLineEdit* edit, const QString& field);
    // Shows why, then hands the edit the focus with its whole text selected.
    void Refuse(QLineEdit* edit, const QString& message);
    bool ConfirmEmptyPassword();
    void OnUseDhcpClicked();

    std::uint32_t m_ipAddress = 0;
    std::uint32_t m_subnetMask = 0;
    std::uint32_t m_gateway = 0;
    std::uint32_t m_dnsServer = 0;
    bool m_useDhcp = false;
    QString m_password;
    QString m_hostName;

    QLineEdit* m_hostNameEdit = nullptr;
    QCheckBox* m_useDhcpBox = nullptr;
    IpAddressEdit* m_ipAddressEdit = nullptr;
    IpAddressEdit* m_subnetMaskEdit = nullptr;
    IpAddressEdit* m_gatewayEdit = nullptr;
    IpAddressEdit* m_dnsServerEdit = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
};

}  // namespace kestrelink
