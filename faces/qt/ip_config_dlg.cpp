#include "faces/qt/ip_config_dlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "behaviour/control_ids.h"
#include "faces/qt/dialog_template.h"
#include "faces/qt/help_launcher.h"
#include "faces/qt/ip_address_edit.h"
#include "faces/qt/template_controls.h"

namespace kestrelink {
namespace {

using namespace ip_config;

// The kinds that the template builder leaves to the dialog.
QWidget* MakeControl(const ControlTemplate& control, QWidget* parent) {
    if (control.kind == QLatin1String("ipaddress")) {
        return new IpAddressEdit(parent);
    }
    if (control.kind == QLatin1String("edit")) {
        auto* edit = new QLineEdit(parent);
        if (control.HasStyle(QStringLiteral("ES_PASSWORD"))) {
            edit->setEchoMode(QLineEdit::Password);
        }
        return edit;
    }
    return nullptr;
}

void KeepLimit(QLineEdit* edit, IpTextField field) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, field](const QString& text) {
        edit->setMaxLength(IpConfigForm::TypingLimit(field, static_cast<int>(text.size())));
    });
}

}  // namespace

CIpConfigDlg::CIpConfigDlg(QWidget* parent) : QDialog(parent) {
    const QHash<int, QWidget*> controls =
        BuildFromTemplate(*this, LoadDialogTemplate(kTemplateId), MakeControl);
    m_hostNameEdit = qobject_cast<QLineEdit*>(controls.value(kHostNameId));
    m_useDhcpBox = qobject_cast<QCheckBox*>(controls.value(kUseDhcpId));
    m_ipAddressEdit = qobject_cast<IpAddressEdit*>(controls.value(kIpAddressId));
    m_subnetMaskEdit = qobject_cast<IpAddressEdit*>(controls.value(kSubnetMaskId));
    m_gatewayEdit = qobject_cast<IpAddressEdit*>(controls.value(kGatewayId));
    m_dnsServerEdit = qobject_cast<IpAddressEdit*>(controls.value(kDnsServerId));
    m_passwordEdit = qobject_cast<QLineEdit*>(controls.value(kPasswordId));

    KeepLimit(m_passwordEdit, IpTextField::Password);
    KeepLimit(m_hostNameEdit, IpTextField::HostName);
    connect(m_useDhcpBox, &QCheckBox::clicked, this, [this] { m_form.OnUseDhcpClicked(); });
    connect(qobject_cast<QPushButton*>(controls.value(kSendId)), &QPushButton::clicked, this,
            &CIpConfigDlg::accept);
    connect(qobject_cast<QPushButton*>(controls.value(kCancelId)), &QPushButton::clicked, this,
            &CIpConfigDlg::reject);
    InstallHelpKey(this, kTemplateId);
    m_form.Attach();
}

CIpConfigDlg::~CIpConfigDlg() = default;

void CIpConfigDlg::SetHostName(const QString& hostName) {
    m_form.SetHostName(hostName.toStdString());
}

IpSettings CIpConfigDlg::Settings() const {
    return m_form.Settings();
}

void CIpConfigDlg::accept() {
    if (m_form.OnSend()) {
        QDialog::accept();
    }
}

QLineEdit* CIpConfigDlg::Edit(IpTextField field) const {
    return field == IpTextField::Password ? m_passwordEdit : m_hostNameEdit;
}

IpAddressEdit* CIpConfigDlg::AddressEdit(IpAddressField field) const {
    switch (field) {
        case IpAddressField::IpAddress:
            return m_ipAddressEdit;
        case IpAddressField::SubnetMask:
            return m_subnetMaskEdit;
        case IpAddressField::Gateway:
            return m_gatewayEdit;
        case IpAddressField::DnsServer:
            return m_dnsServerEdit;
    }
    return m_ipAddressEdit;
}

std::string CIpConfigDlg::Text(IpTextField field) const {
    return Edit(field)->text().toStdString();
}

void CIpConfigDlg::SetText(IpTextField field, std::string_view text, int maxLength) {
    Edit(field)->setMaxLength(maxLength);
    Edit(field)->setText(FromUtf8(text));
}

void CIpConfigDlg::FocusAndSelectAll(IpTextField field) {
    Edit(field)->setFocus(Qt::OtherFocusReason);
    Edit(field)->selectAll();
}

bool CIpConfigDlg::UseDhcp() const {
    return m_useDhcpBox->isChecked();
}

void CIpConfigDlg::SetUseDhcp(bool useDhcp) {
    m_useDhcpBox->setChecked(useDhcp);
}

bool CIpConfigDlg::IsBlank(IpAddressField field) const {
    return AddressEdit(field)->IsBlank();
}

std::uint32_t CIpConfigDlg::Address(IpAddressField field) const {
    return AddressEdit(field)->Address();
}

void CIpConfigDlg::EnableAddresses(bool enabled) {
    for (IpAddressEdit* edit :
         {m_ipAddressEdit, m_subnetMaskEdit, m_gatewayEdit, m_dnsServerEdit}) {
        edit->setEnabled(enabled);
    }
}

}  // namespace kestrelink
