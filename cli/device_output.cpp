#include "cli/device_output.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "cli/terminal_text.h"
#include "net/csv.h"
#include "net/device_csv.h"
#include "net/latin1_text.h"

namespace kestrelink::cli {
namespace {

using Json = nlohmann::ordered_json;
using Fields = std::vector<std::string>;

constexpr std::array<std::string_view, kDeviceCsvKeys.size()> kTableHeaders = {
    "IP",        "MAC",  "Product Name", "Given Name", "Version",
    "Serial No", "arch", "Interface",    "Conflict",   "Outside"};
constexpr std::array<std::string_view, 3> kWasKeys = {"was_ip", "was_name", "was_version"};

// The two flags as the format words them.
struct FlagWords {
    std::string_view yes;
    std::string_view no;
};
constexpr FlagWords kTableWords{"yes", "no"};
constexpr FlagWords kDataWords{"true", "false"};

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

Fields TableFields(const DiscoveredDevice& device) {
    Fields fields = TextFields(device, kTableWords);
    for (std::string& field : fields) {
        field = TerminalText(field);
    }
    return fields;
}

// The device's fields as JSON, the values that are not texts keeping their places among the keys.
Json JsonObject(const DiscoveredDevice& device) {
    const Fields fields = TextFields(device, kDataWords);
    Json object;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        object[kDeviceCsvKeys[i]] = fields[i];
    }
    object["serial"] = device.serialNumber;
    object["conflict"] = device.conflict;
    object["outside"] = device.outside;
    return object;
}

// An interface name is whatever bytes the system holds; one that is not UTF-8 must not cost the
// whole list.
std::string JsonText(const Json& json, int indent) {
    return json.dump(indent, ' ', false, Json::error_handler_t::replace);
}

std::string CsvLine(const Fields& fields) {
    std::vector<std::string_view> views(fields.begin(), fields.end());
    return FormatCsvRecord(views);
}

// Characters on the screen, not bytes: every character a device text holds is one column wide.
std::size_t DisplayWidth(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// rows[0] is the header.
void WriteTable(std::ostream& out, const std::vector<Fields>& rows) {
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const Fields& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
        }
    }
    for (const Fields& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) {
                line.append(widths[i] - DisplayWidth(row[i]) + 2, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

std::string_view ChangeName(DeviceChange change) {
    switch (change) {
        case DeviceChange::Same:
            return "same";
        case DeviceChange::New:
            return "new";
        case DeviceChange::Changed:
            return "changed";
        case DeviceChange::Missing:
            return "missing";
    }
    return "same";
}

// "changed (ip 10.0.0.5, name hall)": only what differs.
std::string TableChange(const ComparedDevice& compared) {
    std::string text(ChangeName(compared.change));
    if (compared.change != DeviceChange::Changed) {
        return text;
    }
    const DiscoveredDevice& now = compared.device;
    std::vector<std::string> was;
    for (const auto& [label, before, after] :
         {std::tuple("ip", &compared.wasIp, &now.ip),
          std::tuple("name", &compared.wasName, &now.givenName),
          std::tuple("version", &compared.wasVersion, &now.version)}) {
        if (*before != *after) {
            was.push_back(std::string(label) + " " + TerminalText(Latin1ToUtf8(*before)));
        }
    }
    text += " (was ";
    for (std::size_t i = 0; i < was.size(); ++i) {
        text += (i > 0 ? ", " : "") + was[i];
    }
    return text + ")";
}

Fields WasFields(bool present, const std::string& ip, const std::string& name,
                 const std::string& version) {
    if (!present) {
        return {"", "", ""};
    }
    return {Latin1ToUtf8(ip), Latin1ToUtf8(name), Latin1ToUtf8(version)};
}

void AddWas(Json& object, const Fields& was, bool present) {
    for (std::size_t i = 0; i < kWasKeys.size(); ++i) {
        object[kWasKeys[i]] = present ? Json(was[i]) : Json(nullptr);
    }
}

// The table's "key=value" for a text that may hold spaces or nothing.
std::string Quoted(std::string_view utf8) {
    std::string text = "\"";
    for (const char c : TerminalText(utf8)) {
        if (c == '"' || c == '\\') {
            text += '\\';
        }
        text += c;
    }
    return text + "\"";
}

std::string EventTableLine(const DeviceEvent& event) {
    const DiscoveredDevice& device = event.device;
    std::string line = UtcTimeText(event.time) + " " + std::string(EventName(event.kind)) + " " +
                       device.mac + " ip=" + TerminalText(Latin1ToUtf8(device.ip)) +
                       " name=" + Quoted(Latin1ToUtf8(device.givenName)) +
                       " version=" + Quoted(Latin1ToUtf8(device.version)) +
                       " product=" + Quoted(Latin1ToUtf8(device.productName)) +
                       " serial=" + std::to_string(device.serialNumber) +
                       " family=" + std::string(FamilyText(device.family)) +
                       " interface=" + Quoted(device.interfaceName);
    if (device.conflict) {
        line += " conflict";
    }
    if (device.outside) {
        line += " outside";
    }
    if (event.kind == WatchEventKind::Changed || event.kind == WatchEventKind::Returned) {
        line += " was ip=" + TerminalText(Latin1ToUtf8(event.wasIp)) +
                " name=" + Quoted(Latin1ToUtf8(event.wasName)) +
                " version=" + Quoted(Latin1ToUtf8(event.wasVersion));
    }
    return line + "\n";
}

}  // namespace

void WriteDevices(std::ostream& out, OutputFormat format,
                  std::span<const DiscoveredDevice> devices) {
    switch (format) {
        case OutputFormat::Table: {
            std::vector<Fields> rows{Fields(kTableHeaders.begin(), kTableHeaders.end())};
            for (const DiscoveredDevice& device : devices) {
                rows.push_back(TableFields(device));
            }
            WriteTable(out, rows);
            break;
        }
        case OutputFormat::Csv:
            out << FormatCsvRecord(kDeviceCsvKeys);
            for (const DiscoveredDevice& device : devices) {
                out << CsvLine(TextFields(device, kDataWords));
            }
            break;
        case OutputFormat::Json: {
            Json list = Json::array();
            for (const DiscoveredDevice& device : devices) {
                list.push_back(JsonObject(device));
            }
            out << JsonText(list, 2) << '\n';
            break;
        }
    }
}

void WriteComparedDevices(std::ostream& out, OutputFormat format,
                          std::span<const ComparedDevice> devices) {
    switch (format) {
        case OutputFormat::Table: {
            std::vector<Fields> rows{Fields(kTableHeaders.begin(), kTableHeaders.end())};
            rows.front().push_back("Change");
            for (const ComparedDevice& compared : devices) {
                rows.push_back(TableFields(compared.device));
                rows.back().push_back(TableChange(compared));
            }
            WriteTable(out, rows);
            break;
        }
        case OutputFormat::Csv: {
            Fields header(kDeviceCsvKeys.begin(), kDeviceCsvKeys.end());
            header.push_back("change");
            header.insert(header.end(), kWasKeys.begin(), kWasKeys.end());
            out << CsvLine(header);
            for (const ComparedDevice& compared : devices) {
                Fields fields = TextFields(compared.device, kDataWords);
                fields.emplace_back(ChangeName(compared.change));
                const Fields was = WasFields(compared.change == DeviceChange::Changed,
                                             compared.wasIp, compared.wasName, compared.wasVersion);
                fields.insert(fields.end(), was.begin(), was.end());
                out << CsvLine(fields);
            }
            break;
        }
        case OutputFormat::Json: {
            Json list = Json::array();
            for (const ComparedDevice& compared : devices) {
                Json object = JsonObject(compared.device);
                object["change"] = ChangeName(compared.change);
                const bool changed = compared.change == DeviceChange::Changed;
                AddWas(object,
                       WasFields(changed, compared.wasIp, compared.wasName, compared.wasVersion),
                       changed);
                list.push_back(std::move(object));
            }
            out << JsonText(list, 2) << '\n';
            break;
        }
    }
}

EventWriter::EventWriter(std::ostream& out, OutputFormat format) : m_out(out), m_format(format) {
    if (m_format == OutputFormat::Csv) {
        Fields header{"event", "time"};
        header.insert(header.end(), kDeviceCsvKeys.begin(), kDeviceCsvKeys.end());
        header.insert(header.end(), kWasKeys.begin(), kWasKeys.end());
        m_out << CsvLine(header) << std::flush;
    }
}

void EventWriter::Write(const DeviceEvent& event) {
    const bool hasWas =
        event.kind == WatchEventKind::Changed || event.kind == WatchEventKind::Returned;
    const Fields was = WasFields(hasWas, event.wasIp, event.wasName, event.wasVersion);
    switch (m_format) {
        case OutputFormat::Table:
            m_out << EventTableLine(event);
            break;
        case OutputFormat::Csv: {
            Fields fields{std::string(EventName(event.kind)), UtcTimeText(event.time)};
            const Fields device = TextFields(event.device, kDataWords);
            fields.insert(fields.end(), device.begin(), device.end());
            fields.insert(fields.end(), was.begin(), was.end());
            m_out << CsvLine(fields);
            break;
        }
        case OutputFormat::Json: {
            Json object;
            object["event"] = EventName(event.kind);
            object["time"] = UtcTimeText(event.time);
            object.update(JsonObject(event.device));
            if (hasWas) {
                AddWas(object, was, true);
            }
            m_out << JsonText(object, -1) << '\n';
            break;
        }
    }
    m_out.flush();
}

std::string_view EventName(WatchEventKind kind) {
    switch (kind) {
        case WatchEventKind::Appeared:
            return "appeared";
        case WatchEventKind::Changed:
            return "changed";
        case WatchEventKind::Vanished:
            return "vanished";
        case WatchEventKind::Returned:
            return "returned";
    }
    return "appeared";
}

std::string UtcTimeText(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(time);
    const auto day = floor<days>(seconds);
    const year_month_day date(day);
    const hh_mm_ss clock(seconds - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

}  // namespace kestrelink::cli
