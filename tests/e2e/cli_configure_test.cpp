#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/cli_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr SimulatedDevices kDevices{2, 2};
constexpr int kTarget08 = 1;  // unit-2 at 10.213.1.2
constexpr int kTarget32 = 3;  // unit-4 at 10.213.1.4

std::string MacOf(int number) {
    return kDevices.ExpectedRow(number)[kColumnMac];
}

struct ConfigureCase {
    const char* name;
    std::vector<std::string> arguments;  // after "configure"
    int status;
    std::vector<std::string> output;
    std::string errorText;
    std::vector<std::string> requestsSeen;  // the simulator's reports
};

void PrintTo(const ConfigureCase& c, std::ostream* os) {
    *os << c.name;
}

class CliConfigureTest : public CliTest, public ::testing::WithParamInterface<ConfigureCase> {};

// The simulator takes only the password "s3cret" and leases from 10.213.9.9.
TEST_P(CliConfigureTest, OneCheckedRequestAndItsOutcome) {
    const ConfigureCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(
        StartSimulator(kDevices, {"--dhcp-pool", "10.213.9.9", "--password", "s3cret"}));
    std::vector<std::string> arguments = {"configure"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.errorText, c.errorText);
    EXPECT_EQ(RequestsSeen(), c.requestsSeen);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, CliConfigureTest,
    ::testing::Values(
        ConfigureCase{
            "Static32WithDnsVerified",
            {MacOf(kTarget32), "--ip", "10.213.7.60", "--mask", "255.255.255.0", "--gateway",
             "10.213.7.1", "--dns", "10.213.7.2", "--name", "renamed-32", "--password", "s3cret",
             "--verify", "--wait", kPatientWait},
            0,
            {"configured " + MacOf(kTarget32) + ": answers at 10.213.7.60 as 'renamed-32'"},
            "",
            {"applied 32bits " + MacOf(kTarget32) +
             " ip=10.213.7.60 mask=255.255.255.0 gateway=10.213.7.1 dns=10.213.7.2 "
             "dhcp=no localhost=127.0.0.1 name=renamed-32"}},
        // An 08bits request carries no name: the device keeps its own.
        ConfigureCase{"Dhcp08Verified",
                      {MacOf(kTarget08), "--dhcp", "--password", "s3cret", "--verify", "--wait",
                       kPatientWait},
                      0,
                      {"configured " + MacOf(kTarget08) + ": answers at 10.213.9.9 as 'unit-2'"},
                      "",
                      {"applied 08bits " + MacOf(kTarget08) +
                       " ip=10.213.9.9 mask=255.255.255.0 gateway=10.213.9.1 dns=10.213.9.1 "
                       "dhcp=yes name=unit-2"}},
        ConfigureCase{"WrongPasswordFailsVerification",
                      {MacOf(kTarget32), "--ip", "10.213.8.70", "--mask", "255.255.255.0",
                       "--gateway", "10.213.8.1", "--password", "secret", "--verify", "--wait",
                       "1200", "--resend-after", "300"},
                      1,
                      {},
                      "kestrelink-cli: " + MacOf(kTarget32) +
                          ": not confirmed within 1200 ms: it answers as before, at 10.213.1.4 as "
                          "'unit-4'\n",
                      {"refused 32bits " + MacOf(kTarget32) + " wrong password",
                       "refused 32bits " + MacOf(kTarget32) + " wrong password",
                       "refused 32bits " + MacOf(kTarget32) + " wrong password"}},
        // Any address but 0.0.0.0 once passed for a lease, the old one included.
        ConfigureCase{"DhcpWithWrongPasswordFailsVerification",
                      {MacOf(kTarget08), "--dhcp", "--password", "secret", "--verify", "--wait",
                       "1200", "--resend", "0"},
                      1,
                      {},
                      "kestrelink-cli: " + MacOf(kTarget08) +
                          ": not confirmed within 1200 ms: it answers as before, at 10.213.1.2 "
                          "as 'unit-2'\n",
                      {"refused 08bits " + MacOf(kTarget08) + " wrong password"}},
        // A new mask shows nowhere in an announcement: the device's old one would pass too.
        ConfigureCase{"UnchangedAddressAndNameCannotBeConfirmed",
                      {MacOf(kTarget32), "--ip", "10.213.1.4", "--mask", "255.255.0.0", "--gateway",
                       "10.213.1.1", "--password", "s3cret", "--verify", "--wait", kPatientWait},
                      3,
                      {},
                      "kestrelink-cli: " + MacOf(kTarget32) +
                          ": sent, not confirmed: the request changes nothing that "
                          "announcements show (address and given name)\n",
                      {"applied 32bits " + MacOf(kTarget32) +
                       " ip=10.213.1.4 mask=255.255.0.0 gateway=10.213.1.1 dns=0.0.0.0 "
                       "dhcp=no localhost=127.0.0.1 name=unit-4"}},
        ConfigureCase{"NameRefusedFor08bits",
                      {MacOf(kTarget08), "--dhcp", "--name", "hall-2"},
                      2,
                      {},
                      "kestrelink-cli: --name cannot go to " + MacOf(kTarget08) +
                          ": an 08bits request has no name field\n",
                      {}},
        ConfigureCase{"DnsRefusedFor08bits",
                      {MacOf(kTarget08), "--ip", "10.213.7.50", "--mask", "255.255.255.0",
                       "--gateway", "10.213.7.1", "--dns", "10.213.7.2"},
                      2,
                      {},
                      "kestrelink-cli: --dns cannot go to " + MacOf(kTarget08) +
                          ": an 08bits request has no DNS field\n",
                      {}},
        ConfigureCase{"MacThatDoesNotAnswer",
                      {"02:00:00:00:00:07", "--dhcp", "--wait", "300"},
                      1,
                      {},
                      "kestrelink-cli: no device with MAC 02:00:00:00:00:07 answered within "
                      "300 ms\n",
                      {}}),
    [](const auto& info) { return info.param.name; });

class CliSlowDeviceTest : public CliTest {};

// A device that restarts to take its settings is silent for a while: longer than the wait here.
TEST_F(CliSlowDeviceTest, ADeviceSilentPastItsWaitIsNotConfirmed) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--restart", "60000"}));
    const CliRun run =
        RunCli({"configure", MacOf(kTarget32), "--dhcp", "--verify", "--wait", "1200"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errorText, "kestrelink-cli: " + MacOf(kTarget32) +
                                 ": not confirmed within 1200 ms: it did not answer again\n");
    // The probe of the discovery found both devices; every later one, the other alone.
    const auto probes = m_simulator->WaitForLines("probe 32bits", 2, kE2eWait);
    ASSERT_GE(probes.size(), 2u);
    for (std::size_t k = 1; k < probes.size(); ++k) {
        EXPECT_NE(probes[k].find("announcements=1 "), std::string::npos) << probes[k];
    }
}

// All the simulator's devices answer from one address, which none of them announces: the set
// response cannot be pinned on the device the request was for.
TEST_F(CliSlowDeviceTest, ASetResponseIsAWarningAboutItsSenderAndConfirmsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--set-response", "--apply-delay", "60000"}));
    const CliRun run = RunCli(
        {"configure", MacOf(kTarget32), "--dhcp", "--verify", "--wait", "600", "--resend", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errorText,
              "kestrelink-cli: " + MacOf(kTarget32) +
                  ": not confirmed within 600 ms: it answers as before, at 10.213.1.4 as "
                  "'unit-4'\n"
                  "kestrelink-cli: warning: a set response came from 127.0.0.1 port 54321 (no "
                  "device heard announces that address); it confirms nothing\n");
}

}  // namespace
}  // namespace kestrelink::testing
