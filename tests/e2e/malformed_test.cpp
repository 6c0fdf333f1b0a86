#include <algorithm>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr SimulatedDevices kDevices{2, 2};

// Field widths of the announcements: a text that fills its field ends where the field does.
constexpr std::size_t kText08Width = 16;
constexpr std::size_t kName32Width = 32;
constexpr std::size_t kVersion32Width = 20;
constexpr std::size_t kIpText32Width = 128;

using RowsCheck = std::function<void(const std::vector<DeviceRow>& rows)>;

struct MalformedCase {
    const char* name;
    const char* kinds;
    int extraRows;
    RowsCheck check;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.name;
}

// The rows that are not the simulator's own.
std::vector<DeviceRow> Strangers(const std::vector<DeviceRow>& rows) {
    const std::vector<DeviceRow> own = kDevices.ExpectedRows();
    std::vector<DeviceRow> strangers;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(strangers), [&](const auto& row) {
        return FindRow(own, kColumnMac, row[kColumnMac]) == nullptr;
    });
    return strangers;
}

void ExpectOnlyOwnRows(const std::vector<DeviceRow>& rows) {
    EXPECT_EQ(SortedByMac(rows), kDevices.ExpectedRows());
}

void ExpectUniqueMacsAndAddresses(const std::vector<DeviceRow>& rows) {
    std::set<std::string> macs;
    std::set<std::string> addresses;
    for (const DeviceRow& row : rows) {
        EXPECT_TRUE(macs.insert(row[kColumnMac]).second) << row[kColumnMac];
        EXPECT_TRUE(addresses.insert(row[kColumnIp]).second) << row[kColumnIp];
    }
}

void ExpectTextsCutAtFieldWidths(const std::vector<DeviceRow>& rows) {
    const std::vector<DeviceRow> strangers = Strangers(rows);
    ASSERT_EQ(strangers.size(), 2u);
    for (const DeviceRow& row : strangers) {
        const bool bits32 = row[kColumnArch] == "32bits";
        SCOPED_TRACE(row[kColumnArch]);
        EXPECT_EQ(row[kColumnProductName].size(), bits32 ? kName32Width : kText08Width);
        EXPECT_EQ(row[kColumnGivenName].size(), bits32 ? kName32Width : kText08Width);
        EXPECT_EQ(row[kColumnVersion].size(), bits32 ? kVersion32Width : kText08Width);
        if (bits32) {
            EXPECT_EQ(row[kColumnIp].size(), kIpText32Width);
        }
    }
    for (const DeviceRow& own : kDevices.ExpectedRows()) {
        EXPECT_NE(FindRow(rows, kColumnMac, own[kColumnMac]), nullptr) << own[kColumnMac];
    }
}

void ExpectFirstHeardKeepsTheAddress(const std::vector<DeviceRow>& rows) {
    ExpectOnlyOwnRows(rows);
    ExpectUniqueMacsAndAddresses(rows);
}

void ExpectDeviceMovedToTheNewAddress(const std::vector<DeviceRow>& rows) {
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kDevices.Count()));
    ExpectUniqueMacsAndAddresses(rows);
    // The first device of each family is the one whose MAC the stranger announced.
    for (const int number : {0, kDevices.devices08}) {
        const DeviceRow first = kDevices.ExpectedRow(number);
        const DeviceRow* row = FindRow(rows, kColumnMac, first[kColumnMac]);
        ASSERT_NE(row, nullptr) << first[kColumnMac];
        EXPECT_NE((*row)[kColumnIp], first[kColumnIp]);
        EXPECT_EQ(FindRow(rows, kColumnIp, first[kColumnIp]), nullptr);
    }
}

void ExpectEverythingAtOnce(const std::vector<DeviceRow>& rows) {
    ExpectUniqueMacsAndAddresses(rows);
    ExpectTextsCutAtFieldWidths(rows);
}

class MalformedTest : public SimulatorTest, public ::testing::WithParamInterface<MalformedCase> {
protected:
    void CheckRows(int round) {
        const MalformedCase& c = GetParam();
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(WaitForRowCount(kDevices.Count() + c.extraRows)) << Rows().size() << " rows";
        ASSERT_NO_FATAL_FAILURE(SyncWithSimulator(kDevices, 0));
        const std::vector<DeviceRow> rows = Rows();
        EXPECT_EQ(rows.size(), static_cast<std::size_t>(kDevices.Count() + c.extraRows));
        c.check(rows);
    }
};

// The odd datagrams go out with every answer, before the good announcements (duplicates after
// them); the listener must take in every good one, in both rounds.
TEST_P(MalformedTest, NeverListsAStrangerNorStopsTheGoodAnnouncements) {
    ASSERT_NO_FATAL_FAILURE(
        StartSimulator(kDevices, {"--set-response", "--malformed", GetParam().kinds}));
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    ASSERT_NO_FATAL_FAILURE(CheckRows(1));
    m_window->OnDiscover();
    ASSERT_NO_FATAL_FAILURE(CheckRows(2));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MalformedTest,
    ::testing::Values(
        // Wrong lengths alone are the intake's unit tests; here they go with everything else.
        MalformedCase{"TextsWithoutNul", "no-nul", 2, ExpectTextsCutAtFieldWidths},
        MalformedCase{"DuplicateAddress", "dup-ip", 0, ExpectFirstHeardKeepsTheAddress},
        MalformedCase{"DuplicateMac", "dup-mac", 0, ExpectDeviceMovedToTheNewAddress},
        MalformedCase{"AllTogether", "short,long,oversize,swapped,no-nul,dup-ip,dup-mac", 2,
                      ExpectEverythingAtOnce}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink::testing
