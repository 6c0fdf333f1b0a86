#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "net/device_row.h"
#include "net/watch_rounds.h"

namespace kestrelink {

enum class RowMark { None, New, Changed, Quiet };

// What the window's watch of the segment has seen, round by round: which devices came since it
// began, and which have missed kWatchMissingAfter rounds in a row. A round costs the same
// however many devices are listed: a device's standing is read from when it was last heard and
// when the last rounds began, as it is drawn, rather than counted device by device at each round's
// end, which at a /16 holds the window's thread for longer than a user waits.
class WatchMarks final {
public:
    using Clock = std::chrono::system_clock;

    // The rows listed now count as last heard now.
    void StartWatching(Clock::time_point now);
    // The rounds end; the new marks stay until Forget.
    void StopWatching();
    bool Watching() const { return m_watching; }
    // An announcement, while watching; listed: the list already has a row for the device.
    void Heard(const DeviceRow& device, bool listed, Clock::time_point now);
    // The round begun at the last probes is over; the next begins now.
    void EndRound(Clock::time_point now);
    // Discover: the list starts again, and the watch with it. While watching, the devices that
    // answer in the round the Discover falls in are the segment as it is, not new.
    void Forget();

    // New, Quiet or None for the row of the device with this MAC text.
    RowMark MarkOf(std::string_view macText) const;
    // When a listed device was last heard, as far as watching knows.
    Clock::time_point LastHeard(std::string_view macText) const;

private:
    struct Seen {
        Clock::time_point last;
        bool isNew = false;
    };

    bool m_watching = false;
    bool m_roundAfterForget = false;
    Clock::time_point m_watchStart;
    Clock::time_point m_roundStart;
    // When the rounds that are over began, the oldest first, as many as make a device quiet.
    std::deque<Clock::time_point> m_endedRounds;
    // By the MAC's number: looked up for every announcement and every row drawn or counted.
    std::unordered_map<unsigned long long, Seen> m_seen;
};

// "not heard since HH:MM:SS", in local time.
std::string NotHeardSinceText(WatchMarks::Clock::time_point lastHeard);

}  // namespace kestrelink
