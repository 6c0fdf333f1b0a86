#pragma once

#include <chrono>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/interface_scope.h"

namespace kestrelink {
class Endpoint;
struct IpSettings;
}  // namespace kestrelink

namespace kestrelink::cli {

class DiscoveryCollector;
struct DiscoveredDevice;

// How long a command listens for devices unless told otherwise.
inline constexpr std::chrono::milliseconds kDefaultWait{2000};

// The endpoint for the length of one command: it listens from Open until the session goes, so
// that devices heard while discovering, configuring and verifying all land in one collector.
class DeviceSession final {
public:
    explicit DeviceSession(InterfaceScope scope);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Opens the endpoint, whose listener sends the first probe pair by itself. False once the
    // failure is on err.
    bool Open(std::ostream& err);
    // Sends the probe pair again.
    void Probe();
    // The request of the device's family, once; true only when the whole datagram left.
    bool Send(const DiscoveredDevice& device, const IpSettings& settings);

    DiscoveryCollector& Heard() { return *m_collector; }

private:
    std::vector<std::string> m_interfaces;
    std::shared_ptr<DiscoveryCollector> m_collector;
    std::unique_ptr<Endpoint> m_endpoint;
};

}  // namespace kestrelink::cli
