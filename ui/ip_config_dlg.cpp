#include "ui/ip_config_dlg.h"

// Temporary body until the dialog lands; replaced by its real implementation.
namespace kestrelink {

CIpConfigDlg::CIpConfigDlg(QWidget* parent) : QDialog(parent) {}
CIpConfigDlg::~CIpConfigDlg() = default;
void CIpConfigDlg::SetHostName(const QString&) {}
IpSettings CIpConfigDlg::Settings() const {
    return {};
}

}  // namespace kestrelink
