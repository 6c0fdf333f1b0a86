#include "tools/devsim/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <string_view>

#include "net/datagrams.h"

namespace kestrelink::devsim {
namespace {

constexpr std::int64_t kMaxDevicesPerFamily = 100000;
constexpr std::int64_t kMaxJitterMs = 600000;
constexpr std::uint64_t kMacSpace = std::uint64_t{1} << 48;
constexpr std::uint64_t kAddressSpace = std::uint64_t{1} << 32;

std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min,
                                         std::int64_t max) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

using Setter = std::function<std::string(SimulatorOptions&, std::string_view)>;

struct OptionSpec {
    std::string_view name;
    bool takesValue;
    Setter set;
};

std::string SetDeviceCount(int& count, std::string_view value, std::string_view name) {
    const auto parsed = ParseInteger(value, 0, kMaxDevicesPerFamily);
    if (!parsed) {
        return std::string(name) + " wants a count from 0 to " +
               std::to_string(kMaxDevicesPerFamily) + ", not '" + std::string(value) + "'";
    }
    count = static_cast<int>(*parsed);
    return {};
}

std::string SetMalformed(SimulatorOptions& options, std::string_view value) {
    options.malformed.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        const std::string_view name = value.substr(start, comma - start);
        const auto kind = ParseMalformedKind(name);
        if (!kind) {
            return "unknown --malformed kind '" + std::string(name) + "'";
        }
        options.malformed.push_back(*kind);
        if (comma == std::string_view::npos) {
            return {};
        }
        start = comma + 1;
    }
}

std::string SetExitAfter(SimulatorOptions& options, std::string_view value) {
    double seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error != std::errc() || end != value.data() + value.size() || !(seconds > 0) ||
        seconds > 86400 * 365) {
        return "--exit-after wants a positive number of seconds, not '" + std::string(value) + "'";
    }
    options.exitAfter = std::chrono::milliseconds(std::llround(seconds * 1000));
    return {};
}

std::array<OptionSpec, 15> OptionTable() {
    return {{
        {"--devices08", true,
         [](SimulatorOptions& o, std::string_view v) {
             return SetDeviceCount(o.devices08, v, "--devices08");
         }},
        {"--devices32", true,
         [](SimulatorOptions& o, std::string_view v) {
             return SetDeviceCount(o.devices32, v, "--devices32");
         }},
        {"--first-mac", true,
         [](SimulatorOptions& o, std::string_view v) -> std::string {
             const auto mac = ParseCanonicalMacText(v);
             if (!mac) {
                 return "--first-mac wants six two-digit hex groups such as 02:00:00:00:00:01, "
                        "not '" +
                        std::string(v) + "'";
             }
             o.firstMac = *mac;
             return {};
         }},
        {"--first-ip", true,
         [](SimulatorOptions& o, std::string_view v) -> std::string {
             const auto address = ParseDottedQuad(v);
             if (!address) {
                 return "--first-ip wants a dotted IPv4 address, not '" + std::string(v) + "'";
             }
             o.firstIp = *address;
             return {};
         }},
        {"--first-serial", true,
         [](SimulatorOptions& o, std::string_view v) -> std::string {
             const auto serial = ParseInteger(v, 0, 0xFFFFFFFF);
             if (!serial) {
                 return "--first-serial wants a number from 0 to 4294967295, not '" +
                        std::string(v) + "'";
             }
             o.firstSerial = static_cast<std::uint32_t>(*serial);
             return {};
         }},
        {"--name-prefix", true,
         [](SimulatorOptions& o, std::string_view v) {
             o.namePrefix = std::string(v);
             return std::string();
         }},
        {"--jitter", true,
         [](SimulatorOptions& o, std::string_view v) -> std::string {
             const auto ms = ParseInteger(v, 0, kMaxJitterMs);
             if (!ms) {
                 return "--jitter wants milliseconds from 0 to " + std::to_string(kMaxJitterMs) +
                        ", not '" + std::string(v) + "'";
             }
             o.jitter = std::chrono::milliseconds(*ms);
             return {};
         }},
        {"--burst", false,
         [](SimulatorOptions& o, std::string_view) {
             o.burst = true;
             return std::string();
         }},
        {"--seed", true,
         [](SimulatorOptions& o, std::string_view v) -> std::string {
             const auto seed = ParseInteger(v, 0, std::numeric_limits<std::int64_t>::max());
             if (!seed) {
                 return "--seed wants a non-negative number, not '" + std::string(v) + "'";
             }
             o.seed = static_cast<std::uint64_t>(*seed);
             return {};
         }},
        {"--password", true,
         [](SimulatorOptions& o, std::string_view v) -> std::string {
             if (v.size() > kPasswordMaxLength) {
                 return "--password is at most " + std::to_string(kPasswordMaxLength) +
                        " characters, as the request carries no more";
             }
             o.password = std::string(v);
             return {};
         }},
        {"--dhcp-pool", true,
         [](SimulatorOptions& o, std::string_view v) -> std::string {
             const auto address = ParseDottedQuad(v);
             if (!address) {
                 return "--dhcp-pool wants a dotted IPv4 address, not '" + std::string(v) + "'";
             }
             o.dhcpPool = *address;
             return {};
         }},
        {"--set-response", false,
         [](SimulatorOptions& o, std::string_view) {
             o.setResponse = true;
             return std::string();
         }},
        {"--malformed", true, SetMalformed},
        {"--exit-after", true, SetExitAfter},
        {"--allow-real-network", false,
         [](SimulatorOptions& o, std::string_view) {
             o.allowRealNetwork = true;
             return std::string();
         }},
    }};
}

// Checks that need more than one option.
std::string CheckTogether(const SimulatorOptions& options) {
    if (options.burst && options.jitter.count() > 0) {
        return "--burst and --jitter exclude each other";
    }
    const auto total = static_cast<std::uint64_t>(options.devices08) +
                       static_cast<std::uint64_t>(options.devices32);
    if (total == 0) {
        return {};
    }
    if (MacToNumber(options.firstMac) + total > kMacSpace) {
        return "--first-mac leaves too few MAC addresses for " + std::to_string(total) + " devices";
    }
    if (options.firstIp + total > kAddressSpace) {
        return "--first-ip leaves too few addresses for " + std::to_string(total) + " devices";
    }
    if (options.firstSerial + total > kAddressSpace) {
        return "--first-serial leaves too few serial numbers for " + std::to_string(total) +
               " devices";
    }
    return {};
}

}  // namespace

CommandLine ParseCommandLine(std::span<const char* const> arguments) {
    const auto table = OptionTable();
    CommandLine result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            result.helpRequested = true;
            return result;
        }
        if (argument == "--version") {
            result.versionRequested = true;
            return result;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const auto entry = std::find_if(table.begin(), table.end(),
                                        [name](const OptionSpec& s) { return s.name == name; });
        if (entry == table.end()) {
            result.error = "unknown option '" + std::string(argument) + "'";
            return result;
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            if (!entry->takesValue) {
                result.error = std::string(name) + " takes no value";
                return result;
            }
            value = argument.substr(equals + 1);
        } else if (entry->takesValue) {
            if (i + 1 == arguments.size()) {
                result.error = std::string(name) + " needs a value";
                return result;
            }
            value = arguments[++i];
        }
        result.error = entry->set(result.options, value);
        if (!result.error.empty()) {
            return result;
        }
    }
    result.error = CheckTogether(result.options);
    return result;
}

std::string UsageText() {
    return R"(Usage: kestrelink-devsim [OPTIONS]

Emulates devices of both families on one host: 08bits devices on UDP port 43210 and 32bits
devices on UDP port 54321. Every probe that arrives is answered with one announcement per
emulated device of its family, sent from that family's port to the prober. Configuration
requests addressed to an emulated MAC are applied; a later probe shows the new settings.

Devices:
  --devices08 N         number of 08bits devices (default 1, at most 100000)
  --devices32 N         number of 32bits devices (default 1, at most 100000)
  --first-mac MAC       MAC of the first device (default 02:00:00:00:00:01)
  --first-ip ADDR       address of the first device (default 10.213.1.1)
  --first-serial N      serial number of the first device (default 1000)
  --name-prefix TEXT    given names are TEXT1, TEXT2, ... (default devsim-); a name longer
                        than its field (15 characters for 08bits) goes out cut, without a NUL
                        Devices are numbered 08bits first, then 32bits; device k takes the
                        first MAC, address and serial number plus k.

Answers:
  --jitter MS           send each announcement at a random delay from 0 to MS milliseconds
                        after the probe (default 0: at once, in device order)
  --seed N              seed for the jitter, to repeat a run exactly
  --burst               send all announcements of a probe back to back, as fast as the
                        sockets allow, before reading anything else (excludes --jitter)
  --malformed KIND[,KIND...]
                        with every probe answer, also send datagrams that a listener must
                        survive. Kinds, each from a stranger device (MAC 0e:ee:..., address
                        10.213.250.x) unless said otherwise, sent before the announcements:
                          short     announcement one byte short (69 or 231 bytes)
                          long      announcement one byte long (71 or 233 bytes)
                          oversize  300 bytes
                          swapped   the other family's announcement (232 bytes from 43210,
                                    70 bytes from 54321)
                          no-nul    a valid announcement whose every text, the 32bits
                                    address text included, fills its field without a NUL:
                                    it is listed, with texts cut at the field widths
                          dup-ip    after the announcements: a stranger announcing the
                                    family's first device's address (the first one heard
                                    keeps it)
                          dup-mac   after the announcements: the family's first device's MAC
                                    with the stranger's address (the device moves there)

Configuration:
  --password TEXT       apply only requests carrying TEXT (at most 15 characters; an empty
                        TEXT accepts only an empty password). Without this option every
                        password is accepted, as by a device that has none set. A request with
                        a wrong password is ignored and reported as "refused".
  --dhcp-pool ADDR      addresses for DHCP, counting up from ADDR and skipping those in use
                        (default 10.213.200.1); the lease has mask 255.255.255.0 and the .1 of
                        its subnet as gateway and DNS server. A 08bits request asks for DHCP
                        by leaving all three addresses zero.
  --set-response        answer every applied request with a set response (44 zero bytes from
                        43210, or 204 from 54321)

Running:
  --exit-after SECONDS  end by itself after SECONDS (fractions allowed)
  --allow-real-network  skip the check that every network interface is loopback or one of the
                        lab's own (kl*). Only for a network of devices under your control: the
                        announcements go to whoever probes.
  -h, --help            show this text
  --version             show the version

Every option that takes a value also accepts --option=VALUE.

Output, one line each, on standard output:
  listening 08bits=N 32bits=N           once both ports are bound
  probe FAMILY from ADDR:PORT ...       per probe answered
  applied FAMILY MAC ip=... mask=... gateway=... dns=... dhcp=yes|no name=...
  refused FAMILY MAC wrong password
  ignored FAMILY MAC not emulated here  per request for another device

Ends on SIGTERM or SIGINT with status 0. Status 2: bad options; 1: a port cannot be bound;
3: the network is not a private one.
)";
}

}  // namespace kestrelink::devsim
