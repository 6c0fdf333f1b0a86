#include "behaviour/window_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kestrelink;

namespace {

// One screen of 1920 by 1080 at the origin.
const std::vector<ScreenRect> kScreens = {{0, 0, 1920, 1080}};
const std::vector<std::optional<int>> kStoredWidths = {100, 200, 150, 150, 80, 100, 100};

StoredWindowState Stored() {
    StoredWindowState stored;
    stored.size = WindowSize{640, 400};
    stored.position = WindowPoint{5, 20};
    stored.maximized = true;
    stored.columnWidths = kStoredWidths;
    stored.sortColumn = kColumnMac;
    stored.ascending = false;
    return stored;
}

TEST(WindowStateTest, KeepsWhatMakesSense) {
    const WindowState state = CheckedWindowState(Stored(), kScreens);
    ASSERT_TRUE(state.size && state.position);
    EXPECT_EQ(state.size->width, 640);
    EXPECT_EQ(state.position->y, 20);
    EXPECT_TRUE(state.maximized);
    EXPECT_EQ(state.columnWidths, (std::vector{100, 200, 150, 150, 80, 100, 100}));
    EXPECT_EQ(state.sort.sortColumn, kColumnMac);
    EXPECT_FALSE(state.sort.ascending);
}

TEST(WindowStateTest, NothingStoredIsTheFirstRun) {
    const WindowState state = CheckedWindowState({}, kScreens);
    EXPECT_FALSE(state.size || state.position || state.maximized);
    EXPECT_TRUE(state.columnWidths.empty());
    EXPECT_EQ(state.sort.sortColumn, -1);
}

struct Spoiled {
    const char* name;
    void (*spoil)(StoredWindowState&);
    bool placed;
    bool widths;
    int sortColumn;
};

class SpoiledStateTest : public ::testing::TestWithParam<Spoiled> {};

TEST_P(SpoiledStateTest, LeavesOutThePartThatMakesNoSense) {
    StoredWindowState stored = Stored();
    GetParam().spoil(stored);
    const WindowState state = CheckedWindowState(stored, kScreens);
    EXPECT_EQ(state.position.has_value(), GetParam().placed);
    EXPECT_EQ(!state.columnWidths.empty(), GetParam().widths);
    EXPECT_EQ(state.sort.sortColumn, GetParam().sortColumn);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, SpoiledStateTest,
    ::testing::Values(
        Spoiled{"OffEveryScreen",
                [](StoredWindowState& s) {
                    s.position = {{1920, 0}};
                },
                false, true, kColumnMac},
        Spoiled{"OverlappingAScreenEdge",
                [](StoredWindowState& s) {
                    s.position = {{-600, -300}};
                },
                true, true, kColumnMac},
        Spoiled{"NoSizeToPlace", [](StoredWindowState& s) { s.size.reset(); }, false, true,
                kColumnMac},
        Spoiled{"AWidthMissing", [](StoredWindowState& s) { s.columnWidths->pop_back(); }, true,
                false, kColumnMac},
        Spoiled{"AWidthZero", [](StoredWindowState& s) { (*s.columnWidths)[2] = 0; }, true, false,
                kColumnMac},
        Spoiled{"AWidthNotANumber", [](StoredWindowState& s) { (*s.columnWidths)[6].reset(); },
                true, false, kColumnMac},
        Spoiled{"ArchIsClickedNotSorted", [](StoredWindowState& s) { s.sortColumn = kColumnArch; },
                true, true, -1},
        Spoiled{"ColumnPastTheLast", [](StoredWindowState& s) { s.sortColumn = 7; }, true, true,
                -1}),
    [](const auto& info) { return std::string(info.param.name); });

// The list's own header clicks set order and arrow; a first click sorts ascending.
TEST(WindowStateTest, SortIsRestoredByTheListsOwnClicks) {
    for (const bool ascending : {true, false}) {
        DeviceList list;
        RestoreSort(list, {kColumnSerialNo, ascending});
        EXPECT_EQ(list.Sort().sortColumn, kColumnSerialNo);
        EXPECT_EQ(list.Sort().ascending, ascending);
        EXPECT_EQ(list.ArrowOn(kColumnSerialNo), ascending ? HeaderArrow::Up : HeaderArrow::Down);
    }
}

}  // namespace
