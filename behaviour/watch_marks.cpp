#include "behaviour/watch_marks.h"

#include <ctime>

#include "net/row_comparators.h"

namespace kestrelink {

void WatchMarks::StartWatching(Clock::time_point now) {
    m_watching = true;
    m_roundAfterForget = false;
    m_watchStart = now;
    m_roundStart = now;
    m_endedRounds.clear();
}

void WatchMarks::StopWatching() {
    m_watching = false;
    m_endedRounds.clear();
}

void WatchMarks::Heard(const DeviceRow& device, bool listed, Clock::time_point now) {
    if (!m_watching) {
        return;
    }
    const auto [entry, added] = m_seen.try_emplace(MacTextToNumber(device[kColumnMac]));
    entry->second.last = now;
    if (added) {
        entry->second.isNew = !listed && !m_roundAfterForget;
    }
}

void WatchMarks::EndRound(Clock::time_point now) {
    if (!m_watching) {
        return;
    }
    m_endedRounds.push_back(m_roundStart);
    if (m_endedRounds.size() > static_cast<std::size_t>(kWatchMissingAfter)) {
        m_endedRounds.pop_front();
    }
    m_roundStart = now;
    m_roundAfterForget = false;
}

void WatchMarks::Forget() {
    m_seen.clear();
    m_endedRounds.clear();
    m_roundAfterForget = m_watching;
}

RowMark WatchMarks::MarkOf(std::string_view macText) const {
    const auto found = m_seen.find(MacTextToNumber(macText));
    // Not heard since the oldest of the last rounds began: it missed every one of them. A row
    // listed before watching and not heard since has missed every round.
    if (m_watching && m_endedRounds.size() == static_cast<std::size_t>(kWatchMissingAfter) &&
        (found == m_seen.end() || found->second.last < m_endedRounds.front())) {
        return RowMark::Quiet;
    }
    return found != m_seen.end() && found->second.isNew ? RowMark::New : RowMark::None;
}

WatchMarks::Clock::time_point WatchMarks::LastHeard(std::string_view macText) const {
    const auto found = m_seen.find(MacTextToNumber(macText));
    return found != m_seen.end() ? found->second.last : m_watchStart;
}

std::string NotHeardSinceText(WatchMarks::Clock::time_point lastHeard) {
    const std::time_t seconds = WatchMarks::Clock::to_time_t(lastHeard);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32] = {};
    std::strftime(text, sizeof text, "not heard since %H:%M:%S", &local);
    return text;
}

}  // namespace kestrelink
