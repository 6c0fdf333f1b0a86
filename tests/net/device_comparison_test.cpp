#include "net/device_comparison.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrelink {
namespace {

DeviceRow Row(const char* ip, const char* mac, const char* name, const char* version) {
    return {ip, mac, "ED-1", name, version, "7", "32bits"};
}

TEST(DeviceComparisonTest, MarksEachHeardDeviceAndListsTheEarlierOnesNotHeard) {
    const DeviceComparison comparison(EarlierList{{
        Row("10.0.0.1", "02:00:00:00:00:01", "a", "1.0"),
        Row("10.0.0.2", "02:00:00:00:00:02", "b", "1.0"),
        Row("10.0.0.3", "02:00:00:00:00:03", "c", "1.0"),
        Row("10.0.0.4", "02:00:00:00:00:04", "d", "1.0"),
        Row("10.0.0.5", "02:00:00:00:00:05", "e", "1.0"),
        Row("10.0.0.6", "02:00:00:00:00:06", "f", "1.0"),
    }});
    const std::vector<DeviceRow> heard = {
        Row("10.0.0.1", "02:00:00:00:00:01", "a", "1.0"),
        Row("10.0.0.9", "02:00:00:00:00:02", "b", "1.0"),
        Row("10.0.0.3", "02:00:00:00:00:03", "x", "1.0"),
        Row("10.0.0.4", "02:00:00:00:00:04", "d", "2.0"),
        Row("10.0.0.7", "02:00:00:00:00:07", "g", "1.0"),
    };
    std::vector<RowCells> cells;
    for (const DeviceRow& row : heard) {
        cells.push_back(CellsOf(row));
    }
    // Product, serial and family are not compared.
    cells[0][kColumnProductName] = "other";

    const DeviceComparison::Result result = comparison.Compare(cells);

    const std::vector<DeviceChange> expected = {DeviceChange::Same, DeviceChange::Changed,
                                                DeviceChange::Changed, DeviceChange::Changed,
                                                DeviceChange::New};
    ASSERT_EQ(result.heard.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.heard[i].change, expected[i]) << i;
    }
    EXPECT_EQ(result.heard[1].was, &comparison.Earlier()[1]);
    EXPECT_EQ((*result.heard[1].was)[kColumnIp], "10.0.0.2");
    EXPECT_EQ(result.heard[4].was, nullptr);
    ASSERT_EQ(result.missing.size(), 2u);
    EXPECT_EQ((*result.missing[0])[kColumnMac], "02:00:00:00:00:05");
    EXPECT_EQ((*result.missing[1])[kColumnMac], "02:00:00:00:00:06");
    EXPECT_EQ(ComparisonCountText(result.count), "1 new, 3 changed, 2 missing");
    EXPECT_TRUE(result.count.Any());
}

}  // namespace
}  // namespace kestrelink
