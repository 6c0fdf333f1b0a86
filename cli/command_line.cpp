#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/configure_command.h"
#include "cli/diagnostic.h"
#include "cli/discover_command.h"
#include "cli/plan_command.h"
#include "kestrelink/version.h"

namespace kestrelink::cli {
namespace {

constexpr int kMaxWaitMs = 3600000;

constexpr std::array<std::pair<std::string_view, OutputFormat>, 3> kFormats = {
    {{"table", OutputFormat::Table}, {"csv", OutputFormat::Csv}, {"json", OutputFormat::Json}}};

constexpr auto kFooter =
    R"(Exit status:
  0  success: every request sent and, with --verify, confirmed
  1  failure: too few devices, a device that did not answer, a request that could
     not be sent or, with --verify, was not confirmed, output that could not be
     written
  2  bad usage or bad input: nothing was sent
  3  with --verify: every request sent, none failed, but at least one cannot be
     confirmed because it changes nothing that announcements show

What --verify can confirm: announcements show a device's address and given name
only. A device is confirmed when it answers after its request with the address
and name the request sets, one of them different from before; with DHCP, when it
answers at an address other than before. Otherwise it is reported, with the
reason: it answers as before (a wrong password, or not taken yet); it answers at
another address or with another name; it did not answer again, within --wait
milliseconds of its request; or the request changes nothing announcements show
(a new mask, gateway or DNS server only), status 3. A set response names neither
device nor request: it is a warning with the address and port it came from, and
confirms nothing.

A plan's requests go out paced (2,000 a second after a burst of 32); with
--verify one probe pair every 500 ms then asks every device still pending. A
device that takes the address of another device of the plan is sent its request
once that one has left it (confirmed, with --verify); moves in a cycle are
refused. One line per device as its result is known, then a summary line; while
a plan runs, a progress line on standard error when it is a terminal. Before it
sends, a plan probes once per 500 ms round until every device it lists has
answered and one more round brought no device not heard before, --wait at most.

Lost datagrams: with --verify, a device that still answers as before its request
gets the same request again --resend-after ms after the previous one (3000), at
most --resend times (2; 0: never); its --wait then counts from its latest
request.

The as-built record (--record FILE): one CSV line per device, with the columns
  mac,serial,product,family,old_ip,new_ip,old_name,new_name,mask,gateway,dns,
  dhcp,requests,outcome,reason,sent_at,confirmed_at
outcome is configured, not confirmable, failed or not sent; reason holds the
words of the device's line; times are ISO 8601 UTC; no password is written. A
device text that a spreadsheet would take for a formula gets a leading
apostrophe. The file is replaced whole or not at all.)";

// Both in configure's help and in the program's, which the manual page is made from.
constexpr auto kRefusals =
    R"(configure refuses settings that would cut a device off (status 2, nothing sent)
unless --force is given: an address of 0.0.0.0 or 255.255.255.255, a loopback
or multicast address, the subnet's network or broadcast address, or the
gateway's; a mask of /31 or /32; a gateway outside the subnet (0.0.0.0 stands
for none); and, for a single device, an address another device announces, so
a static configure listens the whole --wait before it sends. A plan refuses an
address held by a device it leaves out, --force or not.)";

constexpr auto kDiscoverFooter =
    R"(Each device is listed once, ordered by IP, then MAC. Devices that announce the
same IP are all listed, each marked as a conflict. A device is marked outside
when its IP lies in none of the networks (of any address) of the interface it
answered on: nothing sent to that IP reaches it from here.
  table  the list's column headers plus Interface, Conflict and Outside;
         control characters in texts are shown as \xHH
  csv    header ip,mac,product,name,version,serial,family,interface,conflict,outside
  json   an array of objects with those keys; serial is a number, conflict and
         outside true/false

Example: kestrelink-cli discover --wait 3000 --format json --expect 50)";

constexpr auto kConfigureFooter =
    R"(The device is discovered first, to learn its family. Every field is checked
before anything is sent. An 08bits request carries neither a DNS server nor a
name: --dns and --name for an 08bits device are refused. A plan is a CSV file
with the header
  mac,ip,mask,gateway,dns,name,password,dhcp
and one device per line; an empty name keeps the device's given name, dhcp is
yes or no. The whole plan is checked, against the devices that answer as well,
before the first request goes out, and so is the order its moves can run in.
A set response heard while the program still listens (with --verify) is printed
as a warning with the address and port it came from. What --verify can confirm,
and the exit statuses (3: sent, but cannot be confirmed): kestrelink-cli --help.

Examples:
  kestrelink-cli configure 02:00:00:00:00:07 --ip 192.168.1.50 \
      --mask 255.255.255.0 --gateway 192.168.1.1 --password secret --verify
  kestrelink-cli configure 02:00:00:00:00:07 --dhcp --name hall-3
  kestrelink-cli configure --plan site.csv --dry-run)";

void AddWaitOption(CLI::App& command, std::chrono::milliseconds& wait, const char* what) {
    command
        .add_option_function<int>(
            "--wait", [&wait](int ms) { wait = std::chrono::milliseconds(ms); }, what)
        ->type_name("MS")
        ->default_str(std::to_string(kDefaultWait.count()))
        ->check(CLI::Range(0, kMaxWaitMs));
}

CLI::App* AddDiscover(CLI::App& app, DiscoverOptions& options) {
    CLI::App* discover = app.add_subcommand(
        "discover", "Probe every network and list the devices that answer (on standard output).");
    AddWaitOption(*discover, options.wait, "How long to listen for answers, in milliseconds");
    std::vector<std::string> formatNames;
    for (const auto& [name, format] : kFormats) {
        formatNames.emplace_back(name);
    }
    discover
        ->add_option_function<std::string>(
            "--format",
            [&options](const std::string& name) {
                options.format = std::find_if(kFormats.begin(), kFormats.end(), [&](const auto& f) {
                                     return f.first == name;
                                 })->second;
            },
            "Output format")
        ->type_name("FORMAT")
        ->default_str("table")
        ->check(CLI::IsMember(formatNames));
    discover
        ->add_option("--interface", options.interfaces,
                     "Probe and listen only on this interface; may be given more than once")
        ->type_name("NAME");
    discover
        ->add_option("--expect", options.expect, "Fail (status 1) when fewer than N devices answer")
        ->type_name("N")
        ->check(CLI::Range(0, std::numeric_limits<int>::max()));
    discover->footer(kDiscoverFooter);
    return discover;
}

// The single-device form and the plan form share the command; which one runs depends on
// whether a plan is given.
void AddConfigure(CLI::App& app, ConfigureOptions& single, PlanOptions& plan, bool& force) {
    CLI::App* configure = app.add_subcommand(
        "configure", "Give one device, or every device of a plan, new IP settings.");
    provisioning::RequestFields& fields = single.fields;
    CLI::Option* mac =
        configure->add_option("MAC", fields.mac, "The device's MAC address, as discover lists it");
    CLI::Option* dhcp =
        configure->add_flag("--dhcp", fields.dhcp, "Let the device take its address by DHCP");
    CLI::Option* ip = configure->add_option("--ip", fields.ip, "Static address")->type_name("A");
    CLI::Option* mask =
        configure->add_option("--mask", fields.mask, "Subnet mask, such as 255.255.255.0")
            ->type_name("M");
    CLI::Option* gateway =
        configure->add_option("--gateway", fields.gateway, "Gateway")->type_name("G");
    CLI::Option* dns =
        configure->add_option("--dns", fields.dns, "DNS server (32bits devices only)")
            ->type_name("D");
    CLI::Option* name =
        configure
            ->add_option("--name", fields.name,
                         "New given name, at most 31 characters (default: keep the current one)")
            ->type_name("TEXT");
    CLI::Option* password =
        configure
            ->add_option("--password", fields.password,
                         "The device's password, at most 15 characters (default: empty)")
            ->type_name("TEXT");
    CLI::Option* planFile =
        configure
            ->add_option("--plan", plan.path,
                         "CSV file with one device per line, instead of MAC and settings")
            ->type_name("FILE.csv");
    configure
        ->add_flag("--dry-run", plan.dryRun, "With --plan: show what would be sent, send nothing")
        ->needs(planFile);
    configure->add_flag("--force", force,
                        "Send addresses that look unworkable (see below) as they are given");
    configure->add_flag("--verify", single.provision.verify,
                        "Probe again until each device answers with its new address and name "
                        "(kestrelink-cli --help says what this can confirm)");
    AddWaitOption(*configure, single.provision.wait,
                  "How long to listen for the devices, and for each device after its request "
                  "to confirm it");
    configure
        ->add_option("--resend", single.provision.resends,
                     "With --verify: send a device that still answers as before its request "
                     "again, at most N times (0: never)")
        ->type_name("N")
        ->default_str("2")
        ->check(CLI::Range(0, 100));
    configure
        ->add_option_function<int>(
            "--resend-after",
            [&single](int ms) { single.provision.resendAfter = std::chrono::milliseconds(ms); },
            "How long after a device's previous request it is sent the request again, in "
            "milliseconds")
        ->type_name("MS")
        ->default_str("3000")
        ->check(CLI::Range(0, kMaxWaitMs));
    configure
        ->add_option("--record", single.provision.recordPath,
                     "Write the as-built record, one CSV line per device (replaced whole)")
        ->type_name("FILE.csv");

    for (CLI::Option* address : {ip, mask, gateway, dns}) {
        dhcp->excludes(address);
    }
    for (CLI::Option* perDevice : {mac, dhcp, ip, mask, gateway, dns, name, password}) {
        planFile->excludes(perDevice);
    }
    configure->callback([&single, &plan, &force, name] {
        single.fields.nameGiven = name->count() > 0;
        single.addresses = plan.addresses = force ? provisioning::AddressPolicy::SendAsGiven
                                                  : provisioning::AddressPolicy::RefuseUnworkable;
    });
    configure->footer(std::string(kConfigureFooter) + "\n\n" + kRefusals);
}

ExitStatus RunCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app("Find Kestrelink devices on the attached networks and give them IP settings.",
                 "kestrelink-cli");
    app.set_version_flag("--version", std::string("kestrelink-cli ") + std::string(kVersion));
    app.require_subcommand(1);
    app.footer(std::string(kFooter) + "\n\n" + kRefusals);
    app.failure_message([](const CLI::App*, const CLI::Error& error) {
        return "kestrelink-cli: " + std::string(error.what()) + "; see --help\n";
    });

    DiscoverOptions discoverOptions;
    ConfigureOptions configureOptions;
    PlanOptions planOptions;
    bool force = false;
    CLI::App* discover = AddDiscover(app, discoverOptions);
    AddConfigure(app, configureOptions, planOptions, force);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitStatus::Success : ExitStatus::BadInput;
    }

    if (discover->parsed()) {
        return RunDiscover(discoverOptions, out, err);
    }
    if (!planOptions.path.empty()) {
        planOptions.provision = configureOptions.provision;
        return RunPlan(planOptions, out, err);
    }
    if (configureOptions.fields.mac.empty()) {
        Complain(err, "configure needs a MAC or --plan; see --help");
        return ExitStatus::BadInput;
    }
    return RunConfigure(configureOptions, out, err);
}

}  // namespace

ExitStatus RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    const ExitStatus status = RunCommand(argc, argv, out, err);
    // A script that reads a cut-off list must not take it for the whole one.
    errno = 0;
    out.flush();
    if (out) {
        return status;
    }
    const int error = errno;
    Complain(err, std::string("cannot write to standard output") +
                      (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
    return ExitStatus::Failure;
}

}  // namespace kestrelink::cli
