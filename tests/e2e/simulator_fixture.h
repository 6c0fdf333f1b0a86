#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "behaviour/main_window_behaviour.h"
#include "net/datagrams.h"
#include "net/device_list.h"
#include "net/device_row.h"
#include "tests/behaviour/support/recording_face.h"
#include "tests/support/network_guard.h"
#include "tools/lab/child_process.h"

namespace kestrelink::testing {

using lab::ChildProcess;

// Long enough for a loaded machine; every wait returns as soon as its condition holds.
inline constexpr std::chrono::milliseconds kE2eWait{5000};

// The devices a test asks the simulator for. The ranges are fixed here, so that every row the
// simulator must produce is known in advance.
struct SimulatedDevices {
    int devices08 = 0;
    int devices32 = 0;
    // Where the ranges start. Sets behind different lab segments start apart, so that no two
    // devices share a MAC or an address.
    std::uint64_t firstMac = 0x026b6c001000;
    std::uint32_t firstIp = 0x0AD50101;  // 10.213.1.1

    int Count() const { return devices08 + devices32; }
    std::vector<std::string> Arguments() const;
    // number counts from 0, the 08bits devices first, as the simulator numbers them.
    DeviceRow ExpectedRow(int number) const;
    std::vector<DeviceRow> ExpectedRows() const;
};

// Static settings for address ip in its /24, the .1 as gateway and DNS server.
IpSettings StaticSettings(std::uint32_t ip, std::string hostName);

// In MAC order, so that lists compare whatever order the devices answered in.
std::vector<DeviceRow> SortedByMac(std::vector<DeviceRow> rows);
// The first row whose cell in column is text; nullptr if there is none.
const DeviceRow* FindRow(const std::vector<DeviceRow>& rows, int column, std::string_view text);

// The window's own behaviour, on a face that records, against kestrelink-devsim run as a child
// process in the same private network. The test's thread is the window's: it runs what the
// listener posts there while it waits.
class SimulatorTest : public PrivateNetworkTest {
protected:
    void TearDown() override;

    // Starts the simulator and returns once both its ports are bound.
    void StartSimulator(const SimulatedDevices& devices,
                        const std::vector<std::string>& extraArguments = {});
    // Builds and starts the window's behaviour; its listener sends the first probe pair by
    // itself.
    void OpenWindow();
    // True once done holds for the list; false after kE2eWait.
    bool WaitUntil(const std::function<bool(const DeviceList&)>& done);
    bool WaitForRowCount(int count);
    DeviceRow RowAt(int row) const;
    std::vector<DeviceRow> Rows() const;
    // Cfg IP on the listed row of mac, with settings as typed into the dialog.
    void ConfigureIp(const std::string& mac, const IpSettings& settings);
    // The next "IPSetResponse" box; it is closed again, so that the one after can open.
    bool WaitForSetResponse();
    // Needs a simulator started with --set-response. Re-applies the current settings of device
    // number and waits for the set response: as the simulator answers in order, everything it
    // sent before has then been taken in.
    void SyncWithSimulator(const SimulatedDevices& devices, int number);

    RecordingFace m_face;
    RecordingBrowser m_browser;
    DeviceList m_list;
    std::unique_ptr<MainWindowBehaviour> m_window;
    std::unique_ptr<ChildProcess> m_simulator;

private:
    std::size_t m_setResponsesSeen = 0;
};

}  // namespace kestrelink::testing
