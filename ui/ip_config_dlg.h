#pragma once

#include <QDialog>
#include <QString>

#include "net/datagrams.h"

namespace kestrelink {

// New IP settings for one device: host name, DHCP or a static address, mask, gateway, DNS server
// and the device password. It sends nothing itself; the opener reads Settings() after Send.
class CIpConfigDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CIpConfigDlg(QWidget* parent = nullptr);
    ~CIpConfigDlg() override;

    // Set before exec(): the device's given name.
    void SetHostName(const QString& hostName);
    // Meaningful after exec() returned QDialog::Accepted.
    IpSettings Settings() const;
};

}  // namespace kestrelink
