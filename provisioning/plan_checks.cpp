#include "provisioning/plan_checks.h"

#include <algorithm>
#include <set>

#include "net/datagrams.h"
#include "net/latin1_text.h"
#include "net/text_forms.h"

namespace kestrelink::provisioning {

std::vector<EntryProblem> CheckAgainstListed(std::span<const PlanEntry> entries,
                                             std::span<const ListedDevice> devices,
                                             const FieldLabels& labels) {
    std::set<std::string> plannedMacs;
    for (const PlanEntry& entry : entries) {
        plannedMacs.insert(entry.request.mac);
    }
    std::vector<EntryProblem> problems;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const DeviceRequest& request = entries[index].request;
        if (!request.settings.useDhcp) {
            const std::string ip(FormatDottedQuad(request.settings.ipAddress).View());
            for (const ListedDevice& device : devices) {
                if (device.ip == ip && !plannedMacs.contains(device.mac)) {
                    problems.push_back({index, EntryProblem::Kind::AddressHeld,
                                        std::string(labels.ip) + " " + ip + " is in use by " +
                                            device.mac + " ('" + Latin1ToUtf8(device.givenName) +
                                            "'), which the plan leaves out"});
                }
            }
        }
        const auto device = std::find_if(devices.begin(), devices.end(),
                                         [&](const auto& d) { return d.mac == request.mac; });
        if (device == devices.end()) {
            problems.push_back({index, EntryProblem::Kind::NotListed, {}});
        } else if (std::string problem = CheckRequestForDevice(request, *device, labels);
                   !problem.empty()) {
            problems.push_back({index, EntryProblem::Kind::Unsuitable, std::move(problem)});
        }
    }
    return problems;
}

ProvisioningStep StepOf(const ListedDevice& device, const IpSettings& settings) {
    ProvisioningStep step;
    step.mac = device.mac;
    step.before = {device.ip, device.givenName};
    if (!settings.useDhcp) {
        step.newIp = std::string(FormatDottedQuad(settings.ipAddress).View());
    }
    if (RequestCarries(device.family, RequestField::HostName)) {
        step.newName = settings.hostName;
    }
    return step;
}

}  // namespace kestrelink::provisioning
