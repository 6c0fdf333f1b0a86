#include "cli/device_request.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "cli/discovered_device.h"

namespace kestrelink::cli {
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
    const CheckedRequest checked = CheckRequestFields(GetParam().fields, kLabels);
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
        RefusalCase{"OctetOutOfRange",
                    With(StaticFields(), [](auto& f) { f.ip = "192.168.1.300"; }),
                    {"--ip '192.168.1.300' is not a dotted IPv4 address"}},
        RefusalCase{"ThreeOctets",
                    With(StaticFields(), [](auto& f) { f.gateway = "192.168.1"; }),
                    {"--gateway '192.168.1' is not a dotted IPv4 address"}},
        RefusalCase{"MaskWithAHole",
                    With(StaticFields(), [](auto& f) { f.mask = "255.0.255.0"; }),
                    {"--mask '255.0.255.0' is not a subnet mask such as 255.255.255.0"}},
        RefusalCase{"MaskOfNoBits",
                    With(StaticFields(), [](auto& f) { f.mask = "0.0.0.0"; }),
                    {"--mask '0.0.0.0' is not a subnet mask such as 255.255.255.0"}},
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
        RefusalCase{"NameWithLineBreak",
                    With(StaticFields(), [](auto& f) { f.name = "two\nlines"; }),
                    {"--name 'two\nlines' holds a character a device cannot store (control "
                     "or beyond Latin-1)"}},
        RefusalCase{"NameNotUtf8",
                    With(StaticFields(), [](auto& f) { f.name = "caf\xE9"; }),
                    {"--name 'caf\xE9' holds a character a device cannot store (control or "
                     "beyond Latin-1)"}},
        // The password itself never appears in a message.
        RefusalCase{"PasswordOfSixteen",
                    With(StaticFields(), [](auto& f) { f.password = "sixteen-letters!"; }),
                    {"--password is longer than 15 characters"}}),
    [](const auto& info) { return info.param.name; });

TEST(RequestFieldsTest, StaticSettingsAsTheDialogWouldHandThemOver) {
    const CheckedRequest checked = CheckRequestFields(StaticFields(), kLabels);
    ASSERT_TRUE(checked.request) << ::testing::PrintToString(checked.problems);
    const DeviceRequest& request = *checked.request;
    EXPECT_EQ(request.mac, "02:6b:6c:00:10:0a");
    EXPECT_EQ(request.settings.ipAddress, 0xC0A80132u);
    EXPECT_EQ(request.settings.subnetMask, 0xFFFFFF00u);
    EXPECT_EQ(request.settings.gateway, 0xC0A80101u);
    EXPECT_EQ(request.settings.dnsServer, 0xC0A80102u);
    EXPECT_FALSE(request.settings.useDhcp);
    EXPECT_EQ(request.settings.hostName, "hall-3");
    EXPECT_EQ(request.settings.password, "s3cret");
    EXPECT_FALSE(request.keepName);
    EXPECT_TRUE(request.dnsGiven);
}

TEST(RequestFieldsTest, LongestTextsAndLatin1Fit) {
    RequestFields fields = DhcpFields();
    fields.name = std::string(30, 'n') + "\xC3\xA9";  // 31 characters, the last one é
    fields.nameGiven = true;
    fields.password = std::string(15, 'p');
    const CheckedRequest checked = CheckRequestFields(fields, kLabels);
    ASSERT_TRUE(checked.request) << ::testing::PrintToString(checked.problems);
    EXPECT_EQ(checked.request->settings.hostName, std::string(30, 'n') + "\xE9");
    EXPECT_EQ(checked.request->settings.password, std::string(15, 'p'));
    EXPECT_EQ(checked.request->settings.subnetMask, 0u);
}

DiscoveredDevice Device(DeviceFamily family, std::string givenName) {
    DiscoveredDevice device;
    device.mac = "02:6b:6c:00:10:0a";
    device.family = family;
    device.givenName = std::move(givenName);
    return device;
}

TEST(RequestForDeviceTest, DnsOnlyForA32bitsDevice) {
    const DeviceRequest request = *CheckRequestFields(StaticFields(), kLabels).request;
    EXPECT_EQ(CheckRequestForDevice(request, Device(DeviceFamily::Bits32, ""), kLabels), "");
    EXPECT_EQ(CheckRequestForDevice(request, Device(DeviceFamily::Bits08, ""), kLabels),
              "--dns cannot go to 02:6b:6c:00:10:0a: an 08bits request has no DNS field");

    RequestFields withoutDns = StaticFields();
    withoutDns.dns.clear();
    const DeviceRequest request08 = *CheckRequestFields(withoutDns, kLabels).request;
    EXPECT_EQ(CheckRequestForDevice(request08, Device(DeviceFamily::Bits08, ""), kLabels), "");
    EXPECT_EQ(request08.settings.dnsServer, 0u);
}

TEST(RequestForDeviceTest, WithoutANameTheDeviceKeepsItsOwnCutToTheField) {
    RequestFields fields = DhcpFields();
    const DeviceRequest request = *CheckRequestFields(fields, kLabels).request;
    const std::string longName(32, 'g');
    EXPECT_EQ(SettingsFor(request, Device(DeviceFamily::Bits32, longName)).hostName,
              std::string(31, 'g'));

    fields.name = "new";
    fields.nameGiven = true;
    const DeviceRequest renaming = *CheckRequestFields(fields, kLabels).request;
    EXPECT_EQ(SettingsFor(renaming, Device(DeviceFamily::Bits32, "old")).hostName, "new");
}

}  // namespace
}  // namespace kestrelink::cli
