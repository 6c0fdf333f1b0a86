#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
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
    // For a set response, where it came from.
    std::uint32_t sourceAddress = 0;
    std::uint16_t sourcePort = 0;
};

// Keeps, in order, everything the listener hands over, and returns at once.
class RecordingHandOver final : public ListenerHandOver {
public:
    void TakeIn(std::span<const Arrival> arrivals) override;

    // Each arrival of every hand-over, in order.
    std::vector<HandedOver> Events() const;
    // How many hand-overs brought them.
    int HandOvers() const;
    // Returns once at least count arrivals have been handed over, or when timeout has passed.
    std::vector<HandedOver> WaitForEvents(std::size_t count,
                                          std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::vector<HandedOver> m_events;
    int m_handOvers = 0;
};

}  // namespace kestrelink::testing
