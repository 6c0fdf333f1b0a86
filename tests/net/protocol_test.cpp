#include "net/protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrelink {
namespace {

struct ClassifyCase {
    const char* name;
    std::uint16_t port;
    std::size_t length;
    DatagramKind kind;
};

class ClassifyDatagramTest : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyDatagramTest, ByPortAndExactLength) {
    EXPECT_EQ(ClassifyDatagram(GetParam().port, GetParam().length), GetParam().kind);
}

constexpr auto kNone = DatagramKind::NotInProtocol;

INSTANTIATE_TEST_SUITE_P(
    Table, ClassifyDatagramTest,
    ::testing::Values(ClassifyCase{"Announcement08", 43210, 70, DatagramKind::Announcement08},
                      ClassifyCase{"SetResponse08", 43210, 44, DatagramKind::IpSetResponse08},
                      ClassifyCase{"Announcement32", 54321, 232, DatagramKind::Announcement32},
                      ClassifyCase{"SetResponse32", 54321, 204, DatagramKind::IpSetResponse32},
                      ClassifyCase{"Length232From43210", 43210, 232, kNone},
                      ClassifyCase{"Length204From43210", 43210, 204, kNone},
                      ClassifyCase{"Length71From43210", 43210, 71, kNone},
                      ClassifyCase{"Length69From43210", 43210, 69, kNone},
                      ClassifyCase{"Length70From54321", 54321, 70, kNone},
                      ClassifyCase{"Length44From54321", 54321, 44, kNone},
                      ClassifyCase{"Length231From54321", 54321, 231, kNone},
                      ClassifyCase{"Length233From54321", 54321, 233, kNone},
                      ClassifyCase{"EmptyFrom43210", 43210, 0, kNone},
                      ClassifyCase{"EmptyFrom54321", 54321, 0, kNone},
                      ClassifyCase{"Length70FromLocalPort", 54320, 70, kNone},
                      ClassifyCase{"Length70FromNeighbourPort", 43211, 70, kNone},
                      ClassifyCase{"Length232FromNeighbourPort", 54322, 232, kNone},
                      ClassifyCase{"Length44FromOtherPort", 1024, 44, kNone}),
    [](const auto& info) { return info.param.name; });

TEST(RequestCarriesTest, OnlyA32bitsRequestHasTheDnsServerAndTheName) {
    EXPECT_FALSE(RequestCarries(DeviceFamily::Bits08, RequestField::DnsServer));
    EXPECT_FALSE(RequestCarries(DeviceFamily::Bits08, RequestField::HostName));
    EXPECT_TRUE(RequestCarries(DeviceFamily::Bits32, RequestField::DnsServer));
    EXPECT_TRUE(RequestCarries(DeviceFamily::Bits32, RequestField::HostName));
}

}  // namespace
}  // namespace kestrelink
