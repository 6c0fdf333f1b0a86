#include "cli/discover_watch.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <unordered_map>

#include "cli/discovery_collector.h"

namespace kestrelink::cli {
namespace {

using SteadyClock = std::chrono::steady_clock;
using SystemClock = std::chrono::system_clock;

// How soon a stop is seen while nothing arrives.
constexpr std::chrono::milliseconds kStopCheck{100};

// The events of one watch, written as they come, with the count of present devices per IP that
// tells a conflict.
class EventReport final {
public:
    EventReport(DiscoveryCollector& heard, std::ostream& out, OutputFormat format)
        : m_heard(heard), m_writer(out, format) {}

    void Report(const WatchEvent& event, const DiscoveredDevice* device);

private:
    void Count(const std::string& ip, int change);

    DiscoveryCollector& m_heard;
    EventWriter m_writer;
    std::unordered_map<std::string, int> m_presentPerIp;
};

void EventReport::Count(const std::string& ip, int change) {
    const auto [entry, added] = m_presentPerIp.try_emplace(ip, 0);
    entry->second += change;
    if (entry->second <= 0) {
        m_presentPerIp.erase(entry);
    }
}

void EventReport::Report(const WatchEvent& event, const DiscoveredDevice* device) {
    const std::string& ip = event.device[kColumnIp];
    switch (event.kind) {
        case WatchEventKind::Appeared:
        case WatchEventKind::Returned:
            Count(ip, 1);
            break;
        case WatchEventKind::Changed:
            Count(event.was[kColumnIp], -1);
            Count(ip, 1);
            break;
        case WatchEventKind::Vanished:
            Count(ip, -1);
            break;
    }
    DeviceEvent written;
    written.kind = event.kind;
    written.time = event.time;
    written.wasIp = event.was[kColumnIp];
    written.wasName = event.was[kColumnGivenName];
    written.wasVersion = event.was[kColumnVersion];
    if (device != nullptr) {
        written.device = *device;
    } else if (auto last = m_heard.Find(event.device[kColumnMac])) {
        written.device = std::move(*last);
    } else {
        written.device = DeviceOfRow(event.device);
    }
    const auto present = m_presentPerIp.find(ip);
    written.device.conflict = present != m_presentPerIp.end() && present->second > 1;
    m_writer.Write(written);
}

}  // namespace

ExitStatus WatchSegment(DiscoveryCollector& heard, const std::function<void()>& probe,
                        const WatchOptions& options, const std::function<bool()>& stopRequested,
                        std::ostream& out) {
    WatchRounds rounds(options.missingAfter);
    EventReport report(heard, out, options.format);
    auto roundEnd = SteadyClock::now() + options.interval;
    while (!stopRequested() && out) {
        const auto wake = std::min(roundEnd, SteadyClock::now() + kStopCheck);
        for (const DiscoveredDevice& device : heard.TakeNews(wake)) {
            const DeviceRow row = RowOf(device);
            if (auto event = rounds.Heard(CellsOf(row), SystemClock::now())) {
                report.Report(*event, &device);
            }
        }
        const auto now = SteadyClock::now();
        if (now < roundEnd) {
            continue;
        }
        for (const WatchEvent& event : rounds.EndRound(SystemClock::now())) {
            report.Report(event, nullptr);
        }
        probe();
        roundEnd += options.interval;
        if (roundEnd < now) {
            roundEnd = now + options.interval;
        }
    }
    return out ? ExitStatus::Success : ExitStatus::Failure;
}

}  // namespace kestrelink::cli
