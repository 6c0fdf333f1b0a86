#include "behaviour/ip_config_form.h"

#include <algorithm>
#include <array>

#include "behaviour/dialog_face.h"
#include "behaviour/ip_config_face.h"
#include "net/latin1_text.h"

namespace kestrelink {
namespace {

int LimitOf(IpTextField field) {
    return static_cast<int>(field == IpTextField::Password ? kPasswordMaxLength
                                                           : kHostNameMaxLength);
}

// The DNS server may stay blank.
constexpr std::array kRequiredAddresses = {IpAddressField::IpAddress, IpAddressField::SubnetMask,
                                           IpAddressField::Gateway};

}  // namespace

IpConfigForm::IpConfigForm(IpConfigFace& face, DialogFace& boxes) : m_face(face), m_boxes(boxes) {}

int IpConfigForm::TypingLimit(IpTextField field, int textLength) {
    return std::max(LimitOf(field), textLength);
}

void IpConfigForm::Attach() {
    m_face.SetUseDhcp(m_settings.useDhcp);
    m_face.SetText(IpTextField::Password, m_password,
                   TypingLimit(IpTextField::Password, FieldLength(m_password)));
    m_face.SetText(IpTextField::HostName, m_hostName,
                   TypingLimit(IpTextField::HostName, FieldLength(m_hostName)));
}

void IpConfigForm::SetHostName(std::string hostName) {
    m_hostName = std::move(hostName);
    m_face.SetText(IpTextField::HostName, m_hostName,
                   TypingLimit(IpTextField::HostName, FieldLength(m_hostName)));
}

bool IpConfigForm::OnSend() {
    // A text over its limit does not end Send here: the checks below still run, and the last
    // exchange refuses the text again.
    ExchangeToMembers();
    if (!SingleByte(IpTextField::Password, "password") ||
        !SingleByte(IpTextField::HostName, "host name")) {
        return false;
    }
    if (!m_settings.useDhcp) {
        for (const IpAddressField field : kRequiredAddresses) {
            if (m_face.IsBlank(field)) {
                m_boxes.ShowMessage("One of the fields is blank");
                return false;
            }
        }
    }
    if (m_password.empty() && !m_boxes.AskYesNo("Password is empty, continue?")) {
        return false;
    }
    m_settings.ipAddress = m_face.Address(IpAddressField::IpAddress);
    m_settings.subnetMask = m_face.Address(IpAddressField::SubnetMask);
    m_settings.gateway = m_face.Address(IpAddressField::Gateway);
    m_settings.dnsServer = m_face.Address(IpAddressField::DnsServer);
    return ExchangeToMembers();
}

void IpConfigForm::OnUseDhcpClicked() {
    ExchangeToMembers();
    m_face.EnableAddresses(!m_settings.useDhcp);
}

IpSettings IpConfigForm::Settings() const {
    IpSettings settings = m_settings;
    // OnSend let only single-byte texts through.
    settings.password = Utf8ToLatin1(m_password, ControlCharacters::Send).value_or(std::string());
    settings.hostName = Utf8ToLatin1(m_hostName, ControlCharacters::Send).value_or(std::string());
    return settings;
}

// useDhcp comes first, so a refused text never keeps the check box state from the members.
bool IpConfigForm::ExchangeToMembers() {
    m_settings.useDhcp = m_face.UseDhcp();
    m_password = m_face.Text(IpTextField::Password);
    if (!WithinLimit(IpTextField::Password)) {
        return false;
    }
    m_hostName = m_face.Text(IpTextField::HostName);
    return WithinLimit(IpTextField::HostName);
}

bool IpConfigForm::WithinLimit(IpTextField field) {
    const int limit = LimitOf(field);
    if (FieldLength(m_face.Text(field)) <= limit) {
        return true;
    }
    Refuse(field, "Please enter no more than " + std::to_string(limit) + " characters.");
    return false;
}

// The request carries single bytes: any other character would go out as "?", and the device would
// be sent a password or name the user never typed.
bool IpConfigForm::SingleByte(IpTextField field, std::string_view name) {
    if (Utf8ToLatin1(m_face.Text(field), ControlCharacters::Send)) {
        return true;
    }
    Refuse(field, "The " + std::string(name) +
                      " contains characters that cannot be sent.\n"
                      "Use only Latin-1 (Western European) characters.");
    return false;
}

void IpConfigForm::Refuse(IpTextField field, std::string_view message) {
    m_boxes.ShowMessage(message);
    m_face.FocusAndSelectAll(field);
}

}  // namespace kestrelink
