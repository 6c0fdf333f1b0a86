#include "ui/ip_config_dlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "ui/app_message_box.h"
#include "ui/control_ids.h"
#include "ui/dialog_template.h"
#include "ui/help_launcher.h"
#include "ui/ip_address_edit.h"
#include "ui/template_controls.h"

namespace kestrelink {
namespace {

using namespace ip_config;

constexpr int kPasswordLimit = static_cast<int>(kPasswordMaxLength);
constexpr int kHostNameLimit = static_cast<int>(kHostNameMaxLength);

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

// A text longer than the limit can only come from the program; it is shown whole, so that Send
// refuses it visibly instead of sending a cut name. The limit then follows the text down as the
// user shortens it, and never lets it grow.
void ShowLimited(QLineEdit* edit, const QString& text, int limit) {
    edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    edit->setText(text);
}

void KeepLimit(QLineEdit* edit, int limit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, limit](const QString& text) {
        edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
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

    KeepLimit(m_passwordEdit, kPasswordLimit);
    KeepLimit(m_hostNameEdit, kHostNameLimit);
    connect(m_useDhcpBox, &QCheckBox::clicked, this, &CIpConfigDlg::OnUseDhcpClicked);
    connect(qobject_cast<QPushButton*>(controls.value(kSendId)), &QPushButton::clicked, this,
            &CIpConfigDlg::accept);
    connect(qobject_cast<QPushButton*>(controls.value(kCancelId)), &QPushButton::clicked, this,
            &CIpConfigDlg::reject);
    InstallHelpKey(this, kTemplateId);
    ExchangeToControls();
}

CIpConfigDlg::~CIpConfigDlg() = default;

void CIpConfigDlg::SetHostName(const QString& hostName) {
    m_hostName = hostName;
    ShowLimited(m_hostNameEdit, m_hostName, kHostNameLimit);
}

IpSettings CIpConfigDlg::Settings() const {
    IpSettings settings;
    settings.ipAddress = m_ipAddress;
    settings.subnetMask = m_subnetMask;
    settings.gateway = m_gateway;
    settings.dnsServer = m_dnsServer;
    settings.useDhcp = m_useDhcp;
    settings.password = m_password.toLatin1().toStdString();
    settings.hostName = m_hostName.toLatin1().toStdString();
    return settings;
}

void CIpConfigDlg::accept() {
    // A text over its limit does not end Send here: the checks below still run, and the last
    // exchange refuses the text again.
    ExchangeToMembers();
    if (!SingleByte(m_passwordEdit, QStringLiteral("password")) ||
        !SingleByte(m_hostNameEdit, QStringLiteral("host name"))) {
        return;
    }
    if (!m_useDhcp) {
        // The DNS server may stay blank.
        for (const IpAddressEdit* edit : {m_ipAddressEdit, m_subnetMaskEdit, m_gatewayEdit}) {
            if (edit->IsBlank()) {
                ShowAppMessage(this, QStringLiteral("One of the fields is blank"));
                return;
            }
        }
    }
    if (m_password.isEmpty() && !ConfirmEmptyPassword()) {
        return;
    }
    m_ipAddress = m_ipAddressEdit->Address();
    m_subnetMask = m_subnetMaskEdit->Address();
    m_gateway = m_gatewayEdit->Address();
    m_dnsServer = m_dnsServerEdit->Address();
    if (ExchangeToMembers()) {
        QDialog::accept();
    }
}

void CIpConfigDlg::ExchangeToControls() {
    m_useDhcpBox->setChecked(m_useDhcp);
    ShowLimited(m_passwordEdit, m_password, kPasswordLimit);
    ShowLimited(m_hostNameEdit, m_hostName, kHostNameLimit);
}

// useDhcp comes first, so a refused text never keeps the check box state from the members.
bool CIpConfigDlg::ExchangeToMembers() {
    m_useDhcp = m_useDhcpBox->isChecked();
    m_password = m_passwordEdit->text();
    if (!WithinLimit(m_passwordEdit, kPasswordLimit)) {
        return false;
    }
    m_hostName = m_hostNameEdit->text();
    return WithinLimit(m_hostNameEdit, kHostNameLimit);
}

bool CIpConfigDlg::WithinLimit(QLineEdit* edit, int limit) {
    if (edit->text().size() <= limit) {
        return true;
    }
    Refuse(edit, QStringLiteral("Please enter no more than %1 characters.").arg(limit));
    return false;
}

// The request carries single bytes: any other character would go out as "?", and the device would
// be sent a password or name the user never typed.
bool CIpConfigDlg::SingleByte(QLineEdit* edit, const QString& field) {
    const QString text = edit->text();
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; })) {
        return true;
    }
    Refuse(edit, QStringLiteral("The %1 contains characters that cannot be sent.\n"
                                "Use only Latin-1 (Western European) characters.")
                     .arg(field));
    return false;
}

void CIpConfigDlg::Refuse(QLineEdit* edit, const QString& message) {
    ShowAppMessage(this, message);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

bool CIpConfigDlg::ConfirmEmptyPassword() {
    QMessageBox box(QMessageBox::Question, ApplicationName(),
                    QStringLiteral("Password is empty, continue?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void CIpConfigDlg::OnUseDhcpClicked() {
    ExchangeToMembers();
    // Disabled, not cleared: unticking brings back what was typed.
    for (IpAddressEdit* edit :
         {m_ipAddressEdit, m_subnetMaskEdit, m_gatewayEdit, m_dnsServerEdit}) {
        edit->setEnabled(!m_useDhcp);
    }
}

}  // namespace kestrelink
