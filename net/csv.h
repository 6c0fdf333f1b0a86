#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Comma-separated values as RFC 4180 has them: a field that holds a comma, a double quote, CR or
// LF is written between double quotes, with each quote inside doubled. Records end with LF alone,
// which every spreadsheet reads and which line-based Unix tools expect; the reader accepts LF and
// CRLF alike.
namespace kestrelink {

// One record with its line end.
std::string FormatCsvRecord(std::span<const std::string_view> fields);

struct CsvRecord {
    std::size_t line = 0;  // where the record starts, counting from 1
    std::vector<std::string> fields;
};

struct CsvError {
    std::size_t line = 0;
    std::string message;
};

struct CsvTable {
    std::vector<CsvRecord> records;
    std::optional<CsvError> error;  // reading stops at the first one
};

// Empty lines hold no record and are skipped; a leading UTF-8 byte order mark is ignored. A quote
// in an unquoted field, text after a closing quote, and a quote left open are errors.
CsvTable ParseCsv(std::string_view text);

// Spreadsheet programs take a cell that begins with '=', '+', '-', '@', a tab or a CR as a formula,
// and device texts come from any host on the segment. Files meant for spreadsheets carry such a
// text behind an apostrophe, which the spreadsheet hides. A text that already begins with
// apostrophes before such a character gets one more, so that unguarding gives back exactly what
// was guarded.
std::string GuardSpreadsheetCell(std::string_view field);
std::string_view UnguardSpreadsheetCell(std::string_view field);

}  // namespace kestrelink
