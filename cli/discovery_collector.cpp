#include "cli/discovery_collector.h"

#include <utility>

namespace kestrelink::cli {

DiscoveryCollector::DiscoveryCollector(InterfaceScope scope) : m_scope(std::move(scope)) {}

void DiscoveryCollector::TakeIn(std::span<const Arrival> arrivals) {
    std::lock_guard lock(m_mutex);
    for (const Arrival& arrival : arrivals) {
        if (arrival.kind == Arrival::Kind::SetResponse) {
            m_setResponses.push_back({arrival.sourceAddress, arrival.sourcePort});
            continue;
        }
        DiscoveredDevice device =
            RecordOf(arrival.announcement, ArrivalInterface(arrival.announcement));
        if (m_scope.Admits(device.interfaceName)) {
            if (m_keepingNews) {
                m_news.push_back(device);
            }
            const std::string mac = device.mac;
            m_devices.insert_or_assign(mac, std::move(device));
        }
    }
    m_changed.notify_all();
}

void DiscoveryCollector::KeepNews() {
    std::lock_guard lock(m_mutex);
    m_keepingNews = true;
    m_news.clear();
}

std::vector<DiscoveredDevice> DiscoveryCollector::TakeNews(
    std::chrono::steady_clock::time_point wake) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_until(lock, wake, [this] { return !m_news.empty(); });
    return std::exchange(m_news, {});
}

bool DiscoveryCollector::WaitUntil(const std::function<bool(const DevicesByMac&)>& done,
                                   std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return done(m_devices); });
}

std::vector<DiscoveredDevice> DiscoveryCollector::Devices() const {
    std::lock_guard lock(m_mutex);
    std::vector<DiscoveredDevice> devices;
    devices.reserve(m_devices.size());
    for (const auto& [mac, device] : m_devices) {
        devices.push_back(device);
    }
    return ListInOrder(std::move(devices));
}

std::optional<DiscoveredDevice> DiscoveryCollector::Find(const std::string& mac) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_devices.find(mac);
    if (found == m_devices.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::vector<DiscoveryCollector::Sender> DiscoveryCollector::SetResponses() const {
    std::lock_guard lock(m_mutex);
    return m_setResponses;
}

}  // namespace kestrelink::cli
