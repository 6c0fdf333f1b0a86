#include "tests/support/recording_hand_over.h"

#include <algorithm>

#include "net/intake.h"

namespace kestrelink::testing {

void RecordingHandOver::TakeIn(std::span<const Arrival> arrivals) {
    {
        const std::lock_guard lock(m_mutex);
        for (const Arrival& arrival : arrivals) {
            HandedOver event{
                HandedOver::Kind::SetResponse, {}, arrival.sourceAddress, arrival.sourcePort};
            if (arrival.kind == Arrival::Kind::Announcement) {
                FormedTexts texts;
                const RowCells cells = FormRowCells(arrival.announcement, texts);
                event.kind = HandedOver::Kind::Announcement;
                std::copy(cells.begin(), cells.end(), event.cells.begin());
            }
            m_events.push_back(std::move(event));
        }
        ++m_handOvers;
    }
    m_arrived.notify_all();
}

int RecordingHandOver::HandOvers() const {
    const std::lock_guard lock(m_mutex);
    return m_handOvers;
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

}  // namespace kestrelink::testing
