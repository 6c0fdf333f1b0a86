#include "provisioning/device_request.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kestrelink::provisioning {
namespace {

constexpr FieldLabels kLabels{"MAC",   "--ip",   "--mask",     "--gateway",
                              "--dns", "--name", "--password", "--dhcp"};

RequestFields StaticFields() {
    RequestFields fields;
    fields.mac = "02:6B:6C:00:10:0A";
    fields.ip = "192.168.1.50";
    fields.mask = "255.255.255.0";
    fields.gateway = "192.168.1.1";
    fields.dns = "192.168.1.2";
    fields.name = "hall-3";
    fields.nameGiven = true;
    fields.password = "s3cret";
    return fields;
}

RequestFields DhcpFields() {
    RequestFields fields;
    fields.mac = "02:6b:6c:00:10:0a";
    fields.dhcp = true;
    return fields;
}

template <typename Change>
RequestFields With(RequestFields fields, Change change) {
    change(fields);
    return fields;
}

struct RefusalCase {
    const char* name;
    RequestFields fields;
    std::vector<std::string> problems;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class RequestRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RequestRefusalTest, EveryBadFieldGetsItsOwnLine) {
    const CheckedRequest checked =
        CheckRequestFields(GetParam().fields, kLabels, AddressPolicy::RefuseUnworkable);
    EXPECT_EQ(checked.problems, GetParam().problems);
    EXPECT_FALSE(checked.request);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RequestRefusalTest,
    ::testing::Values(
        RefusalCase{"MacGroupTooShort",
                    With(StaticFields(), [](auto& f) { f.mac = "02:00:00:00:00:7"; }),
                    {"MAC '02:00:00:00:00:7' is not a MAC address such as 02:00:00:00:00:07"}},
        RefusalCase{"MacWithTrailingGroup",
                    With(StaticFields(), [](auto& f) { f.mac = "02:00:00:00:00:07:08"; }),
                    {"MAC '02:00:00:00:00:07:08' is not a MAC address such as "
                     "02:00:00:00:00:07"}},
        RefusalCase{"MaskWithAHole",
                    With(StaticFields(), [](auto& f) { f.mask = "255.0.255.0"; }),
                    {"--mask '255.0.255.0' is not a subnet mask such as 255.255.255.0"}},
        RefusalCase{"StaticWithoutMaskAndGateway",
                    With(StaticFields(),
                         [](auto& f) {
                             f.mask.clear();
                             f.gateway.clear();
                         }),
                    {"--mask is needed without --dhcp", "--gateway is needed without --dhcp"}},
        RefusalCase{"DhcpWithAddresses",
                    With(DhcpFields(),
                         [](auto& f) {
                             f.ip = "192.168.1.50";
                             f.dns = "192.168.1.2";
                         }),
                    {"--ip is not used with --dhcp", "--dns is not used with --dhcp"}},
        RefusalCase{"NameOfThirtyTwo",
                    With(StaticFields(), [](auto& f) { f.name = std::string(32, 'n'); }),
                    {"--name '" + std::string(32, 'n') + "' is longer than 31 characters"}},
        RefusalCase{"NameBeyondLatin1",
                    With(StaticFields(), [](auto& f) { f.name = "\xCE\xA9mega"; }),
                    {"--name '\xCE\xA9mega' holds a character a device cannot store (control "
                     "or beyond Latin-1)"}},
        RefusalCase{"PasswordOfSixteen",
                    With(StaticFields(), [](auto& f) { f.password = "sixteen-letters!"; }),
                    {"--password is longer than 15 characters"}}),
    [](const auto& info) { return info.param.name; });

struct AddressCase {
    const char* name;
    const char* ip;
    const char* mask;
    const char* gateway;
    std::string problem;  // empty for settings that work
};

class AddressCheckTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(AddressCheckTest, UnworkableSettingsAreRefusedUnlessForced) {
    RequestFields fields = StaticFields();
    fields.ip = GetParam().ip;
    fields.mask = GetParam().mask;
    fields.gateway = GetParam().gateway;
    const std::string& problem = GetParam().problem;
    EXPECT_EQ(CheckRequestFields(fields, kLabels, AddressPolicy::RefuseUnworkable).problems,
              problem.empty() ? std::vector<std::string>{}
                              : std::vector{problem + "; --force sends it anyway"});
    EXPECT_TRUE(CheckRequestFields(fields, kLabels, AddressPolicy::SendAsGiven).request);
}

constexpr auto k24 = "255.255.255.0";
INSTANTIATE_TEST_SUITE_P(
    Settings, AddressCheckTest,
    ::testing::Values(
        AddressCase{"NoAddress", "0.0.0.0", k24, "192.168.1.1",
                    "--ip 0.0.0.0 is no address a device can be reached at"},
        AddressCase{"LimitedBroadcast", "255.255.255.255", k24, "192.168.1.1",
                    "--ip 255.255.255.255 is the limited broadcast address"},
        AddressCase{"Loopback", "127.0.0.5", "255.0.0.0", "127.0.0.1",
                    "--ip 127.0.0.5 is a loopback address"},
        AddressCase{"LastMulticast", "239.255.255.250", k24, "239.255.255.1",
                    "--ip 239.255.255.250 is a multicast address"},
        AddressCase{"NetworkAddress", "192.168.1.0", k24, "192.168.1.1",
                    "--ip 192.168.1.0 is the network address of 192.168.1.0/24"},
        AddressCase{"BroadcastOfSlash16", "10.213.255.255", "255.255.0.0", "10.213.0.1",
                    "--ip 10.213.255.255 is the broadcast address of 10.213.0.0/16"},
        AddressCase{"Slash31", "192.168.1.50", "255.255.255.254", "192.168.1.51",
                    "--mask 255.255.255.254 leaves no address for any other host"},
        AddressCase{"GatewayIsTheDevice", "192.168.1.50", k24, "192.168.1.50",
                    "--gateway 192.168.1.50 is the device's own --ip"},
        AddressCase{"GatewayOutside", "192.168.1.50", k24, "192.168.2.1",
                    "--gateway 192.168.2.1 lies outside 192.168.1.0/24"},
        AddressCase{"NoGateway", "192.168.1.50", k24, "0.0.0.0", ""},
        AddressCase{"BothHostsOfSlash30", "10.0.0.1", "255.255.255.252", "10.0.0.2", ""},
        AddressCase{"LastBelowMulticast", "223.255.255.254", k24, "223.255.255.1", ""},
        AddressCase{"HostEndingIn255", "10.213.0.255", "255.255.0.0", "10.213.0.1", ""}),
    [](const auto& info) { return info.param.name; });

TEST(RequestFieldsTest, LongestTextsAndLatin1Fit) {
    RequestFields fields = DhcpFields();
    fields.name = std::string(30, 'n') + "\xC3\xA9";  // 31 characters, the last one é
    fields.nameGiven = true;
    fields.password = std::string(15, 'p');
    const CheckedRequest checked =
        CheckRequestFields(fields, kLabels, AddressPolicy::RefuseUnworkable);
    ASSERT_TRUE(checked.request) << ::testing::PrintToString(checked.problems);
    EXPECT_EQ(checked.request->settings.hostName, std::string(30, 'n') + "\xE9");
    EXPECT_EQ(checked.request->settings.password, std::string(15, 'p'));
    EXPECT_EQ(checked.request->settings.subnetMask, 0u);
}

}  // namespace
}  // namespace kestrelink::provisioning
