#include <ostream>
#include <string>
#include <vector>

#include "net/config_sender.h"
#include "net/datagrams.h"
#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr SimulatedDevices kDevices{2, 2};
constexpr int kTarget08 = 1;
constexpr int kTarget32 = 3;
constexpr const char* kDhcpPool = "10.213.9.9";

struct ConfigCase {
    const char* name;
    int target;  // device number
    IpSettings settings;
    const char* listedIp;
    bool renamed;  // the given name becomes the host name
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

ConfigTarget TargetOf(const DeviceRow& row) {
    return {row[kColumnMac], row[kColumnArch]};
}

class ConfigTest : public SimulatorTest, public ::testing::WithParamInterface<ConfigCase> {};

TEST_P(ConfigTest, DeviceIsListedUnderItsNewAddressAfterRediscovery) {
    const ConfigCase& c = GetParam();
    const DeviceRow before = kDevices.ExpectedRow(c.target);
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--dhcp-pool", kDhcpPool}));
    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));

    ASSERT_TRUE(SendConfigRequest(*m_endpoint, TargetOf(before), c.settings));
    const auto applied = m_simulator->WaitForLine("applied", kE2eWait);
    ASSERT_TRUE(applied) << "the simulator applied nothing";
    EXPECT_NE(applied->find(before[kColumnMac]), std::string::npos) << *applied;

    Rediscover();
    const std::string mac = before[kColumnMac];
    ASSERT_TRUE(m_list->WaitUntil(
        [&](const DeviceList& list) {
            return list.RowCount() == kDevices.Count() && list.HasRowWithIp(c.listedIp);
        },
        kE2eWait))
        << ::testing::PrintToString(m_list->Rows());
    const std::vector<DeviceRow> rows = m_list->Rows();
    const DeviceRow* row = FindRow(rows, kColumnMac, mac);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ((*row)[kColumnIp], c.listedIp);
    EXPECT_EQ((*row)[kColumnGivenName], c.renamed ? c.settings.hostName : before[kColumnGivenName]);
    EXPECT_EQ(FindRow(rows, kColumnIp, before[kColumnIp]), nullptr) << "old address still listed";
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ConfigTest,
    ::testing::Values(
        // A 08bits request carries no host name: the given name stays.
        ConfigCase{"Static08", kTarget08, StaticSettings(0x0AD50732, "not-carried"), "10.213.7.50",
                   false},
        ConfigCase{"Static32", kTarget32, StaticSettings(0x0AD5073C, "renamed-32"), "10.213.7.60",
                   true},
        ConfigCase{"Dhcp32", kTarget32, DhcpSettings("leased-32"), kDhcpPool, true},
        // All three addresses zero is how a 08bits device is asked for DHCP.
        ConfigCase{"Dhcp08", kTarget08, DhcpSettings("not-carried"), kDhcpPool, false}),
    [](const auto& info) { return info.param.name; });

struct PasswordCase {
    const char* name;
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
    const DeviceRow target = kDevices.ExpectedRow(kTarget32);
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--password", "s3cret"}));
    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));

    IpSettings settings = StaticSettings(0x0AD50846, "renamed");  // 10.213.8.70
    settings.password = c.password;
    ASSERT_TRUE(SendConfigRequest(*m_endpoint, TargetOf(target), settings));
    const auto said = m_simulator->WaitForLine(c.simulatorSays, kE2eWait);
    ASSERT_TRUE(said) << "expected '" << c.simulatorSays << "' from the simulator";
    EXPECT_NE(said->find(target[kColumnMac]), std::string::npos) << *said;

    Rediscover();
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));
    const std::vector<DeviceRow> rows = m_list->Rows();
    const DeviceRow* row = FindRow(rows, kColumnMac, target[kColumnMac]);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ((*row)[kColumnIp], c.moved ? "10.213.8.70" : target[kColumnIp]);
}

INSTANTIATE_TEST_SUITE_P(Passwords, PasswordTest,
                         ::testing::Values(PasswordCase{"Right", "s3cret", "applied", true},
                                           PasswordCase{"Wrong", "secret", "refused", false}),
                         [](const auto& info) { return info.param.name; });

class SetResponseTest : public SimulatorTest {};

TEST_F(SetResponseTest, EachFamilysResponseReachesTheHandOverAndChangesNoRow) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--set-response"}));
    ASSERT_NO_FATAL_FAILURE(OpenEndpoint());
    ASSERT_TRUE(WaitForRowCount(kDevices.Count()));

    int expected = 0;
    for (const int target : {kTarget08, kTarget32}) {
        const DeviceRow row = kDevices.ExpectedRow(target);
        SCOPED_TRACE(row[kColumnArch]);
        ASSERT_TRUE(SendConfigRequest(*m_endpoint, TargetOf(row),
                                      StaticSettings(0x0AD50A01u + target, "renamed")));
        EXPECT_TRUE(m_list->WaitForSetResponses(++expected, kE2eWait));
    }
    EXPECT_EQ(SortedByMac(m_list->Rows()), kDevices.ExpectedRows());
}

}  // namespace
}  // namespace kestrelink::testing
