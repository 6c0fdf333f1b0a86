#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "net/device_row.h"

namespace kestrelink {

// How often a watch probes, and after how many rounds in a row without an answer a device counts
// as gone, unless told otherwise.
inline constexpr std::chrono::seconds kWatchInterval{15};
inline constexpr int kWatchMissingAfter = 3;

enum class WatchEventKind { Appeared, Changed, Vanished, Returned };

struct WatchEvent {
    WatchEventKind kind = WatchEventKind::Appeared;
    // As heard; for Vanished, as last heard.
    DeviceRow device;
    // Changed and Returned: the device as heard before, which for Returned may be the same.
    DeviceRow was;
    std::chrono::system_clock::time_point time;
};

// A segment watched round by round. A round is one probe and what is heard until the next:
// the caller tells each device heard, then ends the round. Each event is handed out once, as it
// happens: Appeared (a MAC not heard before), Changed (its address, given name or version
// differ from when it was last heard), Returned (heard again after it vanished, whether changed
// or not) from Heard; Vanished from EndRound, once a device has missed missingAfter rounds in a
// row, in the order of their MACs. A device that misses fewer rounds and answers again makes no
// event.
class WatchRounds final {
public:
    using Time = std::chrono::system_clock::time_point;

    explicit WatchRounds(int missingAfter = kWatchMissingAfter);
    WatchRounds(const WatchRounds&) = delete;
    WatchRounds& operator=(const WatchRounds&) = delete;

    // A device already known when watching begins, such as a row the window lists: it makes no
    // Appeared, and like every device it misses a round in which it is not heard.
    void Know(const RowCells& device, Time heardAt);
    // A device heard in the current round, and the event that makes, if any.
    std::optional<WatchEvent> Heard(const RowCells& device, Time at);
    // Ends the current round, in which every device not heard has missed one more round; the
    // devices that have now missed missingAfter in a row vanish, each with time at.
    std::vector<WatchEvent> EndRound(Time at);
    // Every device forgotten, as at the start.
    void Clear();

    struct Standing {
        int missedRounds = 0;  // in a row, up to the last round ended
        bool vanished = false;
        Time lastHeard;
    };
    // nullptr for a MAC never heard nor known.
    const Standing* Find(std::string_view mac) const;
    std::size_t DeviceCount() const { return m_devices.size(); }

private:
    struct Watched {
        DeviceRow device;
        Standing standing;
        std::uint64_t heardInRound = 0;  // 0: never
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    int m_missingAfter;
    std::uint64_t m_round = 1;
    std::unordered_map<std::string, Watched, TextHash, std::equal_to<>> m_devices;
};

}  // namespace kestrelink
