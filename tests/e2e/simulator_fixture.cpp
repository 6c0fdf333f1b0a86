#include "tests/e2e/simulator_fixture.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "net/datagrams.h"

namespace kestrelink::testing {
namespace {

// Written out here rather than taken from the simulator, so that a slip on either side shows.
constexpr std::uint32_t kFirstSerial = 70000;
constexpr std::string_view kNamePrefix = "unit-";
constexpr std::string_view kChangesSent =
    "warning|Changes sent.  Press Discover button in a short time to refresh.";
constexpr std::string_view kSetResponseBox = "notice Error|IPSetResponse";
// How often a wait looks at what the listener has posted.
constexpr std::chrono::milliseconds kPollPause{1};

std::string MacText(std::uint64_t value) {
    char text[18];
    std::snprintf(
        text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x",
        static_cast<unsigned>(value >> 40 & 0xFF), static_cast<unsigned>(value >> 32 & 0xFF),
        static_cast<unsigned>(value >> 24 & 0xFF), static_cast<unsigned>(value >> 16 & 0xFF),
        static_cast<unsigned>(value >> 8 & 0xFF), static_cast<unsigned>(value & 0xFF));
    return text;
}

std::string AddressText(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", value >> 24, value >> 16 & 0xFF,
                  value >> 8 & 0xFF, value & 0xFF);
    return text;
}

}  // namespace

std::vector<std::string> SimulatedDevices::Arguments() const {
    return {"--devices08",    std::to_string(devices08),
            "--devices32",    std::to_string(devices32),
            "--first-mac",    MacText(firstMac),
            "--first-ip",     AddressText(firstIp),
            "--first-serial", std::to_string(kFirstSerial),
            "--name-prefix",  std::string(kNamePrefix)};
}

DeviceRow SimulatedDevices::ExpectedRow(int number) const {
    const auto offset = static_cast<std::uint32_t>(number);
    const bool bits08 = number < devices08;
    return {AddressText(firstIp + offset),
            MacText(firstMac + offset),
            bits08 ? "DevSim 08" : "DevSim 32",
            std::string(kNamePrefix) + std::to_string(number + 1),
            "1.0",
            std::to_string(kFirstSerial + offset),
            bits08 ? "08bits" : "32bits"};
}

std::vector<DeviceRow> SimulatedDevices::ExpectedRows() const {
    std::vector<DeviceRow> rows;
    for (int number = 0; number < Count(); ++number) {
        rows.push_back(ExpectedRow(number));
    }
    return SortedByMac(std::move(rows));
}

IpSettings StaticSettings(std::uint32_t ip, std::string hostName) {
    IpSettings settings;
    settings.ipAddress = ip;
    settings.subnetMask = 0xFFFFFF00u;
    settings.gateway = (ip & 0xFFFFFF00u) | 1u;
    settings.dnsServer = settings.gateway;
    settings.hostName = std::move(hostName);
    return settings;
}

std::vector<DeviceRow> SortedByMac(std::vector<DeviceRow> rows) {
    std::sort(rows.begin(), rows.end(), [](const DeviceRow& first, const DeviceRow& second) {
        return first[kColumnMac] < second[kColumnMac];
    });
    return rows;
}

const DeviceRow* FindRow(const std::vector<DeviceRow>& rows, int column, std::string_view text) {
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const DeviceRow& row) {
        return row[static_cast<std::size_t>(column)] == text;
    });
    return found == rows.end() ? nullptr : &*found;
}

void SimulatorTest::TearDown() {
    // The window goes first, so that nothing is taken in while the simulator winds down.
    m_window.reset();
    m_simulator.reset();
    PrivateNetworkTest::TearDown();
}

void SimulatorTest::StartSimulator(const SimulatedDevices& devices,
                                   const std::vector<std::string>& extraArguments) {
    std::vector<std::string> arguments = devices.Arguments();
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    m_simulator = std::make_unique<ChildProcess>(KESTRELINK_DEVSIM_PATH, arguments);
    ASSERT_TRUE(m_simulator->Started()) << KESTRELINK_DEVSIM_PATH;
    ASSERT_TRUE(m_simulator->WaitForLine("listening", kE2eWait))
        << "the simulator did not start: " << m_simulator->ErrorText();
}

void SimulatorTest::OpenWindow() {
    m_window = std::make_unique<MainWindowBehaviour>(m_face, m_face, m_list, m_browser);
    ASSERT_TRUE(m_window->Start()) << ::testing::PrintToString(m_face.boxes);
}

bool SimulatorTest::WaitUntil(const std::function<bool(const DeviceList&)>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kE2eWait;
    for (;;) {
        m_face.RunPosted();
        if (done(m_list)) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollPause);
    }
}

bool SimulatorTest::WaitForRowCount(int count) {
    return WaitUntil([count](const DeviceList& list) { return list.RowCount() == count; });
}

DeviceRow SimulatorTest::RowAt(int row) const {
    DeviceRow cells;
    for (int column = 0; column < kColumnCount; ++column) {
        cells[static_cast<std::size_t>(column)] = m_list.CellText(row, column);
    }
    return cells;
}

std::vector<DeviceRow> SimulatorTest::Rows() const {
    std::vector<DeviceRow> rows;
    for (int row = 0; row < m_list.RowCount(); ++row) {
        rows.push_back(RowAt(row));
    }
    return rows;
}

void SimulatorTest::ConfigureIp(const std::string& mac, const IpSettings& settings) {
    m_face.RunPosted();
    int row = 0;
    while (row < m_list.RowCount() && m_list.CellText(row, kColumnMac) != mac) {
        ++row;
    }
    ASSERT_LT(row, m_list.RowCount()) << mac << " is not listed";
    m_list.SelectRow(row);
    m_face.ipSettings = settings;
    m_window->OnConfigureIp();
    ASSERT_FALSE(m_face.boxes.empty());
    ASSERT_EQ(m_face.boxes.back(), kChangesSent);
}

bool SimulatorTest::WaitForSetResponse() {
    const std::size_t expected = m_setResponsesSeen + 1;
    const bool seen = WaitUntil([&](const DeviceList&) {
        return static_cast<std::size_t>(std::count(m_face.boxes.begin(), m_face.boxes.end(),
                                                   kSetResponseBox)) >= expected;
    });
    if (seen) {
        m_setResponsesSeen = expected;
        m_face.CloseNotice();
    }
    return seen;
}

void SimulatorTest::SyncWithSimulator(const SimulatedDevices& devices, int number) {
    const DeviceRow device = devices.ExpectedRow(number);
    const IpSettings settings = StaticSettings(devices.firstIp + static_cast<std::uint32_t>(number),
                                               device[kColumnGivenName]);
    ASSERT_NO_FATAL_FAILURE(ConfigureIp(device[kColumnMac], settings));
    ASSERT_TRUE(WaitForSetResponse()) << "no set response from the simulator";
}

}  // namespace kestrelink::testing
