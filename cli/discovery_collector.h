#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/discovered_device.h"
#include "cli/interface_scope.h"
#include "net/listener_hand_over.h"

namespace kestrelink::cli {

// The listener's hand-over for a program without a window: each announcement is copied into a
// record under a lock, the latest one per MAC, and whoever waits is woken.
class DiscoveryCollector final : public ListenerHandOver {
public:
    using DevicesByMac = std::map<std::string, DiscoveredDevice>;

    explicit DiscoveryCollector(InterfaceScope scope);

    // A set response is only counted: nobody is there to see a box.
    void TakeIn(std::span<const Arrival> arrivals) override;

    // Drops every record, so that only devices heard from now on count.
    void Forget();
    // True once done holds for the records, checked after every change; false at the timeout.
    bool WaitUntil(const std::function<bool(const DevicesByMac&)>& done,
                   std::chrono::milliseconds timeout);
    std::vector<DiscoveredDevice> Devices() const;
    std::optional<DiscoveredDevice> Find(const std::string& mac) const;
    int SetResponses() const;

private:
    const InterfaceScope m_scope;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    DevicesByMac m_devices;
    int m_setResponses = 0;
};

}  // namespace kestrelink::cli
