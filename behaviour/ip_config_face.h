#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrelink {

enum class IpTextField { HostName, Password };
// In the dialog's order, top to bottom.
enum class IpAddressField { IpAddress, SubnetMask, Gateway, DnsServer };

// What the IP configuration dialog's face shows and reads for IpConfigForm. Texts are UTF-8, as
// the user typed them: the form decides what may be sent. Its boxes are a DialogFace of their own.
class IpConfigFace {
public:
    IpConfigFace() = default;
    virtual ~IpConfigFace() = default;
    IpConfigFace(const IpConfigFace&) = delete;
    IpConfigFace& operator=(const IpConfigFace&) = delete;

    virtual std::string Text(IpTextField field) const = 0;
    // maxLength: how many characters the field lets the user type; the text set may be longer,
    // and is then shown whole (see IpConfigForm::TypingLimit).
    virtual void SetText(IpTextField field, std::string_view text, int maxLength) = 0;
    virtual void FocusAndSelectAll(IpTextField field) = 0;

    virtual bool UseDhcp() const = 0;
    virtual void SetUseDhcp(bool useDhcp) = 0;

    // All four parts of the address empty.
    virtual bool IsBlank(IpAddressField field) const = 0;
    // First octet in the most significant byte; an empty part counts as 0.
    virtual std::uint32_t Address(IpAddressField field) const = 0;
    // Disabled, not cleared: enabling again brings back what was typed.
    virtual void EnableAddresses(bool enabled) = 0;
};

}  // namespace kestrelink
