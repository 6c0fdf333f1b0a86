#include "net/csv.h"

namespace kestrelink {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Whether the text, past any leading apostrophes, begins as a formula would.
bool ReadsAsFormula(std::string_view field) {
    const auto start = field.find_first_not_of('\'');
    return start != std::string_view::npos &&
           std::string_view("=+-@\t\r").find(field[start]) != std::string_view::npos;
}

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

// Reads the text one record at a time, keeping count of the lines it has passed.
class CsvReader final {
public:
    explicit CsvReader(std::string_view text) : m_text(text) {}

    CsvTable ReadAll();

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    // Consumes a line end at the current position, if there is one.
    bool TakeLineEnd();
    std::optional<CsvError> ReadRecord(CsvRecord& record);
    std::optional<CsvError> ReadQuoted(std::string& field);
    std::optional<CsvError> ReadUnquoted(std::string& field);

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_line = 1;
};

bool CsvReader::TakeLineEnd() {
    if (m_text.substr(m_pos, 2) == "\r\n") {
        m_pos += 2;
    } else if (!AtEnd() && m_text[m_pos] == '\n') {
        ++m_pos;
    } else {
        return false;
    }
    ++m_line;
    return true;
}

CsvTable CsvReader::ReadAll() {
    if (m_text.starts_with(kByteOrderMark)) {
        m_pos = kByteOrderMark.size();
    }
    CsvTable table;
    while (!AtEnd()) {
        if (TakeLineEnd()) {
            continue;
        }
        CsvRecord record;
        record.line = m_line;
        if (auto error = ReadRecord(record)) {
            table.error = std::move(error);
            break;
        }
        table.records.push_back(std::move(record));
    }
    return table;
}

std::optional<CsvError> CsvReader::ReadRecord(CsvRecord& record) {
    for (;;) {
        std::string& field = record.fields.emplace_back();
        const bool quoted = !AtEnd() && m_text[m_pos] == '"';
        if (auto error = quoted ? ReadQuoted(field) : ReadUnquoted(field)) {
            return error;
        }
        if (AtEnd() || TakeLineEnd()) {
            return std::nullopt;
        }
        if (m_text[m_pos] != ',') {
            return CsvError{m_line, "text after a closing quote"};
        }
        ++m_pos;
    }
}

std::optional<CsvError> CsvReader::ReadQuoted(std::string& field) {
    const std::size_t openedOn = m_line;
    ++m_pos;
    while (!AtEnd()) {
        const char c = m_text[m_pos++];
        if (c == '"') {
            if (AtEnd() || m_text[m_pos] != '"') {
                return std::nullopt;
            }
            ++m_pos;
        } else if (c == '\n') {
            ++m_line;
        }
        field += c;
    }
    return CsvError{openedOn, "a quoted field is never closed"};
}

std::optional<CsvError> CsvReader::ReadUnquoted(std::string& field) {
    while (!AtEnd()) {
        const char c = m_text[m_pos];
        if (c == ',' || c == '\n' || m_text.substr(m_pos, 2) == "\r\n") {
            break;
        }
        if (c == '"') {
            return CsvError{m_line, "a quote inside a field that does not start with one"};
        }
        field += c;
        ++m_pos;
    }
    return std::nullopt;
}

}  // namespace

std::string FormatCsvRecord(std::span<const std::string_view> fields) {
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            record += ',';
        }
        if (!NeedsQuotes(fields[i])) {
            record += fields[i];
            continue;
        }
        record += '"';
        for (const char c : fields[i]) {
            if (c == '"') {
                record += '"';
            }
            record += c;
        }
        record += '"';
    }
    record += '\n';
    return record;
}

CsvTable ParseCsv(std::string_view text) {
    return CsvReader(text).ReadAll();
}

std::string GuardSpreadsheetCell(std::string_view field) {
    if (!ReadsAsFormula(field)) {
        return std::string(field);
    }
    return "'" + std::string(field);
}

std::string_view UnguardSpreadsheetCell(std::string_view field) {
    if (field.starts_with('\'') && ReadsAsFormula(field)) {
        field.remove_prefix(1);
    }
    return field;
}

}  // namespace kestrelink
