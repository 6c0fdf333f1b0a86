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

struct ReadCase {
    const char* name;
    std::string text;
    // Each record as "LINE: FIELD|FIELD...", then the error as "LINE: MESSAGE" if there is one.
    std::vector<std::string> read;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseCsvTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ParseCsvTest, RecordsWithTheLinesTheyStartOnUpToTheFirstError) {
    const CsvTable table = ParseCsv(GetParam().text);
    std::vector<std::string> read;
    for (const CsvRecord& record : table.records) {
        std::string text = std::to_string(record.line) + ": ";
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            text += (i > 0 ? "|" : "") + record.fields[i];
        }
        read.push_back(text);
    }
    if (table.error) {
        read.push_back(std::to_string(table.error->line) + ": " + table.error->message);
    }
    EXPECT_EQ(read, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCsvTest,
    ::testing::Values(
        ReadCase{"LfLines", "a,b\nc,d\n", {"1: a|b", "2: c|d"}},
        ReadCase{"CrlfLines", "a,b\r\nc,d\r\n", {"1: a|b", "2: c|d"}},
        ReadCase{"NoFinalLineEnd", "a,b\nc", {"1: a|b", "2: c"}},
        ReadCase{"EmptyQuoted", "\"\",x,\"y\"\n", {"1: |x|y"}},
        ReadCase{"EmptyLinesSkipped", "\na\n\r\n\nb\n", {"2: a", "5: b"}},
        ReadCase{"ByteOrderMarkIgnored", "\xEF\xBB\xBFmac,ip\n", {"1: mac|ip"}},
        ReadCase{
            "QuoteLeftOpen", "a\n\"open,\nstill\n", {"1: a", "2: a quoted field is never closed"}},
        ReadCase{"QuoteInsideField",
                 "ok\nab\"c\n",
                 {"1: ok", "2: a quote inside a field that does not start with one"}},
        ReadCase{"TextAfterClosingQuote", "\"ab\"c,d\n", {"1: text after a closing quote"}}),
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

struct GuardCase {
    std::string_view text;
    std::string_view guarded;
};

class SpreadsheetGuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(SpreadsheetGuardTest, FormulaLikeTextsGoBehindAnApostropheAndComeBack) {
    EXPECT_EQ(GuardSpreadsheetCell(GetParam().text), GetParam().guarded);
    EXPECT_EQ(UnguardSpreadsheetCell(GetParam().guarded), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cells, SpreadsheetGuardTest,
                         ::testing::Values(GuardCase{"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"},
                                           GuardCase{"+1", "'+1"},
                                           GuardCase{"-cmd|' /C calc'!A0", "'-cmd|' /C calc'!A0"},
                                           GuardCase{"@SUM(A1)", "'@SUM(A1)"},
                                           GuardCase{"\tx", "'\tx"}, GuardCase{"\rx", "'\rx"},
                                           GuardCase{"'=x", "''=x"}, GuardCase{"cam=1", "cam=1"},
                                           GuardCase{"'quoted", "'quoted"}, GuardCase{"", ""},
                                           GuardCase{"'", "'"},
                                           GuardCase{"192.168.0.1", "192.168.0.1"}));

TEST(SpreadsheetGuardTest, AnUnguardedTextIsReadAsItStands) {
    EXPECT_EQ(UnguardSpreadsheetCell("=x"), "=x");
    EXPECT_EQ(UnguardSpreadsheetCell("'abc"), "'abc");
}

}  // namespace
}  // namespace kestrelink
