#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

#include "net/device_list.h"
#include "net/device_row.h"
#include "net/listener_hand_over.h"

namespace kestrelink::testing {

// Stands in for the window's hand-over: the intake runs on the listener thread, into a device
// list that a mutex shares with the test.
class LockedListHandOver final : public ListenerHandOver {
public:
    void TakeIn(std::span<const Arrival> arrivals) override;

    // Runs action on the list under the lock, as the window's thread would.
    void WithList(const std::function<void(DeviceList&)>& action);
    // True once done holds for the list, checked after every change; false at the timeout.
    bool WaitUntil(const std::function<bool(const DeviceList&)>& done,
                   std::chrono::milliseconds timeout);
    bool WaitForSetResponses(int count, std::chrono::milliseconds timeout);

    std::vector<DeviceRow> Rows() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    DeviceList m_list;
    int m_setResponses = 0;
};

}  // namespace kestrelink::testing
