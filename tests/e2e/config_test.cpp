#include <ostream>
#include <string>
#include <vector>

#include "net/datagrams.h"
#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr SimulatedDevices kDevices{2, 2};
constexpr int kTarget08 = 1;  // 02:6b:6c:00:10:01 at 10.213.1.2, "unit-2"
constexpr int kTarget32 = 3;  // 02:6b:6c:00:10:03 at 10.213.1.4, "unit-4"
constexpr const char* kDhcpPool = "10.213.9.9";

struct ConfigCase {
    const char* name;
    int target;  // device number
    IpSettings settings;
    const char* listedIp;
    bool renamed;  // the given name becomes the host name
    // The simulator's report of every field it read; the 32bits sender's "localhost" is
    // 127.0.0.1 wherever this runs.
    const char* applied;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const ConfigCase& c, std::ostream* os) {
    *os << c.name;
}

IpSettings DhcpSettings(const char* hostName) {
    IpSettings settings = StaticSettings(0x0AD50707, hostName);  // ignored with DHCP
    settings.useDhcp = true;
    return settings;
}

// A DNS server apart from the gateway, so that each address text is told from the others.
IpSettings WithDnsServer(IpSettings settings, std::uint32_t dnsServer) {
    settings.dnsServer = dnsServer;
    return settings;
}

class ConfigTest : public SimulatorTest, public ::testing::WithParamInterface<ConfigCase> {};

TEST_P(ConfigTest, DeviceIsListedUnderItsNewAddressAfterRediscovery) {
    const ConfigCase& c = GetParam();
    const DeviceRow before = kDevices.ExpectedRow(c.target);
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--dhcp-pool", kDhcpPool}));
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));

    ASSERT_NO_FATAL_FAILURE(ConfigureIp(before[kColumnMac], c.settings));
    const auto applied = m_simulator->WaitForLine("applied", kE2eWait);
    ASSERT_TRUE(applied) << "the simulator applied nothing";
    EXPECT_EQ(*applied, c.applied);

    m_window->OnDiscover();
    const std::string mac = before[kColumnMac];
    ASSERT_TRUE(WaitUntil([&](const DeviceList& list) {
        return list.RowCount() == kDevices.Count() && list.HasRowWithIp(c.listedIp);
    })) << ::testing::PrintToString(Rows());
    const std::vector<DeviceRow> rows = Rows();
    const DeviceRow* row = FindRow(rows, kColumnMac, mac);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ((*row)[kColumnIp], c.listedIp);
    EXPECT_EQ((*row)[kColumnGivenName], c.renamed ? c.settings.hostName : before[kColumnGivenName]);
    EXPECT_EQ(FindRow(rows, kColumnIp, before[kColumnIp]), nullptr) << "old address still listed";
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ConfigTest,
    ::testing::Values(
        // A 08bits request carries no host name and no DNS server: both stay.
        ConfigCase{"Static08", kTarget08, StaticSettings(0x0AD50732, "not-carried"), "10.213.7.50",
                   false,
                   "applied 08bits 02:6b:6c:00:10:01 ip=10.213.7.50 mask=255.255.255.0 "
                   "gateway=10.213.7.1 dns=10.213.1.1 dhcp=no name=unit-2"},
        ConfigCase{"Static32", kTarget32,
                   WithDnsServer(StaticSettings(0x0AD5073C, "renamed-32"), 0x0AD50702),
                   "10.213.7.60", true,
                   "applied 32bits 02:6b:6c:00:10:03 ip=10.213.7.60 mask=255.255.255.0 "
                   "gateway=10.213.7.1 dns=10.213.7.2 dhcp=no localhost=127.0.0.1 "
                   "name=renamed-32"},
        ConfigCase{"Dhcp32", kTarget32, DhcpSettings("leased-32"), kDhcpPool, true,
                   "applied 32bits 02:6b:6c:00:10:03 ip=10.213.9.9 mask=255.255.255.0 "
                   "gateway=10.213.9.1 dns=10.213.9.1 dhcp=yes localhost=127.0.0.1 "
                   "name=leased-32"},
        // All three addresses zero is how a 08bits device is asked for DHCP.
        ConfigCase{"Dhcp08", kTarget08, DhcpSettings("not-carried"), kDhcpPool, false,
                   "applied 08bits 02:6b:6c:00:10:01 ip=10.213.9.9 mask=255.255.255.0 "
                   "gateway=10.213.9.1 dns=10.213.9.1 dhcp=yes name=unit-2"}),
    [](const auto& info) { return info.param.name; });

struct PasswordCase {
    const char* name;
    int target;
    const char* password;
    const char* simulatorSays;
    bool moved;
};

void PrintTo(const PasswordCase& c, std::ostream* os) {
    *os << c.name;
}

class PasswordTest : public SimulatorTest, public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(PasswordTest, OnlyTheDevicesPasswordChangesItsSettings) {
    const PasswordCase& c = GetParam();
    const DeviceRow target = kDevices.ExpectedRow(c.target);
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--password", "s3cret"}));
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));

    IpSettings settings = StaticSettings(0x0AD50846, "renamed");  // 10.213.8.70
    settings.password = c.password;
    ASSERT_NO_FATAL_FAILURE(ConfigureIp(target[kColumnMac], settings));
    const auto said = m_simulator->WaitForLine(c.simulatorSays, kE2eWait);
    ASSERT_TRUE(said) << "expected '" << c.simulatorSays << "' from the simulator";
    EXPECT_NE(said->find(target[kColumnMac]), std::string::npos) << *said;

    m_window->OnDiscover();
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));
    const std::vector<DeviceRow> rows = Rows();
    const DeviceRow* row = FindRow(rows, kColumnMac, target[kColumnMac]);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ((*row)[kColumnIp], c.moved ? "10.213.8.70" : target[kColumnIp]);
}

INSTANTIATE_TEST_SUITE_P(
    Passwords, PasswordTest,
    ::testing::Values(PasswordCase{"Right08", kTarget08, "s3cret", "applied", true},
                      PasswordCase{"Right32", kTarget32, "s3cret", "applied", true},
                      PasswordCase{"Wrong32", kTarget32, "secret", "refused", false}),
    [](const auto& info) { return info.param.name; });

class SetResponseTest : public SimulatorTest {};

TEST_F(SetResponseTest, EachFamilysResponseOpensTheBoxAndChangesNoRow) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--set-response"}));
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));

    for (const int target : {kTarget08, kTarget32}) {
        const DeviceRow row = kDevices.ExpectedRow(target);
        SCOPED_TRACE(row[kColumnArch]);
        ASSERT_NO_FATAL_FAILURE(
            ConfigureIp(row[kColumnMac], StaticSettings(0x0AD50A01u + target, "renamed")));
        EXPECT_TRUE(WaitForSetResponse());
    }
    EXPECT_EQ(SortedByMac(Rows()), kDevices.ExpectedRows());
}

}  // namespace
}  // namespace kestrelink::testing
