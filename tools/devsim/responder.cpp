#include "tools/devsim/responder.h"

#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "net/text_forms.h"
#include "tools/device_protocol/device_datagrams.h"
#include "tools/devsim/device_set.h"
#include "tools/devsim/options.h"
#include "tools/devsim/stop_signal.h"

namespace kestrelink::devsim {
namespace {

using Clock = std::chrono::steady_clock;

// Larger than anything of the protocol, so that an odd datagram is seen at its full length.
constexpr std::size_t kReceiveBufferBytes = 512;

const char* FamilyName(device::Family family) {
    return family == device::Family::Bits32 ? "32bits" : "08bits";
}

std::uint64_t SeedOf(const SimulatorOptions& options) {
    if (options.seed) {
        return *options.seed;
    }
    std::random_device entropy;
    return std::uint64_t{entropy()} << 32 | entropy();
}

timespec ToTimespec(Clock::duration duration) {
    const auto clamped = std::max(duration, Clock::duration::zero());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(clamped);
    const auto nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(clamped - seconds);
    return {static_cast<time_t>(seconds.count()), static_cast<long>(nanoseconds.count())};
}

}  // namespace

Responder::Responder(const SimulatorOptions& options, DeviceSet& devices, std::FILE* report)
    : m_options(options), m_devices(devices), m_report(report), m_random(SeedOf(options)) {}

int Responder::Run(const StopSignals& stop) {
    for (const device::Family family : {device::Family::Bits08, device::Family::Bits32}) {
        if (!SocketOf(family).Open(device::PortOf(family))) {
            std::fprintf(stderr, "kestrelink-devsim: cannot bind UDP port %u: %s\n",
                         unsigned{device::PortOf(family)}, std::strerror(errno));
            return 1;
        }
    }
    std::fprintf(m_report, "listening 08bits=%d 32bits=%d\n", m_options.devices08,
                 m_options.devices32);
    std::fflush(m_report);

    std::optional<Clock::time_point> end;
    if (m_options.exitAfter) {
        end = Clock::now() + *m_options.exitAfter;
    }
    std::array<pollfd, 2> watched{
        {{m_socket08.Handle(), POLLIN, 0}, {m_socket32.Handle(), POLLIN, 0}}};
    while (!stop.Requested()) {
        SendDueReplies();
        ApplyDueRequests();
        const Clock::time_point now = Clock::now();
        if (end && now >= *end) {
            break;
        }
        std::optional<Clock::time_point> wake = m_replies.NextDue();
        if (!m_held.empty()) {
            wake = wake ? std::min(*wake, m_held.front().due) : m_held.front().due;
        }
        if (end) {
            wake = wake ? std::min(*wake, *end) : *end;
        }
        const std::optional<timespec> timeout =
            wake ? std::optional(ToTimespec(*wake - now)) : std::nullopt;
        if (::ppoll(watched.data(), watched.size(), timeout ? &*timeout : nullptr,
                    stop.WaitMask()) < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::fprintf(stderr, "kestrelink-devsim: wait failed: %s\n", std::strerror(errno));
            return 1;
        }
        if (watched[0].revents & POLLIN) {
            Drain(device::Family::Bits08);
        }
        if (watched[1].revents & POLLIN) {
            Drain(device::Family::Bits32);
        }
    }
    return 0;
}

DeviceSocket& Responder::SocketOf(device::Family family) {
    return family == device::Family::Bits32 ? m_socket32 : m_socket08;
}

void Responder::Drain(device::Family family) {
    std::array<std::uint8_t, kReceiveBufferBytes> buffer{};
    while (const auto received = SocketOf(family).Receive(buffer)) {
        if (received->length <= buffer.size()) {
            Handle(family, std::span(buffer).first(received->length), received->source);
        }
    }
}

void Responder::Handle(device::Family family, std::span<const std::uint8_t> datagram,
                       const Destination& source) {
    if (device::IsProbe(family, datagram)) {
        AnswerProbe(family, source);
    } else {
        ApplyConfig(family, datagram, source);
    }
}

void Responder::AnswerProbe(device::Family family, const Destination& prober) {
    std::vector<std::vector<std::uint8_t>> before;
    std::vector<std::vector<std::uint8_t>> after;
    const auto all = m_devices.Devices(family);
    for (const MalformedKind kind : m_options.malformed) {
        if (auto extra = BuildMalformed(kind, family, all)) {
            (extra->afterAnnouncements ? after : before).push_back(std::move(extra->bytes));
        }
    }
    const Clock::time_point probed = Clock::now();
    std::vector<const EmulatedDevice*> devices;
    devices.reserve(all.size());
    for (const EmulatedDevice& device : all) {
        if (device.silentUntil <= probed) {
            devices.push_back(&device);
        }
    }
    std::fprintf(m_report, "probe %s from %s:%u announcements=%zu malformed=%zu\n",
                 FamilyName(family), FormatDottedQuad(prober.address).CString(),
                 unsigned{prober.port}, devices.size(), before.size() + after.size());
    std::fflush(m_report);

    if (m_options.burst) {
        DeviceSocket& socket = SocketOf(family);
        for (const auto& datagram : before) {
            socket.SendTo(datagram, prober);
        }
        for (const EmulatedDevice* device : devices) {
            socket.SendTo(EncodeDevice(*device), prober);
        }
        for (const auto& datagram : after) {
            socket.SendTo(datagram, prober);
        }
        return;
    }
    for (auto& datagram : before) {
        m_replies.Push(probed, family, prober, std::move(datagram));
    }
    for (const EmulatedDevice* device : devices) {
        m_replies.Push(probed + NextDelay(), family, prober, EncodeDevice(*device));
    }
    // The latest moment any announcement can fall due; queued later, so sent after them.
    for (auto& datagram : after) {
        m_replies.Push(probed + m_options.jitter, family, prober, std::move(datagram));
    }
}

void Responder::ApplyConfig(device::Family family, std::span<const std::uint8_t> datagram,
                            const Destination& requester) {
    const auto request = device::DecodeConfigRequest(family, datagram);
    if (!request) {
        return;
    }
    const ConfigResult result = m_devices.Admit(family, *request);
    if (result.outcome == ConfigOutcome::NotAddressed) {
        // Shows where a request went that was meant for a device behind another segment.
        std::fprintf(m_report, "ignored %s %s not emulated here\n", FamilyName(family),
                     std::string(FormatMacText(request->macAddress).View()).c_str());
        std::fflush(m_report);
        return;
    }
    const EmulatedDevice& device = *result.device;
    const std::string mac(FormatMacText(device.macAddress).View());
    if (result.outcome == ConfigOutcome::WrongPassword) {
        std::fprintf(m_report, "refused %s %s wrong password\n", FamilyName(family), mac.c_str());
        std::fflush(m_report);
        return;
    }
    if (m_options.setResponse) {
        const std::size_t length = family == device::Family::Bits32 ? device::kSetResponse32Length
                                                                    : device::kSetResponse08Length;
        SocketOf(family).SendTo(std::vector<std::uint8_t>(length, 0), requester);
    }
    if (m_options.applyDelay.count() == 0) {
        Apply(family, *request);
        return;
    }
    std::fprintf(m_report, "accepted %s %s applies in %lld ms\n", FamilyName(family), mac.c_str(),
                 static_cast<long long>(m_options.applyDelay.count()));
    std::fflush(m_report);
    m_held.push_back({Clock::now() + m_options.applyDelay, family, *request});
}

void Responder::ApplyDueRequests() {
    while (!m_held.empty() && m_held.front().due <= Clock::now()) {
        Apply(m_held.front().family, m_held.front().request);
        m_held.pop_front();
    }
}

void Responder::Apply(device::Family family, const device::ReceivedConfig& request) {
    const ConfigResult result =
        m_devices.ApplyConfig(family, request, Clock::now() + m_options.restart);
    if (result.outcome != ConfigOutcome::Applied) {
        return;
    }
    const EmulatedDevice& device = *result.device;
    const std::string mac(FormatMacText(device.macAddress).View());
    // Only a 32bits request says where it came from.
    const std::string sender =
        family == device::Family::Bits32
            ? " localhost=" + std::string(FormatDottedQuad(request.localhostAddress).View())
            : std::string();
    std::fprintf(m_report, "applied %s %s ip=%s mask=%s gateway=%s dns=%s dhcp=%s%s name=%s\n",
                 FamilyName(family), mac.c_str(), FormatDottedQuad(device.ipAddress).CString(),
                 FormatDottedQuad(device.subnetMask).CString(),
                 FormatDottedQuad(device.gateway).CString(),
                 FormatDottedQuad(device.dnsServer).CString(), result.leased ? "yes" : "no",
                 sender.c_str(), device.givenName.c_str());
    std::fflush(m_report);
}

void Responder::SendDueReplies() {
    while (auto reply = m_replies.PopDue(Clock::now())) {
        SocketOf(reply->family).SendTo(reply->datagram, reply->destination);
    }
}

std::chrono::microseconds Responder::NextDelay() {
    if (m_options.jitter.count() == 0) {
        return std::chrono::microseconds::zero();
    }
    std::uniform_int_distribution<std::int64_t> delay(0, m_options.jitter.count());
    return std::chrono::microseconds(delay(m_random));
}

}  // namespace kestrelink::devsim
