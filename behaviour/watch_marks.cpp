#include "behaviour/watch_marks.h"

#include <ctime>

#include "net/device_comparison.h"
#include "net/device_list.h"

namespace kestrelink {

void WatchMarks::StartWatching(const DeviceList& list, Clock::time_point now) {
    m_watching = true;
    m_roundAfterForget = false;
    m_rounds.Clear();
    RowCells cells;
    for (int row = 0; row < list.RowCount(); ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            cells[static_cast<std::size_t>(column)] = list.CellText(row, column);
        }
        m_rounds.Know(cells, now);
    }
}

void WatchMarks::StopWatching() {
    m_watching = false;
    m_rounds.Clear();
}

void WatchMarks::Heard(const DeviceRow& device, Clock::time_point now) {
    if (!m_watching) {
        return;
    }
    const std::optional<WatchEvent> event = m_rounds.Heard(CellsOf(device), now);
    if (event && event->kind == WatchEventKind::Appeared && !m_roundAfterForget) {
        m_new.emplace(device[kColumnMac]);
    }
}

void WatchMarks::EndRound(Clock::time_point now) {
    if (m_watching) {
        // Quiet devices are read from the rounds' standing when drawn.
        m_rounds.EndRound(now);
        m_roundAfterForget = false;
    }
}

void WatchMarks::Forget() {
    m_rounds.Clear();
    m_new.clear();
    m_roundAfterForget = m_watching;
}

RowMark WatchMarks::MarkOf(std::string_view macText) const {
    if (const WatchRounds::Standing* standing = m_rounds.Find(macText);
        standing != nullptr && standing->vanished) {
        return RowMark::Quiet;
    }
    return m_new.find(macText) != m_new.end() ? RowMark::New : RowMark::None;
}

std::optional<WatchMarks::Clock::time_point> WatchMarks::LastHeard(std::string_view macText) const {
    const WatchRounds::Standing* standing = m_rounds.Find(macText);
    if (standing == nullptr) {
        return std::nullopt;
    }
    return standing->lastHeard;
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
