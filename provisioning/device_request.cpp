#include "provisioning/device_request.h"

#include <bit>

#include "net/latin1_text.h"
#include "net/protocol.h"
#include "net/short_text.h"
#include "net/text_forms.h"
#include "provisioning/listed_device.h"

namespace kestrelink::provisioning {
namespace {

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

bool IsPrefixMask(std::uint32_t mask) {
    return mask != 0 && std::countl_one(mask) + std::countr_zero(mask) == 32;
}

// Collects the problems of one request, each naming its field as the user wrote it.
class FieldChecker final {
public:
    std::uint32_t Address(std::string_view label, const std::string& text) {
        const auto value = ParseDottedQuad(text);
        if (!value) {
            Problem(std::string(label) + " " + Quoted(text) + " is not a dotted IPv4 address");
            return 0;
        }
        return *value;
    }

    std::uint32_t Mask(std::string_view label, const std::string& text) {
        const auto mask = ParseDottedQuad(text);
        if (!mask || !IsPrefixMask(*mask)) {
            Problem(std::string(label) + " " + Quoted(text) +
                    " is not a subnet mask such as 255.255.255.0");
            return 0;
        }
        return *mask;
    }

    // A password is never repeated in a message.
    std::string DeviceText(std::string_view label, const std::string& text, std::size_t maxLength,
                           bool secret) {
        const std::string shown = secret ? std::string() : " " + Quoted(text);
        const auto converted = Utf8ToLatin1(text, ControlCharacters::Refuse);
        if (!converted) {
            Problem(std::string(label) + shown +
                    " holds a character a device cannot store (control or beyond Latin-1)");
            return {};
        }
        if (converted->size() > maxLength) {
            Problem(std::string(label) + shown + " is longer than " + std::to_string(maxLength) +
                    " characters");
        }
        return *converted;
    }

    void Problem(std::string text) { m_problems.push_back(std::move(text)); }
    std::size_t ProblemCount() const { return m_problems.size(); }

    std::vector<std::string> TakeProblems() { return std::move(m_problems); }

private:
    std::vector<std::string> m_problems;
};

// With DHCP no address may be given; without it all but the DNS server must be.
void CheckAddresses(const RequestFields& fields, const FieldLabels& labels, FieldChecker& check,
                    IpSettings& settings) {
    settings.useDhcp = fields.dhcp;
    // Left out, the DNS server goes as 0.0.0.0, as from the dialog's blank field.
    enum class Kind { Address, Mask, OptionalAddress };
    struct AddressField {
        std::string_view label;
        const std::string& text;
        std::uint32_t& value;
        Kind kind;
    };
    const AddressField addresses[] = {
        {labels.ip, fields.ip, settings.ipAddress, Kind::Address},
        {labels.mask, fields.mask, settings.subnetMask, Kind::Mask},
        {labels.gateway, fields.gateway, settings.gateway, Kind::Address},
        {labels.dns, fields.dns, settings.dnsServer, Kind::OptionalAddress}};
    for (const AddressField& field : addresses) {
        const std::string label(field.label);
        if (fields.dhcp) {
            if (!field.text.empty()) {
                check.Problem(label + " is not used with " + std::string(labels.dhcp));
            }
        } else if (field.text.empty()) {
            if (field.kind != Kind::OptionalAddress) {
                check.Problem(label + " is needed without " + std::string(labels.dhcp));
            }
        } else {
            field.value = field.kind == Kind::Mask ? check.Mask(field.label, field.text)
                                                   : check.Address(field.label, field.text);
        }
    }
}

}  // namespace

CheckedRequest CheckRequestFields(const RequestFields& fields, const FieldLabels& labels,
                                  AddressPolicy addresses) {
    FieldChecker check;
    DeviceRequest request;
    if (const auto mac = ParseCanonicalMacText(fields.mac)) {
        request.mac = std::string(FormatMacText(*mac).View());
    } else {
        check.Problem(std::string(labels.mac) + " " + Quoted(fields.mac) +
                      " is not a MAC address such as 02:00:00:00:00:07");
    }

    const std::size_t problemsBefore = check.ProblemCount();
    CheckAddresses(fields, labels, check, request.settings);
    // Only addresses that read well can be judged.
    if (addresses == AddressPolicy::RefuseUnworkable && check.ProblemCount() == problemsBefore) {
        for (std::string& problem : UnworkableAddresses(request.settings, labels)) {
            check.Problem(std::move(problem));
        }
    }
    request.dnsGiven = !fields.dhcp && !fields.dns.empty();

    request.keepName = !fields.nameGiven;
    if (fields.nameGiven) {
        request.settings.hostName =
            check.DeviceText(labels.name, fields.name, kHostNameMaxLength, false);
    }
    request.settings.password =
        check.DeviceText(labels.password, fields.password, kPasswordMaxLength, true);

    CheckedRequest checked;
    checked.problems = check.TakeProblems();
    if (checked.problems.empty()) {
        checked.request = std::move(request);
    }
    return checked;
}

std::string CheckRequestForDevice(const DeviceRequest& request, const ListedDevice& device,
                                  const FieldLabels& labels) {
    const std::string family(FamilyText(device.family));
    if (request.dnsGiven && !RequestCarries(device.family, RequestField::DnsServer)) {
        return std::string(labels.dns) + " cannot go to " + device.mac + ": an " + family +
               " request has no DNS field";
    }
    // Dropped silently, the name would leave the user believing the device took it.
    if (!request.keepName && !RequestCarries(device.family, RequestField::HostName)) {
        return std::string(labels.name) + " cannot go to " + device.mac + ": an " + family +
               " request has no name field";
    }
    return {};
}

IpSettings SettingsFor(const DeviceRequest& request, const ListedDevice& device) {
    IpSettings settings = request.settings;
    if (request.keepName) {
        settings.hostName = std::string(ShortText(device.givenName).View());
    }
    return settings;
}

}  // namespace kestrelink::provisioning
