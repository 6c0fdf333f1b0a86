#include "net/watch_rounds.h"

#include <algorithm>

#include "net/device_comparison.h"

namespace kestrelink {
namespace {

void CopyCells(const RowCells& cells, DeviceRow& row) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        row[i].assign(cells[i]);
    }
}

DeviceRow RowOf(const RowCells& cells) {
    DeviceRow row;
    CopyCells(cells, row);
    return row;
}

}  // namespace

WatchRounds::WatchRounds(int missingAfter) : m_missingAfter(std::max(1, missingAfter)) {}

void WatchRounds::Know(const RowCells& device, Time heardAt) {
    Watched& watched = m_devices[std::string(device[kColumnMac])];
    CopyCells(device, watched.device);
    watched.standing = {0, false, heardAt};
}

std::optional<WatchEvent> WatchRounds::Heard(const RowCells& device, Time at) {
    const auto found = m_devices.find(device[kColumnMac]);
    if (found == m_devices.end()) {
        Watched watched{RowOf(device), {0, false, at}, m_round};
        m_devices.emplace(std::string(device[kColumnMac]), watched);
        return WatchEvent{WatchEventKind::Appeared, std::move(watched.device), {}, at};
    }
    Watched& watched = found->second;
    const bool returned = watched.standing.vanished;
    const bool changed = DiffersInWhatIsCompared(CellsOf(watched.device), device);
    std::optional<WatchEvent> event;
    if (returned || changed) {
        event = WatchEvent{returned ? WatchEventKind::Returned : WatchEventKind::Changed,
                           RowOf(device), watched.device, at};
    }
    CopyCells(device, watched.device);
    watched.standing = {0, false, at};
    watched.heardInRound = m_round;
    return event;
}

std::vector<WatchEvent> WatchRounds::EndRound(Time at) {
    std::vector<WatchEvent> vanished;
    for (auto& [mac, watched] : m_devices) {
        if (watched.heardInRound == m_round) {
            continue;
        }
        Standing& standing = watched.standing;
        ++standing.missedRounds;
        if (!standing.vanished && standing.missedRounds >= m_missingAfter) {
            standing.vanished = true;
            vanished.push_back({WatchEventKind::Vanished, watched.device, {}, at});
        }
    }
    ++m_round;
    // The map's order is no order at all: a log reads better, and a test can say what it
    // expects, by MAC.
    std::sort(vanished.begin(), vanished.end(), [](const WatchEvent& a, const WatchEvent& b) {
        return a.device[kColumnMac] < b.device[kColumnMac];
    });
    return vanished;
}

void WatchRounds::Clear() {
    m_devices.clear();
}

const WatchRounds::Standing* WatchRounds::Find(std::string_view mac) const {
    const auto found = m_devices.find(mac);
    return found == m_devices.end() ? nullptr : &found->second.standing;
}

}  // namespace kestrelink
