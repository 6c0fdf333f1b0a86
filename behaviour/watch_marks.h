#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "net/device_row.h"
#include "net/watch_rounds.h"

namespace kestrelink {

class DeviceList;

enum class RowMark { None, New, Changed, Quiet };

// What the window's watch of the segment has seen, round by round: which devices came since it
// began, and which have gone quiet. The rounds themselves are WatchRounds'.
class WatchMarks final {
public:
    using Clock = std::chrono::system_clock;

    // The list's rows are the devices known as watching begins: not new, and missing rounds like
    // any other from now on.
    void StartWatching(const DeviceList& list, Clock::time_point now);
    // The rounds end; the new marks stay until Forget.
    void StopWatching();
    bool Watching() const { return m_watching; }
    // An announcement, while watching.
    void Heard(const DeviceRow& device, Clock::time_point now);
    // The round begun at the last probes is over; the next begins now.
    void EndRound(Clock::time_point now);
    // Discover: the list starts again, and the watch with it. While watching, the devices that
    // answer in the round the Discover falls in are the segment as it is, not new.
    void Forget();

    // New, Quiet or None for the row of the device with this MAC text.
    RowMark MarkOf(std::string_view macText) const;
    // When a device was last heard; nullopt when it is not watched.
    std::optional<Clock::time_point> LastHeard(std::string_view macText) const;

private:
    bool m_watching = false;
    bool m_roundAfterForget = false;
    WatchRounds m_rounds;
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    // Looked up for every row drawn and counted: by string_view, without a copy.
    std::unordered_set<std::string, TextHash, std::equal_to<>> m_new;
};

// "not heard since HH:MM:SS", in local time.
std::string NotHeardSinceText(WatchMarks::Clock::time_point lastHeard);

}  // namespace kestrelink
