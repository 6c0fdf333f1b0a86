#include "behaviour/list_export.h"

#include <array>
#include <string_view>

#include "net/csv.h"
#include "net/device_csv.h"
#include "net/device_list.h"
#include "net/latin1_text.h"

namespace kestrelink {

std::string ExportListFile(const DeviceList& list, std::span<const int> rows) {
    std::span<const std::string_view> keys(kDeviceCsvKeys.data(), kColumnCount);
    std::string csv = "\xEF\xBB\xBF" + FormatCsvRecord(keys);
    for (const int row : rows) {
        std::array<std::string, kColumnCount> cells;
        std::array<std::string_view, kColumnCount> fields;
        for (int column = 0; column < kColumnCount; ++column) {
            const auto index = static_cast<std::size_t>(column);
            cells[index] = GuardSpreadsheetCell(Latin1ToUtf8(list.CellText(row, column)));
            fields[index] = cells[index];
        }
        csv += FormatCsvRecord(fields);
    }
    return csv;
}

}  // namespace kestrelink
