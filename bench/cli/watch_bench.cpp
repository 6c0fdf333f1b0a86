// discover --watch's rounds over 1,000 rounds of 10,000 devices, half of each family, fed to
// the program's own collector as the listener hands announcements over, with the rounds a
// millisecond apart. From the second round on, a tenth of the devices act each round: half of
// them move to another address, half go quiet for four rounds and then answer again, so that
// with --missing-after 3 every round brings 500 changed, 500 vanished and 500 returned devices
// once the first have come round. Every JSON line written is read back and set against the
// events the script implies, round by round.
//
// Targets: every event exactly once and no other, each in its round; the resident memory after
// every round from the eleventh on within 10% of that after the tenth. Exit status 0 when both
// are met. Opens no socket.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/discover_watch.h"
#include "cli/discovery_collector.h"
#include "net/listener_hand_over.h"

namespace {

using kestrelink::Arrival;
using kestrelink::DeviceFamily;
using kestrelink::cli::DiscoveryCollector;

constexpr int kDevices = 10000;
constexpr int kRounds = 1000;
constexpr int kGroups = 10;
constexpr int kQuietRounds = 4;
constexpr int kMissingAfter = 3;
constexpr int kBaselineRound = 10;
constexpr double kMemoryTolerance = 0.10;
// As many as one read of the listener's queue hands over.
constexpr std::size_t kArrivalsPerHandOver = 256;

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

std::string MacText(int device) {
    char text[18];
    std::snprintf(text, sizeof text, "02:77:00:00:%02x:%02x", device >> 8, device & 0xFF);
    return text;
}

std::string IpText(int device, bool moved) {
    return "10." + std::to_string(moved ? 2 : 1) + "." + std::to_string(device / 256) + "." +
           std::to_string(device % 256);
}

int GroupOf(int device) {
    return device % kGroups;
}
// Of each group, the even tenths move and the odd ones go quiet.
bool Moves(int device) {
    return (device / kGroups) % 2 == 0;
}
bool ActsIn(int device, int round) {
    return round >= 2 && round % kGroups == GroupOf(device);
}

bool QuietIn(int device, int round) {
    if (Moves(device)) {
        return false;
    }
    for (int start = round - kQuietRounds + 1; start <= round; ++start) {
        if (ActsIn(device, start)) {
            return true;
        }
    }
    return false;
}

// The script of the devices' behaviour, and the events it should make.
class ScriptedSegment final {
public:
    explicit ScriptedSegment(DiscoveryCollector& heard) : m_heard(heard), m_moved(kDevices) {}

    // The announcements of one round, as the devices that answer send them.
    void Answer(int round) {
        for (int device = 0; device < kDevices; ++device) {
            if (Moves(device) && ActsIn(device, round)) {
                m_moved[device] = !m_moved[device];
            }
        }
        std::vector<std::string> ips;
        std::vector<Arrival> arrivals;
        ips.reserve(kArrivalsPerHandOver);
        for (int device = 0; device < kDevices; ++device) {
            if (QuietIn(device, round)) {
                continue;
            }
            ips.push_back(IpText(device, m_moved[device]));
            arrivals.push_back(ArrivalOf(device, ips.back()));
            if (arrivals.size() == kArrivalsPerHandOver) {
                m_heard.TakeIn(arrivals);
                arrivals.clear();
                ips.clear();
            }
        }
        m_heard.TakeIn(arrivals);
    }

    // "KIND MAC IP" for every event of the round, sorted.
    std::vector<std::string> ExpectedEvents(int round) const {
        std::vector<std::string> events;
        for (int device = 0; device < kDevices; ++device) {
            const std::string ip = IpText(device, m_moved[device]);
            if (round == 1) {
                events.push_back("appeared " + MacText(device) + " " + ip);
            } else if (Moves(device) && ActsIn(device, round)) {
                events.push_back("changed " + MacText(device) + " " + ip);
            } else if (!Moves(device) && ActsIn(device, round - (kMissingAfter - 1))) {
                events.push_back("vanished " + MacText(device) + " " + ip);
            } else if (!Moves(device) && ActsIn(device, round - kQuietRounds)) {
                events.push_back("returned " + MacText(device) + " " + ip);
            }
        }
        std::sort(events.begin(), events.end());
        return events;
    }

private:
    Arrival ArrivalOf(int device, const std::string& ip) {
        Arrival arrival;
        kestrelink::Announcement& announcement = arrival.announcement;
        const bool bits32 = device % 2 == 1;
        announcement.family = bits32 ? DeviceFamily::Bits32 : DeviceFamily::Bits08;
        announcement.serialNumber = static_cast<std::uint32_t>(50000 + device);
        if (bits32) {
            announcement.ipAddressText = ip;
        } else {
            announcement.ipAddress = {10, static_cast<std::uint8_t>(m_moved[device] ? 2 : 1),
                                      static_cast<std::uint8_t>(device / 256),
                                      static_cast<std::uint8_t>(device % 256)};
        }
        announcement.macAddress = {0x02,
                                   0x77,
                                   0,
                                   0,
                                   static_cast<std::uint8_t>(device >> 8),
                                   static_cast<std::uint8_t>(device & 0xFF)};
        announcement.productName = bits32 ? "Bench 32" : "Bench 08";
        announcement.givenName = "unit";
        announcement.version = "1.0";
        return arrival;
    }

    DiscoveryCollector& m_heard;
    std::vector<bool> m_moved;
};

// Splits what the watch writes into lines and keeps each event's "KIND MAC IP" until the
// round's check takes them.
class EventReader final : public std::streambuf {
public:
    std::vector<std::string> TakeRound() {
        std::sort(m_events.begin(), m_events.end());
        return std::exchange(m_events, {});
    }
    long Unreadable() const { return m_unreadable; }

protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof()) {
            return traits_type::not_eof(c);
        }
        if (c != '\n') {
            m_line += static_cast<char>(c);
            return c;
        }
        const auto event = nlohmann::json::parse(m_line, nullptr, false);
        if (event.is_discarded()) {
            ++m_unreadable;
        } else {
            m_events.push_back(event.value("event", "") + " " + event.value("mac", "") + " " +
                               event.value("ip", ""));
        }
        m_line.clear();
        return c;
    }

private:
    std::string m_line;
    std::vector<std::string> m_events;
    long m_unreadable = 0;
};

// How far two sorted lists differ: what the first has and the second lacks.
long Lacking(const std::vector<std::string>& first, const std::vector<std::string>& second) {
    std::vector<std::string> difference;
    std::set_difference(first.begin(), first.end(), second.begin(), second.end(),
                        std::back_inserter(difference));
    return static_cast<long>(difference.size());
}

}  // namespace

int main() {
    DiscoveryCollector heard{kestrelink::cli::InterfaceScope()};
    heard.KeepNews();
    ScriptedSegment segment(heard);
    EventReader reader;
    std::ostream out(&reader);

    int round = 1;
    long events = 0;
    long missing = 0;
    long extra = 0;
    long baseline = 0;
    long highest = 0;
    int highestRound = 0;
    bool stop = false;
    const auto started = std::chrono::steady_clock::now();
    // Each probe ends a round: its events are all written by then.
    const auto probe = [&] {
        const std::vector<std::string> expected = segment.ExpectedEvents(round);
        const std::vector<std::string> seen = reader.TakeRound();
        events += static_cast<long>(seen.size());
        missing += Lacking(expected, seen);
        extra += Lacking(seen, expected);
        const long resident = ResidentKilobytes();
        if (round == kBaselineRound) {
            baseline = resident;
        } else if (round > kBaselineRound && resident > highest) {
            highest = resident;
            highestRound = round;
        }
        if (round == kRounds) {
            stop = true;
            return;
        }
        segment.Answer(++round);
    };
    segment.Answer(round);
    kestrelink::cli::WatchOptions options;
    options.interval = std::chrono::milliseconds(1);
    options.missingAfter = kMissingAfter;
    options.format = kestrelink::cli::OutputFormat::Json;
    kestrelink::cli::WatchSegment(
        heard, probe, options, [&] { return stop; }, out);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    const double growth = baseline > 0 ? static_cast<double>(highest - baseline) / baseline : 1;
    std::printf("%d rounds of %d devices in %.1f s (%.1f ms a round)\n", kRounds, kDevices, seconds,
                seconds * 1000 / kRounds);
    std::printf("events: %ld written, %ld expected but missing, %ld not expected, %ld unreadable\n",
                events, missing, extra, reader.Unreadable());
    std::printf(
        "resident memory: %ld kB after round %d, at most %ld kB after (round %d): %+.1f%%\n",
        baseline, kBaselineRound, highest, highestRound, growth * 100);
    const bool met = missing == 0 && extra == 0 && reader.Unreadable() == 0 && round == kRounds &&
                     growth <= kMemoryTolerance;
    std::printf("%s\n", met ? "targets met" : "TARGETS MISSED");
    return met ? 0 : 1;
}
