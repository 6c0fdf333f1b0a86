#include "tests/e2e/locked_list_hand_over.h"

#include "net/intake.h"

namespace kestrelink::testing {

void LockedListHandOver::TakeIn(std::span<const Arrival> arrivals) {
    std::lock_guard lock(m_mutex);
    for (const Arrival& arrival : arrivals) {
        if (arrival.kind == Arrival::Kind::Announcement) {
            TakeInAnnouncement(m_list, arrival.announcement);
        } else {
            ++m_setResponses;
        }
    }
    m_changed.notify_all();
}

void LockedListHandOver::WithList(const std::function<void(DeviceList&)>& action) {
    std::lock_guard lock(m_mutex);
    action(m_list);
    m_changed.notify_all();
}

bool LockedListHandOver::WaitUntil(const std::function<bool(const DeviceList&)>& done,
                                   std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return done(m_list); });
}

bool LockedListHandOver::WaitForSetResponses(int count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_setResponses >= count; });
}

std::vector<DeviceRow> LockedListHandOver::Rows() const {
    std::lock_guard lock(m_mutex);
    std::vector<DeviceRow> rows(static_cast<std::size_t>(m_list.RowCount()));
    for (int row = 0; row < m_list.RowCount(); ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                m_list.CellText(row, column);
        }
    }
    return rows;
}

}  // namespace kestrelink::testing
