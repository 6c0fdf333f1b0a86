#include "cli/device_session.h"

#include <algorithm>
#include <string>

#include "cli/diagnostic.h"
#include "cli/discovery_collector.h"
#include "net/config_sender.h"
#include "net/endpoint.h"

namespace kestrelink::cli {

DeviceSession::DeviceSession(InterfaceScope scope)
    : m_interfaces(scope.Names()),
      m_collector(std::make_shared<DiscoveryCollector>(std::move(scope))) {}

DeviceSession::~DeviceSession() = default;

bool DeviceSession::Open(std::ostream& err) {
    m_endpoint = std::make_unique<Endpoint>(m_collector, [&err](std::string_view message) {
        // The window's messages break lines for a message box; here each is one line.
        std::string line(message);
        std::replace(line.begin(), line.end(), '\n', ' ');
        Complain(err, line);
    });
    m_endpoint->LimitToInterfaces(m_interfaces);
    return m_endpoint->OpenEndpoint();
}

void DeviceSession::Probe() {
    m_endpoint->ClearProbesSent();
    m_endpoint->SendProbes();
}

bool DeviceSession::Send(const DiscoveredDevice& device, const IpSettings& settings) {
    const ConfigTarget target{device.mac, std::string(FamilyText(device.family)),
                              device.interfaceName};
    return SendConfigRequest(*m_endpoint, target, settings);
}

}  // namespace kestrelink::cli
