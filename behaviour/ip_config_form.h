#pragma once

#include <string>

#include "net/datagrams.h"

namespace kestrelink {

class DialogFace;
class IpConfigFace;
enum class IpTextField;

// What the IP configuration dialog checks and keeps, whichever toolkit draws it. The face builds
// its controls, then calls Attach; its Send goes to OnSend, its Use DHCP to OnUseDhcpClicked.
class IpConfigForm final {
public:
    // boxes: the dialog's own.
    IpConfigForm(IpConfigFace& face, DialogFace& boxes);
    IpConfigForm(const IpConfigForm&) = delete;
    IpConfigForm& operator=(const IpConfigForm&) = delete;

    // How many characters the field lets the user type while it shows a text of textLength: its
    // limit, or more while a longer text that came from the program is shown whole, so that Send
    // refuses it visibly instead of sending a cut text. The limit follows such a text down as the
    // user shortens it, and never lets it grow.
    static int TypingLimit(IpTextField field, int textLength);

    // Fills the controls from the form: unticked Use DHCP, empty password, the host name.
    void Attach();
    // Before the dialog runs: the device's given name, UTF-8.
    void SetHostName(std::string hostName);

    // Send: true when the checks passed and the dialog may close with Settings(). On false the
    // user has been told why, and the field at fault has the focus.
    bool OnSend();
    void OnUseDhcpClicked();
    // Meaningful after OnSend returned true. Texts are single-byte (Latin-1).
    IpSettings Settings() const;

private:
    bool ExchangeToMembers();
    bool WithinLimit(IpTextField field);
    bool SingleByte(IpTextField field, std::string_view name);
    void Refuse(IpTextField field, std::string_view message);

    IpConfigFace& m_face;
    DialogFace& m_boxes;
    IpSettings m_settings;
    // As typed, UTF-8; made single-byte by Settings().
    std::string m_password;
    std::string m_hostName;
};

}  // namespace kestrelink
