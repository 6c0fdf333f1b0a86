#include "net/csv.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kestrelink {
namespace {

struct WriteCase {
    const char* name;
    std::vector<std::string_view> fields;
    std::string record;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatCsvRecordTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(FormatCsvRecordTest, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(FormatCsvRecord(GetParam().fields), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Records, FormatCsvRecordTest,
    ::testing::Values(WriteCase{"Plain", {"10.0.0.1", "unit 2"}, "10.0.0.1,unit 2\n"},
                      WriteCase{"EmptyFields", {"", "", ""}, ",,\n"},
                      WriteCase{"Comma", {"a,b", "c"}, "\"a,b\",c\n"},
                      WriteCase{"Quote", {"say \"hi\""}, "\"say \"\"hi\"\"\"\n"},
                      WriteCase{"LineBreaks", {"a\r\nb", "c\nd"}, "\"a\r\nb\",\"c\nd\"\n"},
                      WriteCase{"LoneCarriageReturn", {"a\rb"}, "\"a\rb\"\n"},
                      WriteCase{"SpacesKept", {" a "}, " a \n"}),
    [](const auto& info) { return info.param.name; });

using Records = std::vector<std::vector<std::string>>;

struct ReadCase {
    const char* name;
    std::string text;
    Records records;
    std::vector<std::size_t> lines;  // where each record starts
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseCsvTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ParseCsvTest, RecordsWithTheLinesTheyStartOn) {
    const CsvTable table = ParseCsv(GetParam().text);
    EXPECT_FALSE(table.error);
    Records records;
    std::vector<std::size_t> lines;
    for (const CsvRecord& record : table.records) {
        records.push_back(record.fields);
        lines.push_back(record.line);
    }
    EXPECT_EQ(records, GetParam().records);
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCsvTest,
    ::testing::Values(ReadCase{"LfLines", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
                      ReadCase{"CrlfLines", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
                      ReadCase{"NoFinalLineEnd", "a,b\nc", {{"a", "b"}, {"c"}}, {1, 2}},
                      ReadCase{"EmptyFieldsKept", ",x,\n", {{"", "x", ""}}, {1}},
                      ReadCase{"QuotedComma", "\"a,b\",c\n", {{"a,b", "c"}}, {1}},
                      ReadCase{"DoubledQuote", "\"say \"\"hi\"\"\"\n", {{"say \"hi\""}}, {1}},
                      ReadCase{"EmptyQuoted", "\"\",x\n", {{"", "x"}}, {1}},
                      ReadCase{"BreakInsideQuotesCountsALine",
                               "\"two\r\nlines\",x\nnext\n",
                               {{"two\r\nlines", "x"}, {"next"}},
                               {1, 3}},
                      ReadCase{"EmptyLinesSkipped", "\na\n\r\n\nb\n", {{"a"}, {"b"}}, {2, 5}},
                      ReadCase{
                          "ByteOrderMarkIgnored", "\xEF\xBB\xBFmac,ip\n", {{"mac", "ip"}}, {1}}),
    [](const auto& info) { return info.param.name; });

struct ErrorCase {
    const char* name;
    std::string text;
    std::size_t recordsBefore;
    CsvError error;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseCsvErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ParseCsvErrorTest, StopsAtTheFirstErrorWithItsLine) {
    const CsvTable table = ParseCsv(GetParam().text);
    EXPECT_EQ(table.records.size(), GetParam().recordsBefore);
    ASSERT_TRUE(table.error);
    EXPECT_EQ(table.error->line, GetParam().error.line);
    EXPECT_EQ(table.error->message, GetParam().error.message);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCsvErrorTest,
    ::testing::Values(
        ErrorCase{"QuoteLeftOpen", "a\n\"open,\nstill\n", 1, {2, "a quoted field is never closed"}},
        ErrorCase{"QuoteInsideField",
                  "ok\nab\"c\n",
                  1,
                  {2, "a quote inside a field that does not start with one"}},
        ErrorCase{"TextAfterClosingQuote", "\"ab\"c,d\n", 0, {1, "text after a closing quote"}}),
    [](const auto& info) { return info.param.name; });

TEST(CsvRoundTripTest, WhatIsWrittenReadsBackUnchanged) {
    const std::vector<std::string_view> fields = {
        "", "plain", "a,b", "\"quoted\"", "two\nlines", "crlf\r\nend", " spaced ", "caf\xC3\xA9"};
    const std::string text = FormatCsvRecord(fields) + FormatCsvRecord(fields);
    const CsvTable table = ParseCsv(text);
    ASSERT_FALSE(table.error);
    ASSERT_EQ(table.records.size(), 2u);
    for (const CsvRecord& record : table.records) {
        EXPECT_EQ(record.fields, std::vector<std::string>(fields.begin(), fields.end()));
    }
    EXPECT_EQ(table.records[1].line, 4u);
}

}  // namespace
}  // namespace kestrelink
