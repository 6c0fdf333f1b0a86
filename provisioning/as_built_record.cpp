#include "provisioning/as_built_record.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "net/csv.h"
#include "net/latin1_text.h"
#include "net/text_forms.h"
#include "provisioning/listed_device.h"
#include "provisioning/result_words.h"

namespace kestrelink::provisioning {
namespace {

constexpr std::array<std::string_view, 17> kColumns = {
    "mac",      "serial",   "product", "family",  "old_ip",      "new_ip",
    "old_name", "new_name", "mask",    "gateway", "dns",         "dhcp",
    "requests", "outcome",  "reason",  "sent_at", "confirmed_at"};

std::string DeviceText(std::string_view latin1) {
    return GuardSpreadsheetCell(Latin1ToUtf8(latin1));
}

std::string Quad(std::uint32_t address) {
    return std::string(FormatDottedQuad(address).View());
}

std::string When(const std::optional<std::chrono::system_clock::time_point>& time) {
    return time ? IsoUtc(*time) : std::string();
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

std::string FormatRecord(std::span<const RecordEntry> entries) {
    std::string text = FormatCsvRecord(kColumns);
    for (const RecordEntry& entry : entries) {
        const IpSettings& settings = entry.settings;
        const bool dhcp = settings.useDhcp;
        const std::array<std::string, kColumns.size()> cells = {
            entry.mac,
            std::to_string(entry.serialNumber),
            DeviceText(entry.productName),
            std::string(FamilyText(entry.family)),
            DeviceText(entry.oldIp),
            dhcp ? std::string() : Quad(settings.ipAddress),
            DeviceText(entry.oldName),
            RequestCarries(entry.family, RequestField::HostName) ? DeviceText(settings.hostName)
                                                                 : std::string(),
            dhcp ? std::string() : Quad(settings.subnetMask),
            dhcp ? std::string() : Quad(settings.gateway),
            dhcp || !RequestCarries(entry.family, RequestField::DnsServer)
                ? std::string()
                : Quad(settings.dnsServer),
            dhcp ? "yes" : "no",
            std::to_string(entry.requests),
            std::string(RecordOutcome(entry.outcome)),
            GuardSpreadsheetCell(entry.reason),
            When(entry.sentAt),
            When(entry.confirmedAt)};
        const std::vector<std::string_view> fields(cells.begin(), cells.end());
        text += FormatCsvRecord(fields);
    }
    return text;
}

std::string IsoUtc(std::chrono::system_clock::time_point time) {
    const std::chrono::sys_days day{std::chrono::floor<std::chrono::days>(time)};
    const std::chrono::year_month_day date{day};
    const auto inDay = std::chrono::floor<std::chrono::milliseconds>(time) - day;
    const std::chrono::hh_mm_ss clock{inDay};
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()),
                  static_cast<int>(clock.subseconds().count()));
    return text.data();
}

std::chrono::system_clock::time_point WallClockOf(std::chrono::steady_clock::time_point moment) {
    const auto since = std::chrono::steady_clock::now() - moment;
    return std::chrono::system_clock::now() -
           std::chrono::duration_cast<std::chrono::system_clock::duration>(since);
}

std::optional<std::string> ReplaceFileWhole(const std::string& path, std::string_view bytes) {
    const std::filesystem::path target = PathOf(path);
    // Beside the target, so that the move stays on one file system and is never a copy.
    std::filesystem::path temporary = target;
    temporary += ".partial";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "cannot write '" + path + ".partial'";
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return "cannot replace '" + path + "': " + error.message();
    }
    return std::nullopt;
}

}  // namespace kestrelink::provisioning
