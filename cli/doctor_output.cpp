#include "cli/doctor_output.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "cli/doctor_findings.h"
#include "net/protocol.h"
#include "net/text_forms.h"

namespace kestrelink::cli {
namespace {

std::string AddressText(std::uint32_t address) {
    return std::string(FormatDottedQuad(address).View());
}

std::string Joined(const std::vector<std::string>& parts, const char* between) {
    std::string joined;
    for (const std::string& part : parts) {
        joined += (joined.empty() ? "" : between) + part;
    }
    return joined;
}

std::string ProbeText(const DoctorFindings::Adapter& adapter) {
    return !adapter.probeSent ? "not tried" : *adapter.probeSent ? "sent" : "failed";
}

std::string ReversePathText(const ReversePathFilter& filter) {
    if (!filter.all && !filter.adapter) {
        return "-";
    }
    return std::to_string(std::max(filter.all.value_or(0), filter.adapter.value_or(0)));
}

std::string FirewallText(const DoctorFindings& findings) {
    if (!findings.firewallApplies) {
        return "not applicable";
    }
    if (!findings.firewall) {
        return "cannot be read";
    }
    std::vector<std::string> programs;
    for (const DoctorFindings::Program& program : *findings.firewall) {
        programs.push_back(program.path + (program.letIn ? ": let in" : ": no rule lets it in"));
    }
    return Joined(programs, "; ");
}

void WriteTable(std::ostream& out, const DoctorFindings& findings) {
    out << "UDP port " << LOCAL_PORT << ":  "
        << (findings.port.bindable ? "bindable" : "cannot be bound") << "\n";
    out << "Receive buffer: " << findings.receiveBufferBytes << " bytes, about "
        << AnswersHeld(findings.receiveBufferBytes) << " answers\n";
    out << "Firewall:       " << FirewallText(findings) << "\n\n";

    using Row = std::array<std::string, 6>;
    std::vector<Row> rows{{"Adapter", "Addresses", "Probe", "Source", "rp_filter", "Answered"}};
    for (const DoctorFindings::Adapter& adapter : findings.adapters) {
        rows.push_back({adapter.name, Joined(adapter.addresses, " "), ProbeText(adapter),
                        adapter.probeSent == true ? AddressText(adapter.source) : "-",
                        ReversePathText(adapter.reversePath), std::to_string(adapter.answered)});
    }
    Row widths{};
    for (const Row& row : rows) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            widths[k] = std::string(std::max(widths[k].size(), row[k].size()), ' ');
        }
    }
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t k = 0; k < row.size(); ++k) {
            line += row[k] + std::string(widths[k].size() - row[k].size() + 2, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << "\n";
    }
    out << "\n";
    const std::vector<std::string> obstacles = Obstacles(findings);
    if (obstacles.empty()) {
        out << "Nothing stands in the way.\n";
    }
    for (const std::string& obstacle : obstacles) {
        out << "Problem: " << obstacle << "\n";
    }
}

void WriteJson(std::ostream& out, const DoctorFindings& findings) {
    nlohmann::ordered_json json;
    json["port"] = {{"number", LOCAL_PORT}, {"bindable", findings.port.bindable}};
    json["receive_buffer"] = {{"bytes", findings.receiveBufferBytes},
                              {"answers", AnswersHeld(findings.receiveBufferBytes)}};
    if (findings.firewallApplies && findings.firewall) {
        json["firewall"] = nlohmann::ordered_json::array();
        for (const DoctorFindings::Program& program : *findings.firewall) {
            json["firewall"].push_back({{"program", program.path}, {"let_in", program.letIn}});
        }
    } else {
        json["firewall"] = findings.firewallApplies ? "cannot be read" : "not applicable";
    }
    json["adapters"] = nlohmann::ordered_json::array();
    for (const DoctorFindings::Adapter& adapter : findings.adapters) {
        nlohmann::ordered_json entry{{"name", adapter.name}, {"addresses", adapter.addresses}};
        entry["probe_sent"] = adapter.probeSent ? nlohmann::ordered_json(*adapter.probeSent)
                                                : nlohmann::ordered_json(nullptr);
        entry["source"] = adapter.probeSent == true
                              ? nlohmann::ordered_json(AddressText(adapter.source))
                              : nlohmann::ordered_json(nullptr);
        entry["strict_rp_filter"] = DropsFactoryAddresses(adapter.reversePath);
        entry["answered"] = adapter.answered;
        json["adapters"].push_back(std::move(entry));
    }
    json["obstacles"] = Obstacles(findings);
    out << json.dump(2) << "\n";
}

}  // namespace

void WriteDoctorFindings(std::ostream& out, OutputFormat format, const DoctorFindings& findings) {
    if (format == OutputFormat::Json) {
        WriteJson(out, findings);
    } else {
        WriteTable(out, findings);
    }
}

}  // namespace kestrelink::cli
