#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink::devsim {

struct SimulatorOptions;

struct EmulatedDevice {
    device::Family family = device::Family::Bits08;
    device::Mac macAddress{};
    std::uint32_t ipAddress = 0;  // first octet most significant
    std::uint32_t subnetMask = 0;
    std::uint32_t gateway = 0;
    std::uint32_t dnsServer = 0;
    std::uint32_t serialNumber = 0;
    std::string productName;
    std::string givenName;
    std::string version;
    // While restarting to take new settings, a device answers no probe.
    std::chrono::steady_clock::time_point silentUntil{};
};

device::AnnouncementFields FieldsOf(const EmulatedDevice& device);
std::vector<std::uint8_t> EncodeDevice(const EmulatedDevice& device);

enum class ConfigOutcome { NotAddressed, WrongPassword, Applied };

struct ConfigResult {
    ConfigOutcome outcome = ConfigOutcome::NotAddressed;
    const EmulatedDevice* device = nullptr;  // the addressed device, unless NotAddressed
    bool leased = false;                     // the address came from the DHCP pool
};

// The emulated devices of both families and what configuration requests have made of them.
class DeviceSet final {
public:
    explicit DeviceSet(const SimulatorOptions& options);
    DeviceSet(const DeviceSet&) = delete;
    DeviceSet& operator=(const DeviceSet&) = delete;

    std::span<const EmulatedDevice> Devices(device::Family family) const;

    // Only a device of the request's own family answers to its MAC, as each family listens on
    // its own port. Changes nothing; Applied means the request would be.
    ConfigResult Admit(device::Family family, const device::ReceivedConfig& config);
    // Admits the request and, if it passes, takes its settings; the device then answers no
    // probe until silentUntil.
    ConfigResult ApplyConfig(device::Family family, const device::ReceivedConfig& config,
                             std::chrono::steady_clock::time_point silentUntil = {});

private:
    EmulatedDevice* Addressed(device::Family family, const device::ReceivedConfig& config);
    std::uint32_t LeaseAddress();
    bool AddressInUse(std::uint32_t address) const;

    std::vector<EmulatedDevice> m_devices08;
    std::vector<EmulatedDevice> m_devices32;
    std::optional<std::string> m_password;
    std::uint32_t m_nextLease;
};

}  // namespace kestrelink::devsim
