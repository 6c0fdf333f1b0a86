#include "net/row_comparators.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrelink {
namespace {

using Comparator = int (*)(const std::string&, const std::string&, bool);

int CompareIp(const std::string& first, const std::string& second, bool ascending) {
    return CompareSortKeys(IpSortKey(first), IpSortKey(second), ascending);
}

int CompareMac(const std::string& first, const std::string& second, bool ascending) {
    return CompareSortKeys(MacTextToNumber(first), MacTextToNumber(second), ascending);
}

int CompareSerial(const std::string& first, const std::string& second, bool ascending) {
    return CompareSortKeys(SerialSortKey(first), SerialSortKey(second), ascending);
}

struct OrderCase {
    const char* name;
    Comparator compare;
    std::string first;
    std::string second;
    int ascending;  // expected result in ascending order; descending must give the opposite
};

class ComparatorOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ComparatorOrderTest, AscendingAndDescending) {
    const auto& c = GetParam();
    EXPECT_EQ(c.compare(c.first, c.second, true), c.ascending);
    EXPECT_EQ(c.compare(c.second, c.first, true), -c.ascending);
    EXPECT_EQ(c.compare(c.first, c.second, false), -c.ascending);
    EXPECT_EQ(c.compare(c.second, c.first, false), c.ascending);
}

INSTANTIATE_TEST_SUITE_P(
    Ip, ComparatorOrderTest,
    ::testing::Values(
        OrderCase{"LastOctetNumeric", CompareIp, "10.0.0.9", "10.0.0.10", -1},
        OrderCase{"FirstOctetNumeric", CompareIp, "9.1.1.1", "10.0.0.1", -1},
        OrderCase{"FirstOctetMostSignificant", CompareIp, "10.0.0.1", "9.255.255.255", 1},
        OrderCase{"ComparedUnsigned", CompareIp, "127.255.255.255", "128.0.0.0", -1},
        OrderCase{"Equal", CompareIp, "192.168.1.10", "192.168.1.10", 0},
        OrderCase{"InvalidLikeAllOnes", CompareIp, "not an address", "255.255.255.255", 0},
        OrderCase{"EmptyLikeAllOnes", CompareIp, "", "255.255.255.255", 0},
        OrderCase{"InvalidAfterEveryOther", CompareIp, "255.255.255.254", "garbage", -1}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Mac, ComparatorOrderTest,
    ::testing::Values(
        OrderCase{"CarryIntoNextOctet", CompareMac, "00:00:00:00:00:ff", "00:00:00:00:01:00", -1},
        OrderCase{"HexNotText", CompareMac, "0a:00:00:00:00:00", "10:00:00:00:00:00", -1},
        OrderCase{"HighPartDecides", CompareMac, "00:ff:ff:ff:ff:ff", "01:00:00:00:00:00", -1},
        OrderCase{"LowPartUnsigned", CompareMac, "00:00:7f:ff:ff:ff", "00:00:80:00:00:00", -1},
        OrderCase{"LastOctet", CompareMac, "ff:ff:ff:ff:ff:fe", "ff:ff:ff:ff:ff:ff", -1},
        OrderCase{"CaseDoesNotMatter", CompareMac, "AA:BB:CC:DD:EE:FF", "aa:bb:cc:dd:ee:ff", 0}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Text, ComparatorOrderTest,
    ::testing::Values(OrderCase{"UpperBeforeLower", CompareText, "Zeta", "alpha", -1},
                      OrderCase{"PrefixFirst", CompareText, "Unit", "Unit 2", -1},
                      OrderCase{"EmptyFirst", CompareText, "", "a", -1},
                      OrderCase{"BytesUnsigned", CompareText, "z", "\xE9t\xE9", -1},
                      OrderCase{"Equal", CompareText, "Sensor", "Sensor", 0},
                      OrderCase{"NoNumericReading", CompareText, "10", "9", -1}),
    [](const auto& info) { return info.param.name; });

// Serials compare as the unsigned 32-bit values the devices send, so the largest serial sorts
// last instead of reading as -1.
INSTANTIATE_TEST_SUITE_P(
    Serial, ComparatorOrderTest,
    ::testing::Values(OrderCase{"Numeric", CompareSerial, "9", "10", -1},
                      OrderCase{"LargestLast", CompareSerial, "0", "4294967295", -1},
                      OrderCase{"AboveSignedRange", CompareSerial, "2147483647", "2147483648", -1},
                      OrderCase{"TopOfRange", CompareSerial, "4294967294", "4294967295", -1},
                      OrderCase{"NoDigitsIsZero", CompareSerial, "none", "0", 0},
                      OrderCase{"EmptyIsZero", CompareSerial, "", "0", 0},
                      OrderCase{"NoDigitsBeforeOne", CompareSerial, "n/a", "1", -1},
                      OrderCase{"StopsAtFirstNonDigit", CompareSerial, "12abc", "12", 0},
                      OrderCase{"LeadingSpaceSkipped", CompareSerial, " 42", "42", 0}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
