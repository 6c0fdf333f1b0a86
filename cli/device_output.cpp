#include "cli/device_output.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/discovered_device.h"
#include "cli/terminal_text.h"
#include "net/csv.h"
#include "net/device_csv.h"
#include "net/latin1_text.h"

namespace kestrelink::cli {
namespace {

constexpr std::size_t kFieldCount = kDeviceCsvKeys.size();
using Fields = std::array<std::string, kFieldCount>;

constexpr std::array<std::string_view, kFieldCount> kTableHeaders = {
    "IP",        "MAC",  "Product Name", "Given Name", "Version",
    "Serial No", "arch", "Interface",    "Conflict",   "Outside"};

// The two flags as the format words them.
struct FlagWords {
    std::string_view yes;
    std::string_view no;
};

// The device's texts kept as they are: CSV and JSON are read by programs, which get every
// character; only the table, read on a terminal, escapes them.
Fields TextFields(const DiscoveredDevice& device, FlagWords words) {
    return {Latin1ToUtf8(device.ip),
            device.mac,
            Latin1ToUtf8(device.productName),
            Latin1ToUtf8(device.givenName),
            Latin1ToUtf8(device.version),
            std::to_string(device.serialNumber),
            std::string(FamilyText(device.family)),
            device.interfaceName,
            std::string(device.conflict ? words.yes : words.no),
            std::string(device.outside ? words.yes : words.no)};
}

// Characters on the screen, not bytes: every character a device text holds is one column wide.
std::size_t DisplayWidth(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void WriteTable(std::ostream& out, std::span<const DiscoveredDevice> devices) {
    std::vector<Fields> rows;
    rows.emplace_back();
    std::copy(kTableHeaders.begin(), kTableHeaders.end(), rows.back().begin());
    for (const DiscoveredDevice& device : devices) {
        Fields fields = TextFields(device, {"yes", "no"});
        for (std::string& field : fields) {
            field = TerminalText(field);
        }
        rows.push_back(std::move(fields));
    }
    std::array<std::size_t, kFieldCount> widths{};
    for (const Fields& row : rows) {
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
        }
    }
    for (const Fields& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            line += row[i];
            if (i + 1 < kFieldCount) {
                line.append(widths[i] - DisplayWidth(row[i]) + 2, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

void WriteCsv(std::ostream& out, std::span<const DiscoveredDevice> devices) {
    out << FormatCsvRecord(kDeviceCsvKeys);
    for (const DiscoveredDevice& device : devices) {
        const Fields fields = TextFields(device, {"true", "false"});
        std::array<std::string_view, kFieldCount> views;
        std::copy(fields.begin(), fields.end(), views.begin());
        out << FormatCsvRecord(views);
    }
}

void WriteJson(std::ostream& out, std::span<const DiscoveredDevice> devices) {
    auto list = nlohmann::ordered_json::array();
    for (const DiscoveredDevice& device : devices) {
        const Fields fields = TextFields(device, {"true", "false"});
        nlohmann::ordered_json object;
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            object[kDeviceCsvKeys[i]] = fields[i];
        }
        // The values that are not texts keep their places among the keys.
        object["serial"] = device.serialNumber;
        object["conflict"] = device.conflict;
        object["outside"] = device.outside;
        list.push_back(std::move(object));
    }
    // An interface name is whatever bytes the system holds; one that is not UTF-8 must not cost
    // the whole list.
    out << list.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

}  // namespace

void WriteDevices(std::ostream& out, OutputFormat format,
                  std::span<const DiscoveredDevice> devices) {
    switch (format) {
        case OutputFormat::Table:
            WriteTable(out, devices);
            break;
        case OutputFormat::Csv:
            WriteCsv(out, devices);
            break;
        case OutputFormat::Json:
            WriteJson(out, devices);
            break;
    }
}

}  // namespace kestrelink::cli
