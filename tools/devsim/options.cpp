#include "tools/devsim/options.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <limits>
#include <sstream>

#include "kestrelink/version.h"
#include "net/text_forms.h"
#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink::devsim {
namespace {

constexpr int kMaxDevicesPerFamily = 100000;
constexpr int kMaxDelayMs = 600000;
constexpr double kMaxExitAfterSeconds = 86400.0 * 365;
constexpr std::uint64_t kMacSpace = std::uint64_t{1} << 48;
constexpr std::uint64_t kAddressSpace = std::uint64_t{1} << 32;

constexpr auto kFooter =
    R"(Devices are numbered 08bits first, then 32bits; device k takes the first MAC,
address and serial number plus k. A name longer than its field (15 characters for
08bits) goes out cut, without a NUL.

Kinds for --malformed, each from a stranger device (MAC 0e:ee:..., address
10.213.250.x) unless said otherwise, sent before the announcements:
  short     announcement one byte short (69 or 231 bytes)
  long      announcement one byte long (71 or 233 bytes)
  oversize  300 bytes
  swapped   the other family's announcement (232 bytes from 43210, 70 bytes from 54321)
  no-nul    a valid announcement whose every text, the 32bits address text included,
            fills its field without a NUL: it is listed, with texts cut at the field widths
  dup-ip    after the announcements: a stranger announcing the family's first device's
            address (the first one heard keeps it)
  dup-mac   after the announcements: the family's first device's MAC with the stranger's
            address (the device moves there)

A request with a wrong password is ignored and reported as "refused". DHCP leases
count up from --dhcp-pool, skipping addresses in use, with mask 255.255.255.0 and the
.1 of their subnet as gateway and DNS server; a 08bits request asks for DHCP by leaving
all three addresses zero. With --apply-delay a device goes on announcing its old
settings until the delay is over; with --restart it then answers no probe for a while,
as a device does that restarts to take new settings.

Output, one line each, on standard output:
  listening 08bits=N 32bits=N           once both ports are bound
  probe FAMILY from ADDR:PORT ...       per probe answered
  accepted FAMILY MAC applies in MS ms  per request held back by --apply-delay
  applied FAMILY MAC ip=... mask=... gateway=... dns=... dhcp=yes|no [localhost=ADDR] name=...
  refused FAMILY MAC wrong password
  ignored FAMILY MAC not emulated here  per request for another device
Only a 32bits request carries localhost=: the address its sender's name "localhost"
resolved to.

Ends on SIGTERM or SIGINT with status 0. Status 2: bad options; 1: a port cannot be
bound; 3: the network is not a private one.)";

CLI::Validator Checked(const std::string& wants, bool (*valid)(const std::string&)) {
    return CLI::Validator(
        [wants, valid](std::string& value) {
            return valid(value) ? std::string() : "wants " + wants + ", not '" + value + "'";
        },
        "");
}

bool IsMac(const std::string& text) {
    return ParseCanonicalMacText(text).has_value();
}

bool IsAddress(const std::string& text) {
    return ParseDottedQuad(text).has_value();
}

// The default shown is the value the option holds before parsing.
CLI::Option* AddAddress(CLI::App& app, const char* name, std::uint32_t& value, const char* what) {
    return app
        .add_option_function<std::string>(
            name, [&value](const std::string& text) { value = *ParseDottedQuad(text); }, what)
        ->type_name("ADDR")
        ->default_str(std::string(FormatDottedQuad(value).View()))
        ->check(Checked("a dotted IPv4 address", IsAddress));
}

void AddMilliseconds(CLI::App& app, const char* name, std::chrono::milliseconds& value,
                     const char* what) {
    app.add_option_function<int>(
           name, [&value](int ms) { value = std::chrono::milliseconds(ms); }, what)
        ->type_name("MS")
        ->check(CLI::Range(0, kMaxDelayMs));
}

void AddDevices(CLI::App& app, SimulatorOptions& o) {
    const std::string group = "Devices";
    app.add_option("--devices08", o.devices08, "number of 08bits devices")
        ->type_name("N")
        ->default_str("1")
        ->check(CLI::Range(0, kMaxDevicesPerFamily))
        ->group(group);
    app.add_option("--devices32", o.devices32, "number of 32bits devices")
        ->type_name("N")
        ->default_str("1")
        ->check(CLI::Range(0, kMaxDevicesPerFamily))
        ->group(group);
    app.add_option_function<std::string>(
           "--first-mac", [&o](const std::string& v) { o.firstMac = *ParseCanonicalMacText(v); },
           "MAC of the first device")
        ->type_name("MAC")
        ->default_str("02:00:00:00:00:01")
        ->check(Checked("six two-digit hex groups such as 02:00:00:00:00:01", IsMac))
        ->group(group);
    AddAddress(app, "--first-ip", o.firstIp, "address of the first device")->group(group);
    app.add_option("--first-serial", o.firstSerial, "serial number of the first device")
        ->type_name("N")
        ->default_str("1000")
        ->group(group);
    app.add_option("--name-prefix", o.namePrefix, "given names are TEXT1, TEXT2, ...")
        ->type_name("TEXT")
        ->default_str("devsim-")
        ->group(group);
}

void AddAnswers(CLI::App& app, SimulatorOptions& o) {
    const std::string group = "Answers";
    app.add_option_function<int>(
           "--jitter", [&o](int ms) { o.jitter = std::chrono::milliseconds(ms); },
           "send each announcement at a random delay from 0 to MS after the probe (default 0: "
           "at once, in device order)")
        ->type_name("MS")
        ->check(CLI::Range(0, kMaxDelayMs))
        ->group(group);
    app.add_option_function<std::uint64_t>(
           "--seed", [&o](std::uint64_t seed) { o.seed = seed; },
           "seed for the jitter, to repeat a run exactly")
        ->type_name("N")
        ->group(group);
    app.add_flag("--burst", o.burst,
                 "send all announcements of a probe back to back, as fast as the sockets allow, "
                 "before reading anything else (excludes --jitter)")
        ->group(group);
    app.add_option_function<std::vector<std::string>>(
           "--malformed",
           [&o](const std::vector<std::string>& names) {
               o.malformed.clear();
               for (const std::string& name : names) {
                   o.malformed.push_back(*ParseMalformedKind(name));
               }
           },
           "with every probe answer, also send datagrams that a listener must survive (kinds "
           "below)")
        ->type_name("KIND[,KIND...]")
        ->delimiter(',')
        ->check(CLI::Validator(
            [](std::string& name) {
                return ParseMalformedKind(name) ? std::string()
                                                : "unknown --malformed kind '" + name + "'";
            },
            ""))
        ->group(group);
}

void AddConfiguration(CLI::App& app, SimulatorOptions& o) {
    const std::string group = "Configuration";
    app.add_option_function<std::string>(
           "--password", [&o](const std::string& v) { o.password = v; },
           "apply only requests carrying TEXT (an empty TEXT accepts only an empty password); "
           "without it every password is accepted, as by a device that has none set")
        ->type_name("TEXT")
        ->check(CLI::Validator(
            [](std::string& v) {
                return v.size() <= device::kPasswordMaxLength
                           ? std::string()
                           : "is at most " + std::to_string(device::kPasswordMaxLength) +
                                 " characters, as the request carries no more";
            },
            ""))
        ->group(group);
    AddAddress(app, "--dhcp-pool", o.dhcpPool, "addresses for DHCP, counting up from ADDR")
        ->group(group);
    app.add_flag("--set-response", o.setResponse,
                 "answer every accepted request with a set response (44 zero bytes from 43210, "
                 "or 204 from 54321)")
        ->group(group);
    AddMilliseconds(app, "--apply-delay", o.applyDelay,
                    "keep announcing the old settings for MS after a request before taking the "
                    "new ones (default 0: at once)");
    AddMilliseconds(app, "--restart", o.restart,
                    "after taking new settings, answer no probe for MS (default 0)");
    app.get_option("--apply-delay")->group(group);
    app.get_option("--restart")->group(group);
}

void AddRunning(CLI::App& app, SimulatorOptions& o) {
    const std::string group = "Running";
    app.add_option_function<double>(
           "--exit-after",
           [&o](double seconds) {
               o.exitAfter = std::chrono::milliseconds(std::llround(seconds * 1000));
           },
           "end by itself after SECONDS (fractions allowed)")
        ->type_name("SECONDS")
        ->check(CLI::Validator(
            [](std::string& v) {
                double seconds = 0;
                const bool positive = CLI::detail::lexical_cast(v, seconds) && seconds > 0 &&
                                      seconds <= kMaxExitAfterSeconds;
                return positive ? std::string()
                                : "wants a positive number of seconds, not '" + v + "'";
            },
            ""))
        ->group(group);
    app.add_flag("--allow-real-network", o.allowRealNetwork,
                 "skip the check that every network interface is loopback or one of the lab's "
                 "own (kl*). Only for a network of devices under your control: the "
                 "announcements go to whoever probes.")
        ->group(group);
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

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    CLI::App app(
        "Emulates devices of both families on one host: 08bits devices on UDP port 43210 and\n"
        "32bits devices on UDP port 54321. Every probe that arrives is answered with one\n"
        "announcement per emulated device of its family, sent from that family's port to the\n"
        "prober. Configuration requests addressed to an emulated MAC are applied; a later\n"
        "probe shows the new settings.",
        "kestrelink-devsim");
    // A flag takes no value: --burst=no would otherwise turn it on.
    app.option_defaults()->disable_flag_override();
    app.set_help_flag("-h,--help", "show this text");
    app.set_version_flag("--version", "kestrelink-devsim " + std::string(kVersion),
                         "show the version");
    app.footer(kFooter);
    AddDevices(app, result.options);
    AddAnswers(app, result.options);
    AddConfiguration(app, result.options);
    AddRunning(app, result.options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) {
        std::ostringstream output;
        std::ostringstream ignored;
        app.exit(done, output, ignored);
        result.output = output.str();
        return result;
    } catch (const CLI::ParseError& error) {
        result.error = error.what();
        return result;
    }
    result.error = CheckTogether(result.options);
    return result;
}

}  // namespace kestrelink::devsim
