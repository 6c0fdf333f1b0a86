#include "net/earlier_list.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "net/device_csv.h"
#include "net/latin1_text.h"
#include "net/text_forms.h"

namespace kestrelink {
namespace {

enum class ListKind { CommandLine, Window };

std::optional<ListKind> KindOf(const CsvRecord& header) {
    const auto matches = [&header](std::size_t count) {
        return header.fields.size() == count &&
               std::equal(header.fields.begin(), header.fields.end(), kDeviceCsvKeys.begin());
    };
    if (matches(kDeviceCsvKeys.size())) {
        return ListKind::CommandLine;
    }
    if (matches(kColumnCount)) {
        return ListKind::Window;
    }
    return std::nullopt;
}

class EarlierListReader final {
public:
    EarlierListReading Read(std::string_view text);

private:
    std::optional<CsvError> ReadDevice(const CsvRecord& record);

    ListKind m_kind = ListKind::CommandLine;
    std::size_t m_fieldCount = 0;
    std::unordered_map<std::string, std::size_t> m_lineOfMac;
    EarlierList m_list;
};

EarlierListReading EarlierListReader::Read(std::string_view text) {
    const CsvTable table = ParseCsv(text);
    if (table.error) {
        return {{}, table.error};
    }
    if (table.records.empty()) {
        return {{}, CsvError{1, "the file is empty, not a device list"}};
    }
    const CsvRecord& header = table.records.front();
    const std::optional<ListKind> kind = KindOf(header);
    if (!kind) {
        return {{},
                CsvError{header.line,
                         "not a device list: the header is neither the command-line program's "
                         "nor the window's exported list's"}};
    }
    m_kind = *kind;
    m_fieldCount = header.fields.size();
    for (auto record = table.records.begin() + 1; record != table.records.end(); ++record) {
        if (auto error = ReadDevice(*record)) {
            return {{}, std::move(error)};
        }
    }
    return {std::move(m_list), std::nullopt};
}

std::optional<CsvError> EarlierListReader::ReadDevice(const CsvRecord& record) {
    if (record.fields.size() != m_fieldCount) {
        return CsvError{record.line, std::to_string(record.fields.size()) +
                                         " fields where the header has " +
                                         std::to_string(m_fieldCount)};
    }
    DeviceRow row;
    for (int column = 0; column < kColumnCount; ++column) {
        const auto index = static_cast<std::size_t>(column);
        std::string_view cell = record.fields[index];
        if (m_kind == ListKind::Window) {
            cell = UnguardSpreadsheetCell(cell);
        }
        std::optional<std::string> latin1 = Utf8ToLatin1(cell, ControlCharacters::Send);
        if (!latin1) {
            return CsvError{record.line, "the " + std::string(kDeviceCsvKeys[index]) +
                                             " holds a character no device can send"};
        }
        row[index] = std::move(*latin1);
    }
    const std::optional<MacAddress> mac = ParseCanonicalMacText(row[kColumnMac]);
    if (!mac) {
        return CsvError{record.line, "\"" + record.fields[kColumnMac] + "\" is not a MAC address"};
    }
    row[kColumnMac] = std::string(FormatMacText(*mac).View());
    const auto [earlier, added] = m_lineOfMac.try_emplace(row[kColumnMac], record.line);
    if (!added) {
        return CsvError{record.line, row[kColumnMac] + " is listed twice, first on line " +
                                         std::to_string(earlier->second)};
    }
    m_list.devices.push_back(std::move(row));
    return std::nullopt;
}

}  // namespace

EarlierListReading ReadEarlierList(std::string_view text) {
    return EarlierListReader().Read(text);
}

}  // namespace kestrelink
