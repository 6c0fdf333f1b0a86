#include "provisioning/plan_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>

#include "net/csv.h"
#include "net/text_forms.h"

namespace kestrelink::provisioning {
namespace {

enum Column { kMac, kIp, kMask, kGateway, kDns, kName, kPassword, kDhcp, kColumnCount };

constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    kPlanColumns.mac, kPlanColumns.ip,   kPlanColumns.mask,     kPlanColumns.gateway,
    kPlanColumns.dns, kPlanColumns.name, kPlanColumns.password, kPlanColumns.dhcp};

std::optional<bool> ParseYesNo(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (text.empty() || text == "no" || text == "false" || text == "0") {
        return false;
    }
    if (text == "yes" || text == "true" || text == "1") {
        return true;
    }
    return std::nullopt;
}

// Reads one plan, noting each problem with the line it is on.
class PlanReader final {
public:
    PlanReader(std::string_view fileName, AddressPolicy addresses)
        : m_fileName(fileName), m_addresses(addresses) {}

    Plan Read(std::string_view text);

private:
    void Problem(std::size_t line, const std::string& text) {
        m_plan.problems.push_back(std::string(m_fileName) + ":" + std::to_string(line) + ": " +
                                  text);
    }
    // Where each column is in the records; false when the header is not a plan's.
    bool ReadHeader(const CsvRecord& header);
    void ReadDevice(const CsvRecord& record);
    void CheckNothingShared();

    std::string_view m_fileName;
    AddressPolicy m_addresses;
    std::array<std::size_t, kColumnCount> m_positions{};
    Plan m_plan;
};

Plan PlanReader::Read(std::string_view text) {
    const CsvTable table = ParseCsv(text);
    if (table.error) {
        Problem(table.error->line, table.error->message);
        return std::move(m_plan);
    }
    if (table.records.empty()) {
        m_plan.problems.push_back(std::string(m_fileName) + ": the plan is empty");
        return std::move(m_plan);
    }
    if (!ReadHeader(table.records.front())) {
        return std::move(m_plan);
    }
    if (table.records.size() == 1) {
        Problem(1, "the plan lists no device");
    }
    std::for_each(table.records.begin() + 1, table.records.end(),
                  [this](const CsvRecord& record) { ReadDevice(record); });
    CheckNothingShared();
    return std::move(m_plan);
}

bool PlanReader::ReadHeader(const CsvRecord& header) {
    std::array<bool, kColumnCount> seen{};
    for (std::size_t position = 0; position < header.fields.size(); ++position) {
        const std::string& name = header.fields[position];
        const auto column = std::find(kColumnNames.begin(), kColumnNames.end(), name);
        if (column == kColumnNames.end()) {
            Problem(header.line, "unknown column '" + name + "'");
            continue;
        }
        const auto index = static_cast<std::size_t>(column - kColumnNames.begin());
        if (seen[index]) {
            Problem(header.line, "column '" + name + "' appears twice");
        }
        seen[index] = true;
        m_positions[index] = position;
    }
    for (std::size_t index = 0; index < kColumnCount; ++index) {
        if (!seen[index]) {
            Problem(header.line, "no column '" + std::string(kColumnNames[index]) + "'");
        }
    }
    return m_plan.problems.empty();
}

void PlanReader::ReadDevice(const CsvRecord& record) {
    if (record.fields.size() != kColumnCount) {
        Problem(record.line, std::to_string(record.fields.size()) +
                                 " fields where the header has " + std::to_string(kColumnCount));
        return;
    }
    const auto cell = [&](Column column) -> const std::string& {
        return record.fields[m_positions[column]];
    };
    const std::optional<bool> dhcp = ParseYesNo(cell(kDhcp));
    if (!dhcp) {
        Problem(record.line, "dhcp '" + cell(kDhcp) + "' is not yes or no");
    }
    const RequestFields fields{.mac = cell(kMac),
                               .ip = cell(kIp),
                               .mask = cell(kMask),
                               .gateway = cell(kGateway),
                               .dns = cell(kDns),
                               .name = cell(kName),
                               .password = cell(kPassword),
                               .dhcp = dhcp.value_or(false),
                               .nameGiven = !cell(kName).empty()};
    CheckedRequest checked = CheckRequestFields(fields, kPlanColumns, m_addresses);
    for (const std::string& problem : checked.problems) {
        Problem(record.line, problem);
    }
    if (checked.request && dhcp) {
        m_plan.entries.push_back({record.line, std::move(*checked.request)});
    }
}

void PlanReader::CheckNothingShared() {
    for (const SharedEntry& shared : FindShared(m_plan.entries)) {
        Problem(m_plan.entries[shared.entry].line, shared.text);
    }
}

}  // namespace

Plan ReadPlan(std::string_view text, std::string_view fileName, AddressPolicy addresses) {
    return PlanReader(fileName, addresses).Read(text);
}

std::vector<SharedEntry> FindShared(std::span<const PlanEntry> entries) {
    std::vector<SharedEntry> shared;
    std::map<std::string, std::size_t> macLines;
    std::map<std::uint32_t, std::size_t> ipLines;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const PlanEntry& entry = entries[index];
        const auto [mac, newMac] = macLines.emplace(entry.request.mac, entry.line);
        if (!newMac) {
            shared.push_back({index, "MAC " + entry.request.mac + " is planned on line " +
                                         std::to_string(mac->second) + " already"});
        }
        const IpSettings& settings = entry.request.settings;
        if (settings.useDhcp) {
            continue;
        }
        const auto [ip, newIp] = ipLines.emplace(settings.ipAddress, entry.line);
        if (!newIp) {
            shared.push_back(
                {index, "ip " + std::string(FormatDottedQuad(settings.ipAddress).View()) +
                            " is planned on line " + std::to_string(ip->second) + " already"});
        }
    }
    return shared;
}

std::string FormatPlan(std::span<const RequestFields> devices) {
    std::string text = FormatCsvRecord(kColumnNames);
    for (const RequestFields& device : devices) {
        std::array<std::string_view, kColumnCount> cells{};
        cells[kMac] = device.mac;
        cells[kIp] = device.ip;
        cells[kMask] = device.mask;
        cells[kGateway] = device.gateway;
        cells[kDns] = device.dns;
        cells[kName] = device.nameGiven ? std::string_view(device.name) : std::string_view();
        cells[kDhcp] = device.dhcp ? "yes" : "no";
        text += FormatCsvRecord(cells);
    }
    return text;
}

}  // namespace kestrelink::provisioning
