#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
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

    // Where a set response came from: the device is whichever announces that address.
    struct Sender {
        std::uint32_t address = 0;  // first octet most significant
        std::uint16_t port = 0;
    };

    // True once done holds for the records, checked after every change; false at the timeout.
    bool WaitUntil(const std::function<bool(const DevicesByMac&)>& done,
                   std::chrono::milliseconds timeout);
    std::vector<DiscoveredDevice> Devices() const;
    std::optional<DiscoveredDevice> Find(const std::string& mac) const;
    std::vector<Sender> SetResponses() const;

    // From now on every announcement is also kept in arrival order for TakeNews.
    void KeepNews();
    // The announcements kept since the last call; waits until there is one or until wake.
    std::vector<DiscoveredDevice> TakeNews(std::chrono::steady_clock::time_point wake);

private:
    const InterfaceScope m_scope;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    DevicesByMac m_devices;
    std::vector<Sender> m_setResponses;
    bool m_keepingNews = false;
    std::vector<DiscoveredDevice> m_news;
};

}  // namespace kestrelink::cli
