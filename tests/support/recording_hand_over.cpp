#include "tests/support/recording_hand_over.h"

#include <algorithm>

#include "net/intake.h"

namespace kestrelink::testing {

void RecordingHandOver::TakeInAnnouncement(const Announcement& announcement) {
    FormedTexts texts;
    const RowCells cells = FormRowCells(announcement, texts);
    HandedOver event{HandedOver::Kind::Announcement, {}};
    std::copy(cells.begin(), cells.end(), event.cells.begin());
    Record(std::move(event));
}

void RecordingHandOver::ShowSetResponse() {
    Record({HandedOver::Kind::SetResponse, {}});
}

std::vector<HandedOver> RecordingHandOver::Events() const {
    const std::lock_guard lock(m_mutex);
    return m_events;
}

std::vector<HandedOver> RecordingHandOver::WaitForEvents(std::size_t count,
                                                         std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    m_arrived.wait_for(lock, timeout, [&] { return m_events.size() >= count; });
    return m_events;
}

void RecordingHandOver::Record(HandedOver event) {
    {
        const std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }
    m_arrived.notify_all();
}

}  // namespace kestrelink::testing
