#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

#include "net/device_row.h"
#include "net/listener_hand_over.h"

namespace kestrelink::testing {

struct HandedOver {
    enum class Kind { Announcement, SetResponse };
    Kind kind = Kind::SetResponse;
    // For an announcement, the seven cells the intake forms from it. They are copied on the
    // listener's side because the announcement's texts die with the listener's buffer.
    DeviceRow cells;
};

// Keeps, in order, everything the listener hands over, and returns at once.
class RecordingHandOver final : public ListenerHandOver {
public:
    void TakeInAnnouncement(const Announcement& announcement) override;
    void ShowSetResponse() override;

    std::vector<HandedOver> Events() const;
    // Returns once at least count hand-overs have arrived, or when timeout has passed.
    std::vector<HandedOver> WaitForEvents(std::size_t count,
                                          std::chrono::milliseconds timeout) const;

private:
    void Record(HandedOver event);

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::vector<HandedOver> m_events;
};

}  // namespace kestrelink::testing
