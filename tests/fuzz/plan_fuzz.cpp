// Any bytes as a plan file: the CSV reader, the header, every cell's checks under both address
// policies, then the checks and requests for a fixed set of answering devices. Besides the
// sanitizers, it holds what a user is promised: a plan or errors, each error on one line that
// names the file and a line that exists, and never a request that the checks should have kept.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/diagnostic.h"
#include "cli/discovered_device.h"
#include "cli/provision_report.h"
#include "provisioning/device_request.h"
#include "provisioning/plan_file.h"

namespace kestrelink::fuzz {
namespace {

constexpr std::string_view kFileName = "plan.csv";

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

// The devices that answer, one of each family; plan_seeds name their MACs.
const cli::DiscoveredDevice kAnswering[] = {
    {.ip = "10.213.1.1",
     .mac = "02:6b:6c:00:10:00",
     .productName = "DevSim 08",
     .givenName = "unit-1",
     .family = DeviceFamily::Bits08},
    {.ip = "10.213.1.2",
     .mac = "02:6b:6c:00:10:01",
     .productName = "DevSim 32",
     .givenName = "unit-2",
     .family = DeviceFamily::Bits32},
};

std::size_t LineNumber(std::string_view problem) {
    Require(problem.starts_with(kFileName) && problem.size() > kFileName.size() &&
                problem[kFileName.size()] == ':',
            "an error names the file");
    problem.remove_prefix(kFileName.size() + 1);
    std::size_t line = 0;
    std::size_t digits = 0;
    while (digits < problem.size() && problem[digits] >= '0' && problem[digits] <= '9' &&
           digits < 12) {
        line = line * 10 + static_cast<std::size_t>(problem[digits] - '0');
        ++digits;
    }
    Require(digits > 0 && problem.substr(digits).starts_with(": "), "an error names its line");
    return line;
}

void CheckProblems(const provisioning::Plan& plan, std::size_t lineCount) {
    for (const std::string& problem : plan.problems) {
        if (problem == std::string(kFileName) + ": the plan is empty") {
            Require(plan.problems.size() == 1 && plan.entries.empty(), "an empty plan is empty");
            continue;
        }
        const std::size_t line = LineNumber(problem);
        Require(line >= 1 && line <= lineCount, "an error's line exists");
        // On the terminal, each error is one line whatever bytes the file held.
        std::ostringstream shown;
        cli::Complain(shown, problem);
        const std::string text = shown.str();
        Require(std::count(text.begin(), text.end(), '\n') == 1 && text.back() == '\n',
                "an error is one line");
        Require(std::none_of(text.begin(), text.end() - 1,
                             [](char c) {
                                 const auto byte = static_cast<unsigned char>(c);
                                 return byte < 0x20 || byte == 0x7F;
                             }),
                "an error holds no control character");
    }
}

void CheckEntries(const provisioning::Plan& plan, std::size_t lineCount, bool sound) {
    std::set<std::string> macs;
    std::set<std::uint32_t> staticIps;
    std::size_t previousLine = 1;
    for (const provisioning::PlanEntry& entry : plan.entries) {
        Require(entry.line > previousLine && entry.line <= lineCount, "devices in file order");
        previousLine = entry.line;
        // A plan with errors still lists what it read well, sharing included, for the errors.
        const bool accepted = plan.problems.empty();
        Require(macs.insert(entry.request.mac).second || !accepted, "no MAC planned twice");
        const IpSettings& settings = entry.request.settings;
        if (settings.useDhcp) {
            continue;
        }
        Require(staticIps.insert(settings.ipAddress).second || !accepted,
                "no static IP planned twice");
        const int prefixLength = std::countl_one(settings.subnetMask);
        Require(std::countr_zero(settings.subnetMask) == 32 - prefixLength, "a mask is a prefix");
        if (sound) {
            Require(settings.ipAddress != 0 && settings.ipAddress != 0xFFFFFFFFu &&
                        settings.ipAddress >> 24 != 127 && settings.ipAddress >> 28 != 0xE &&
                        prefixLength <= 30 && settings.gateway != settings.ipAddress,
                    "an unworkable address is refused");
        }
    }
}

// What a plan run does with each entry before it sends: the family check, then the request.
void Prepare(const provisioning::Plan& plan) {
    for (const provisioning::PlanEntry& entry : plan.entries) {
        const auto device = std::find_if(std::begin(kAnswering), std::end(kAnswering),
                                         [&](const auto& d) { return d.mac == entry.request.mac; });
        if (device == std::end(kAnswering)) {
            continue;
        }
        const std::string problem = provisioning::CheckRequestForDevice(
            entry.request, cli::ListedOf(*device), provisioning::kPlanColumns);
        Require(problem.empty() || problem.find(device->mac) != std::string::npos,
                "a refusal names the device");
        if (!problem.empty()) {
            continue;
        }
        const IpSettings settings =
            provisioning::SettingsFor(entry.request, cli::ListedOf(*device));
        Require(settings.hostName.size() <= kHostNameMaxLength &&
                    settings.password.size() <= kPasswordMaxLength,
                "texts fit the request");
        const std::string described = cli::DescribeRequest(*device, settings);
        Require(described.starts_with(std::string(cli::FamilyText(device->family)) +
                                      " request to " + device->mac + ":"),
                "a request names its device");
    }
}

}  // namespace
}  // namespace kestrelink::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrelink;
    // A heap copy of exactly the file's length, so that a read past its end is caught.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t lineCount =
        static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    const provisioning::Plan sound = provisioning::ReadPlan(text, fuzz::kFileName);
    const provisioning::Plan forced =
        provisioning::ReadPlan(text, fuzz::kFileName, provisioning::AddressPolicy::SendAsGiven);
    for (const provisioning::Plan* plan : {&sound, &forced}) {
        fuzz::Require(!plan->problems.empty() || !plan->entries.empty(),
                      "a plan without errors lists a device");
        fuzz::CheckProblems(*plan, lineCount);
        fuzz::CheckEntries(*plan, lineCount, plan == &sound);
        fuzz::Prepare(*plan);
    }
    // --force lets through what the address checks hold back, and nothing else; a device it
    // lets through may then share an address or a MAC with another.
    fuzz::Require(std::all_of(forced.problems.begin(), forced.problems.end(),
                              [&](const std::string& problem) {
                                  return problem.find(" is planned on line ") !=
                                             std::string::npos ||
                                         std::find(sound.problems.begin(), sound.problems.end(),
                                                   problem) != sound.problems.end();
                              }),
                  "--force adds no error but sharing");
    fuzz::Require(std::all_of(sound.entries.begin(), sound.entries.end(),
                              [&](const provisioning::PlanEntry& entry) {
                                  return std::any_of(forced.entries.begin(), forced.entries.end(),
                                                     [&](const provisioning::PlanEntry& e) {
                                                         return e.line == entry.line;
                                                     });
                              }),
                  "--force drops no device");
    return 0;
}
