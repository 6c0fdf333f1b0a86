#include "behaviour/list_marks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "net/device_list.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;

constexpr auto kEarlier =
    "ip,mac,product,name,version,serial,family\n"
    "10.0.0.1,00:00:00:00:00:01,Cam,door,1.0,1,32bits\n"
    "10.0.0.2,00:00:00:00:00:02,Cam,yard,1.0,2,32bits\n"
    "10.0.0.3,00:00:00:00:00:03,Cam,gate,1.0,3,32bits\n";

void List(DeviceList& list, const char* ip, const char* mac, const char* name,
          const char* version = "1.0") {
    list.InsertRow({ip, mac, "Cam", name, version, "9", "32bits"});
}

// Each listed row top to bottom as "MAC mark|tip".
std::vector<std::string> Marked(const ListMarks& marks, const DeviceList& list) {
    static constexpr const char* kNames[] = {"none", "new", "changed", "quiet"};
    std::vector<std::string> rows;
    for (int row = 0; row < list.RowCount(); ++row) {
        rows.push_back(list.CellText(row, kColumnMac) + " " +
                       kNames[static_cast<int>(marks.MarkOf(list, row))] + "|" +
                       marks.TipOf(list, row));
    }
    return rows;
}

TEST(ListMarksTest, ComparisonMarksRowsAndKeepsTheDevicesNotHeard) {
    DeviceList list;
    List(list, "10.0.0.1", "00:00:00:00:00:01", "door");
    List(list, "10.0.0.9", "00:00:00:00:00:02", "yard");
    List(list, "10.0.0.4", "00:00:00:00:00:04", "shed");
    List(list, "10.0.0.3", "00:00:00:00:00:03", "gate", "2.0");
    ListMarks marks;
    ASSERT_FALSE(marks.Compare(kEarlier));

    EXPECT_EQ(Marked(marks, list),
              (std::vector<std::string>{
                  "00:00:00:00:00:03 changed|was 10.0.0.3, name \"gate\", version 1.0",
                  "00:00:00:00:00:04 new|",
                  "00:00:00:00:00:02 changed|was 10.0.0.2, name \"yard\", version 1.0",
                  "00:00:00:00:00:01 none|",
              }));
    EXPECT_TRUE(marks.Missing(list).empty());
    EXPECT_EQ(marks.CountAddition(list, 0), ", 1 new, 2 changed, 0 missing");

    list.DeleteRowByMacText("00:00:00:00:00:02");
    ASSERT_EQ(marks.Missing(list).size(), 1u);
    EXPECT_EQ(marks.Missing(list)[0][kColumnIp], "10.0.0.2");

    marks.Forget();
    EXPECT_FALSE(marks.Comparing());
    EXPECT_TRUE(marks.Missing(list).empty());
    EXPECT_EQ(marks.CountAddition(list, 0), "");
}

TEST(ListMarksTest, RefusedListLeavesTheComparisonInForce) {
    DeviceList list;
    ListMarks marks;
    ASSERT_FALSE(marks.Compare(kEarlier));
    const std::optional<CsvError> refusal = marks.Compare("ip,mac\n");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->line, 1u);
    EXPECT_TRUE(marks.Comparing());
    EXPECT_EQ(marks.Missing(list).size(), 3u);
}

TEST(ListMarksTest, WatchMarksNewcomersAndDevicesQuietForThreeRounds) {
#ifdef _WIN32
    _putenv_s("TZ", "UTC");
    _tzset();
#else
    setenv("TZ", "UTC", 1);
    tzset();
#endif
    // 2026-12-09 17:00:00 UTC
    const auto start = std::chrono::system_clock::from_time_t(1796835600);
    DeviceList list;
    List(list, "10.0.0.1", "00:00:00:00:00:01", "door");
    List(list, "10.0.0.2", "00:00:00:00:00:02", "yard");
    ListMarks marks;
    marks.Watch().StartWatching(start);
    const DeviceRow door = {"10.0.0.1", "00:00:00:00:00:01", "Cam", "door", "1.0", "9", "32bits"};
    const DeviceRow shed = {"10.0.0.4", "00:00:00:00:00:04", "Cam", "shed", "1.0", "9", "32bits"};
    List(list, "10.0.0.4", "00:00:00:00:00:04", "shed");

    for (int round = 1; round <= 3; ++round) {
        marks.Watch().Heard(door, true, start + round * 15s - 10s);
        marks.Watch().Heard(shed, round > 1, start + round * 15s - 10s);
        EXPECT_EQ(marks.MarkOf(list, 1), RowMark::None) << "round " << round;
        marks.Watch().EndRound(start + round * 15s);
    }
    EXPECT_EQ(Marked(marks, list), (std::vector<std::string>{
                                       "00:00:00:00:00:04 new|",
                                       "00:00:00:00:00:02 quiet|not heard since 17:00:00",
                                       "00:00:00:00:00:01 none|",
                                   }));
    EXPECT_EQ(marks.CountAddition(list, 0), ", 1 new, 0 changed, 1 missing");

    marks.Watch().Heard({"10.0.0.2", "00:00:00:00:00:02", "Cam", "yard", "1.0", "9", "32bits"},
                        true, start + 50s);
    EXPECT_EQ(marks.MarkOf(list, 1), RowMark::None);

    marks.Forget();
    EXPECT_EQ(marks.MarkOf(list, 0), RowMark::None);
    // The answers in the round of the Discover are the segment, not newcomers.
    marks.Watch().Heard(shed, false, start + 61s);
    marks.Watch().EndRound(start + 75s);
    EXPECT_EQ(marks.MarkOf(list, 0), RowMark::None);
}

TEST(MarkBackgroundTest, NewAndChangedRowsOnlyHaveABackground) {
    EXPECT_FALSE(MarkBackground(RowMark::None));
    EXPECT_FALSE(MarkBackground(RowMark::Quiet));
    ASSERT_TRUE(MarkBackground(RowMark::New));
    EXPECT_EQ(MarkBackground(RowMark::New)->green, 0xf0);
    ASSERT_TRUE(MarkBackground(RowMark::Changed));
    EXPECT_EQ(MarkBackground(RowMark::Changed)->red, 0xfa);
}

}  // namespace
}  // namespace kestrelink
