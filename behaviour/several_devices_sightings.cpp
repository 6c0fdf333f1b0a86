#include "behaviour/several_devices_sightings.h"

#include <string>
#include <utility>

#include "net/device_row.h"
#include "net/intake.h"

namespace kestrelink {

SeveralDevicesSightings::SeveralDevicesSightings(std::shared_ptr<ListenerHandOver> next)
    : m_next(std::move(next)) {}

void SeveralDevicesSightings::TakeIn(std::span<const Arrival> arrivals) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_keeping) {
            const std::size_t before = m_kept.size();
            for (const Arrival& arrival : arrivals) {
                if (arrival.kind != Arrival::Kind::Announcement) {
                    continue;
                }
                FormedTexts texts;
                const RowCells cells = FormRowCells(arrival.announcement, texts);
                m_kept.push_back(
                    {std::string(cells[kColumnMac]),
                     {std::string(cells[kColumnIp]), std::string(cells[kColumnGivenName])}});
            }
            if (m_kept.size() != before) {
                m_arrived.notify_all();
            }
        }
    }
    m_next->TakeIn(arrivals);
}

void SeveralDevicesSightings::Keep() {
    const std::lock_guard lock(m_mutex);
    m_keeping = true;
    m_interrupted = false;
    m_kept.clear();
}

void SeveralDevicesSightings::Drop() {
    const std::lock_guard lock(m_mutex);
    m_keeping = false;
    m_kept.clear();
}

std::vector<provisioning::Sighting> SeveralDevicesSightings::Take(Clock::time_point wake) {
    std::unique_lock lock(m_mutex);
    m_arrived.wait_until(lock, wake, [this] { return !m_kept.empty() || m_interrupted; });
    return std::exchange(m_kept, {});
}

void SeveralDevicesSightings::WaitUntil(Clock::time_point wake) {
    std::unique_lock lock(m_mutex);
    m_interruptedChanged.wait_until(lock, wake, [this] { return m_interrupted; });
}

void SeveralDevicesSightings::Interrupt() {
    const std::lock_guard lock(m_mutex);
    m_interrupted = true;
    m_arrived.notify_all();
    m_interruptedChanged.notify_all();
}

}  // namespace kestrelink
