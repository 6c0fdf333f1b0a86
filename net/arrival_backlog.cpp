#include "net/arrival_backlog.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "net/device_list.h"

namespace kestrelink {

bool ArrivalBacklog::Keep(std::span<const Arrival> arrivals) {
    // Formed outside the lock, so that the owner is never held up by the listener's copying.
    std::vector<KeptArrival> kept;
    kept.reserve(arrivals.size());
    for (const Arrival& arrival : arrivals) {
        KeptArrival& added = kept.emplace_back();
        added.kind = arrival.kind;
        if (arrival.kind == Arrival::Kind::Announcement) {
            added.row = PrepareRow(arrival.announcement);
        }
    }
    const std::lock_guard lock(m_mutex);
    const std::size_t room = m_capacity - std::min(m_capacity, m_kept.size());
    const std::size_t fitting = std::min(room, kept.size());
    m_overflowed += kept.size() - fitting;
    std::move(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(fitting),
              std::back_inserter(m_kept));
    if (m_kept.empty() || m_wakeOutstanding) {
        return false;
    }
    m_wakeOutstanding = true;
    return true;
}

bool ArrivalBacklog::TakeOldest(std::vector<KeptArrival>& into, std::size_t most) {
    const std::lock_guard lock(m_mutex);
    const auto end = m_kept.begin() + static_cast<std::ptrdiff_t>(std::min(most, m_kept.size()));
    std::move(m_kept.begin(), end, std::back_inserter(into));
    m_kept.erase(m_kept.begin(), end);
    m_wakeOutstanding = !m_kept.empty();
    return m_wakeOutstanding;
}

std::size_t ArrivalBacklog::Overflowed() const {
    const std::lock_guard lock(m_mutex);
    return m_overflowed;
}

bool TakeInBacklog(ArrivalBacklog& backlog, DeviceList& list,
                   const std::function<void()>& showSetResponse,
                   std::chrono::steady_clock::time_point sliceEnd,
                   const std::function<void(const DeviceRow&)>& heard) {
    // Enough per lock that the listener's copying is seldom held up, few enough that a slice
    // ends close to its time.
    constexpr std::size_t kTakenAtOnce = 256;
    std::vector<KeptArrival> taken;
    taken.reserve(kTakenAtOnce);
    bool more = true;
    // The whole slice reaches the list's observer as one change.
    const DeviceListBatch batch(list);
    // At least one take per slice, so that the backlog shrinks however late the slice starts.
    do {
        taken.clear();
        more = backlog.TakeOldest(taken, kTakenAtOnce);
        for (KeptArrival& arrival : taken) {
            if (arrival.kind == Arrival::Kind::Announcement) {
                if (heard) {
                    heard(arrival.row->Cells());
                }
                TakeInAnnouncement(list, std::move(arrival.row));
            } else {
                showSetResponse();
            }
        }
    } while (more && std::chrono::steady_clock::now() < sliceEnd);
    return more;
}

}  // namespace kestrelink
