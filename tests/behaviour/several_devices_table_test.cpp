#include "behaviour/several_devices_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kestrelink;

namespace {

struct PatternCase {
    const char* pattern;
    std::size_t counter;
    const char* name;
};

class NamePatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(NamePatternTest, EachRunOfHashesIsTheCounterPaddedToItsLength) {
    EXPECT_EQ(ExpandNamePattern(GetParam().pattern, GetParam().counter), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Patterns, NamePatternTest,
                         ::testing::Values(PatternCase{"cam-###", 2, "cam-002"},
                                           PatternCase{"##-x-#", 12, "12-x-12"},
                                           PatternCase{"cam-#", 123, "cam-123"},
                                           PatternCase{"door", 5, "door"},
                                           PatternCase{"#", 1, "1"}));

std::vector<SeveralDevice> Devices() {
    return {{"02:00:00:00:00:01", "30", "Kestrel Cam", "32bits", "10.0.0.9", "lobby", ""},
            {"02:00:00:00:00:02", "4", "Kestrel Relay", "08bits", "10.0.0.10", "relay", ""},
            {"02:00:00:00:00:03", "100", "Kestrel Cam", "32bits", "192.168.1.2", "yard", ""}};
}

std::vector<std::string> Column(const SeveralDevicesTable& table, SeveralColumn column) {
    std::vector<std::string> cells;
    for (std::size_t row = 0; row < table.Rows().size(); ++row) {
        cells.push_back(table.Cell(row, column));
    }
    return cells;
}

TEST(SeveralDevicesTableTest, CheckedRowsTakeAddressesByStepAndTheCounterInTableOrder) {
    SeveralDevicesTable table(Devices());
    table.SetChecked(0, false);
    NumberingFields fields;
    fields.start = 0x0A00010A;  // 10.0.1.10
    fields.step = 5;
    fields.mask = 0xFFFF0000;
    fields.gateway = 0x0A000001;
    fields.dns = 0x0A000002;
    fields.namePattern = "cam-##";
    fields.password = "secret";
    table.Number(fields, true);
    EXPECT_EQ(Column(table, SeveralColumn::NewIp),
              (std::vector<std::string>{"", "10.0.1.10", "10.0.1.15"}));
    EXPECT_EQ(Column(table, SeveralColumn::NewName),
              (std::vector<std::string>{"", "(08bits take no name)", "cam-02"}));
    ASSERT_TRUE(table.Rows()[1].request && table.Rows()[2].request);
    EXPECT_FALSE(table.Rows()[0].request);
    EXPECT_EQ(table.Rows()[1].request->dns, "");  // an 08bits request carries none
    EXPECT_FALSE(table.Rows()[1].request->nameGiven);
    EXPECT_EQ(table.Rows()[2].request->dns, "10.0.0.2");
    EXPECT_EQ(table.Rows()[2].request->mask, "255.255.0.0");
    EXPECT_EQ(table.Rows()[2].request->password, "secret");
}

TEST(SeveralDevicesTableTest, WithoutAPatternOrAStartAddress) {
    SeveralDevicesTable table(Devices());
    NumberingFields fields;
    fields.dhcp = true;
    table.Number(fields, true);
    EXPECT_EQ(Column(table, SeveralColumn::NewIp),
              (std::vector<std::string>{"DHCP", "DHCP", "DHCP"}));
    EXPECT_EQ(Column(table, SeveralColumn::NewName),
              (std::vector<std::string>{"lobby", "(08bits take no name)", "yard"}));
    table.Number(NumberingFields{}, false);
    EXPECT_EQ(Column(table, SeveralColumn::NewIp), (std::vector<std::string>{"", "", ""}));
    EXPECT_FALSE(table.Rows()[0].request);
}

struct SortCase {
    SeveralColumn column;
    int clicks;
    std::vector<std::string> macEnds;
};

class SortTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTest, AddressesAndSerialsByValueTextsByCharacters) {
    SeveralDevicesTable table(Devices());
    for (int click = 0; click < GetParam().clicks; ++click) {
        table.SortBy(GetParam().column);
    }
    std::vector<std::string> ends;
    for (const std::string& mac : Column(table, SeveralColumn::Mac)) {
        ends.push_back(mac.substr(mac.size() - 1));
    }
    EXPECT_EQ(ends, GetParam().macEnds);
}

INSTANTIATE_TEST_SUITE_P(Columns, SortTest,
                         ::testing::Values(SortCase{SeveralColumn::Ip, 1, {"1", "2", "3"}},
                                           SortCase{SeveralColumn::Ip, 2, {"3", "2", "1"}},
                                           SortCase{SeveralColumn::SerialNo, 1, {"2", "1", "3"}},
                                           SortCase{SeveralColumn::GivenName, 1, {"1", "2", "3"}},
                                           SortCase{
                                               SeveralColumn::ProductName, 2, {"2", "1", "3"}}));

TEST(SeveralDevicesTableTest, APlanFillsRowsByMacAndAddsThoseNotFound) {
    SeveralDevicesTable table(Devices());
    provisioning::RequestFields planned;
    planned.mac = "02:00:00:00:00:03";
    planned.ip = "10.0.9.3";
    planned.mask = "255.255.255.0";
    planned.gateway = "10.0.9.1";
    planned.nameGiven = true;
    planned.name = "gate";
    provisioning::RequestFields missing = planned;
    missing.mac = "02:00:00:00:00:99";
    missing.ip = "10.0.9.99";
    const std::vector<provisioning::RequestFields> plan = {planned, missing};
    table.ApplyPlan(plan);
    NumberingFields fields;
    fields.password = "typed";
    table.Number(fields, false);
    EXPECT_EQ(Column(table, SeveralColumn::Mac),
              (std::vector<std::string>{"02:00:00:00:00:01", "02:00:00:00:00:02",
                                        "02:00:00:00:00:03", "02:00:00:00:00:99"}));
    EXPECT_EQ(Column(table, SeveralColumn::NewIp),
              (std::vector<std::string>{"", "", "10.0.9.3", "10.0.9.99"}));
    EXPECT_EQ(Column(table, SeveralColumn::Status),
              (std::vector<std::string>{"", "", "", "not found"}));
    EXPECT_FALSE(table.Rows()[0].checked);
    EXPECT_TRUE(table.Rows()[2].checked);
    EXPECT_FALSE(table.Rows()[3].checked);
    ASSERT_TRUE(table.Rows()[2].request);
    EXPECT_EQ(table.Rows()[2].request->password, "typed");
    EXPECT_FALSE(table.Rows()[3].request);
}

TEST(SeveralDevicesTableTest, CopyIsTheHeaderThenTheSelectedRowsInTableOrder) {
    SeveralDevicesTable table(Devices());
    table.SetStatus(2, "configured");
    const std::vector<std::size_t> selected = {2, 0};
    EXPECT_EQ(table.CopyText(selected),
              "MAC\tSerial No\tProduct Name\tarch\tIP\tGiven Name\tNew IP\tNew Name\tStatus\n"
              "02:00:00:00:00:01\t30\tKestrel Cam\t32bits\t10.0.0.9\tlobby\t\t\t\n"
              "02:00:00:00:00:03\t100\tKestrel Cam\t32bits\t192.168.1.2\tyard\t\t\tconfigured\n");
}

}  // namespace
