#include "behaviour/device_filter.h"

#include <gtest/gtest.h>

#include <string>

#include "net/device_list.h"

using namespace kestrelink;

namespace {

struct FilterCase {
    const char* name;
    std::string filter;  // UTF-8, as typed
    bool matches;
};

class DeviceFilterTest : public ::testing::TestWithParam<FilterCase> {};

// One row whose cells hold the devices' single-byte text: "Caf\xe9 Cam" is "Café Cam".
TEST_P(DeviceFilterTest, MatchesAnyCellInAnyCase) {
    DeviceList list;
    list.InsertRow(
        {"10.0.0.7", "0e:00:00:00:08:07", "Caf\xe9 Cam", "\xb5-lab", "2.1", "7", "08bits"});
    EXPECT_EQ(RowMatchesFilter(list, 0, GetParam().filter), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, DeviceFilterTest,
    ::testing::Values(FilterCase{"Empty", "", true}, FilterCase{"IpPart", "0.0.7", true},
                      FilterCase{"MacPart", "08:07", true},
                      FilterCase{"OtherCase", "cAFÉ cAM", true},
                      FilterCase{"AccentedLowerCase", "café", true},
                      FilterCase{"AccentIsNotItsLetter", "cafe", false},
                      FilterCase{"GreekCapitalMuFoldsWithMicroSign", "\xce\x9c-LAB", true},
                      FilterCase{"ArchColumn", "08BITS", true},
                      FilterCase{"AcrossTwoCells", "Cam\t\xb5", false},
                      FilterCase{"BeyondLatin1", "\xe2\x82\xac", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceCountTextTest, CountsDevicesAndThoseShown) {
    EXPECT_EQ(DeviceCountText(0, 0, false), "0 devices");
    EXPECT_EQ(DeviceCountText(1, 1, false), "1 device");
    EXPECT_EQ(DeviceCountText(1, 3, true), "1 of 3 devices");
    EXPECT_EQ(DeviceCountText(0, 1, true), "0 of 1 device");
}

}  // namespace
