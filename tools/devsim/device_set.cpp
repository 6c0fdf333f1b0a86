#include "tools/devsim/device_set.h"

#include <algorithm>

#include "net/text_forms.h"
#include "tools/device_protocol/address_text.h"
#include "tools/devsim/options.h"

namespace kestrelink::devsim {
namespace {

constexpr std::uint32_t kSubnetMask = 0xFFFFFF00u;

device::Mac MacPlus(const device::Mac& first, std::uint64_t offset) {
    std::uint64_t value = MacToNumber(first) + offset;
    device::Mac mac{};
    for (std::size_t i = mac.size(); i-- > 0;) {
        mac[i] = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
    return mac;
}

// The gateway and DNS server a device starts with, or is leased: .1 of its own subnet.
std::uint32_t FirstHostOf(std::uint32_t address) {
    return (address & kSubnetMask) | 1u;
}

EmulatedDevice MakeDevice(const SimulatorOptions& options, device::Family family, int number) {
    const auto offset = static_cast<std::uint32_t>(number);
    EmulatedDevice device;
    device.family = family;
    device.macAddress = MacPlus(options.firstMac, offset);
    device.ipAddress = options.firstIp + offset;
    device.subnetMask = kSubnetMask;
    device.gateway = FirstHostOf(device.ipAddress);
    device.dnsServer = device.gateway;
    device.serialNumber = options.firstSerial + offset;
    device.productName = family == device::Family::Bits32 ? "DevSim 32" : "DevSim 08";
    device.givenName = options.namePrefix + std::to_string(number + 1);
    device.version = "1.0";
    return device;
}

}  // namespace

device::AnnouncementFields FieldsOf(const EmulatedDevice& device) {
    device::AnnouncementFields fields;
    fields.serialNumber = device.serialNumber;
    fields.ipAddress = device.ipAddress;
    fields.ipAddressText = device::DottedText(device.ipAddress);
    fields.macAddress = device.macAddress;
    fields.productName = device.productName;
    fields.givenName = device.givenName;
    fields.version = device.version;
    return fields;
}

std::vector<std::uint8_t> EncodeDevice(const EmulatedDevice& device) {
    return device::EncodeAnnouncement(device.family, FieldsOf(device));
}

DeviceSet::DeviceSet(const SimulatorOptions& options)
    : m_password(options.password), m_nextLease(options.dhcpPool) {
    m_devices08.reserve(static_cast<std::size_t>(options.devices08));
    m_devices32.reserve(static_cast<std::size_t>(options.devices32));
    int number = 0;
    for (int i = 0; i < options.devices08; ++i) {
        m_devices08.push_back(MakeDevice(options, device::Family::Bits08, number++));
    }
    for (int i = 0; i < options.devices32; ++i) {
        m_devices32.push_back(MakeDevice(options, device::Family::Bits32, number++));
    }
}

std::span<const EmulatedDevice> DeviceSet::Devices(device::Family family) const {
    return family == device::Family::Bits32 ? m_devices32 : m_devices08;
}

EmulatedDevice* DeviceSet::Addressed(device::Family family, const device::ReceivedConfig& config) {
    auto& devices = family == device::Family::Bits32 ? m_devices32 : m_devices08;
    const auto found = std::find_if(devices.begin(), devices.end(), [&](const auto& device) {
        return device.macAddress == config.macAddress;
    });
    return found == devices.end() ? nullptr : &*found;
}

ConfigResult DeviceSet::Admit(device::Family family, const device::ReceivedConfig& config) {
    const EmulatedDevice* device = Addressed(family, config);
    if (device == nullptr) {
        return {};
    }
    if (m_password && config.password != *m_password) {
        return {ConfigOutcome::WrongPassword, device};
    }
    return {ConfigOutcome::Applied, device};
}

ConfigResult DeviceSet::ApplyConfig(device::Family family, const device::ReceivedConfig& config,
                                    std::chrono::steady_clock::time_point silentUntil) {
    const ConfigResult admitted = Admit(family, config);
    if (admitted.outcome != ConfigOutcome::Applied) {
        return admitted;
    }
    EmulatedDevice& device = *Addressed(family, config);
    device.silentUntil = silentUntil;
    if (config.useDhcp) {
        device.ipAddress = LeaseAddress();
        device.subnetMask = kSubnetMask;
        device.gateway = FirstHostOf(device.ipAddress);
        device.dnsServer = device.gateway;
    } else {
        device.ipAddress = config.ipAddress;
        device.subnetMask = config.subnetMask;
        device.gateway = config.gateway;
    }
    if (family == device::Family::Bits32) {
        if (!config.useDhcp) {
            device.dnsServer = config.dnsServer;
        }
        device.givenName = config.hostName;
    }
    return {ConfigOutcome::Applied, &device, config.useDhcp};
}

std::uint32_t DeviceSet::LeaseAddress() {
    while (AddressInUse(m_nextLease)) {
        ++m_nextLease;
    }
    return m_nextLease++;
}

bool DeviceSet::AddressInUse(std::uint32_t address) const {
    const auto uses = [address](const EmulatedDevice& device) {
        return device.ipAddress == address;
    };
    return std::any_of(m_devices08.begin(), m_devices08.end(), uses) ||
           std::any_of(m_devices32.begin(), m_devices32.end(), uses);
}

}  // namespace kestrelink::devsim
