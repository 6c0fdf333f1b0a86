// The main window under a flood: 100,000 datagrams in about ten seconds, of random lengths from 0
// to 1,500 bytes and of the protocol's exact lengths (44, 70, 204, 232) with random contents,
// from random ports including both device ports, with a Discover click every second. Amid them,
// a hundred valid devices announce themselves over and over.
//
// It checks, every tenth of a second, that no two rows show the same MAC text or the same IP
// text and that at most one set-response box is open; before every Discover click and at the
// end, that every valid device is listed. It reports the longest block of the user-interface
// thread, the peak memory against the most rows kept, and the time to close the window at the
// end. Exit status 0 when every target is met, 1 when one is missed.
//
// Opens sockets: run it in a private network, for example
//   scripts/in-private-network.sh build/bench/flood_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "bench/support/window_meters.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/kestrelink_dlg.h"
#include "net/device_list.h"
#include "net/device_row.h"
#include "net/protocol.h"
#include "net/text_forms.h"
#include "net/udp_socket.h"
#include "tools/device_protocol/device_datagrams.h"
#include "tools/lab/private_network.h"

using namespace kestrelink;
using kestrelink::bench::Inform;
using kestrelink::bench::Report;
using kestrelink::bench::RunEventLoopFor;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDatagrams = 100'000;
constexpr std::chrono::milliseconds kFloodTime{10'000};
constexpr int kPaceEvery = 100;  // datagrams sent between looks at the clock
constexpr int kValidDevices = 100;
constexpr int kValidEvery = 10;  // every tenth datagram is the next valid device's announcement
constexpr int kDiscoverEveryMs = 1000;
constexpr int kCheckEveryMs = 100;
constexpr std::size_t kLongestLength = 1500;
constexpr std::array<std::size_t, 4> kExactLengths{kIpSetResponse08Length, kAnnouncement08Length,
                                                   kIpSetResponse32Length, kAnnouncement32Length};
constexpr qint64 kBlockedAtMostMs = 50;
constexpr double kPeakMemoryBelowMb = 120.0;
constexpr qint64 kClosedWithinMs = 1000;
constexpr std::uint32_t kLoopback = 0x7F000001;

// Where the flood comes from: each device port, and ports the system picks.
class Senders final {
public:
    // The first two; the others are on ports the system picks.
    static constexpr std::size_t kFrom43210 = 0;
    static constexpr std::size_t kFrom54321 = 1;
    static constexpr std::size_t kCount = 8;

    bool Open() {
        for (std::size_t k = 0; k < kCount; ++k) {
            const std::uint16_t port =
                k == kFrom43210 ? DEVICE_PORT_08 : (k == kFrom54321 ? DEVICE_PORT_32 : 0);
            if (!m_sockets[k].Create() || !m_sockets[k].Bind(port)) {
                return false;
            }
        }
        return true;
    }
    void Send(std::size_t from, std::span<const std::uint8_t> datagram) {
        m_sockets[from].SendTo(datagram, kLoopback, LOCAL_PORT);
    }

private:
    std::array<UdpSocket, kCount> m_sockets;
};

struct ValidDevice {
    std::vector<std::uint8_t> datagram;
    std::size_t from = 0;
    std::string ip;
    std::string mac;
};

// Addresses in 10.77.0.0/24 and MACs 02:4d:...: nothing random is likely to hit them.
std::vector<ValidDevice> MakeValidDevices() {
    std::vector<ValidDevice> devices;
    for (int k = 0; k < kValidDevices; ++k) {
        const bool bits32 = k % 2 == 1;
        device::AnnouncementFields fields;
        fields.serialNumber = static_cast<std::uint32_t>(k);
        fields.ipAddress = 0x0A4D0000u | static_cast<std::uint32_t>(k);
        fields.ipAddressText = std::string(FormatDottedQuad(fields.ipAddress).View());
        fields.macAddress = {0x02, 0x4D, 0, 0, 0, static_cast<std::uint8_t>(k)};
        fields.givenName = "valid " + std::to_string(k);
        const device::Family family = bits32 ? device::Family::Bits32 : device::Family::Bits08;
        devices.push_back({device::EncodeAnnouncement(family, fields),
                           bits32 ? Senders::kFrom54321 : Senders::kFrom43210, fields.ipAddressText,
                           std::string(FormatMacText(fields.macAddress).View())});
    }
    return devices;
}

// Sends the whole flood at an even pace over kFloodTime, a valid announcement every
// kValidEvery datagrams.
void Flood(Senders& senders, const std::vector<ValidDevice>& valid) {
    std::mt19937 random(15);
    std::uniform_int_distribution<std::size_t> anyLength(0, kLongestLength);
    std::uniform_int_distribution<std::size_t> exactLength(0, kExactLengths.size() - 1);
    std::uniform_int_distribution<std::size_t> otherPort(2, Senders::kCount - 1);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::vector<std::uint8_t> datagram;
    const Clock::time_point started = Clock::now();
    for (int k = 0; k < kDatagrams; ++k) {
        if (k % kValidEvery == 0) {
            const ValidDevice& device =
                valid[static_cast<std::size_t>(k / kValidEvery) % valid.size()];
            senders.Send(device.from, device.datagram);
        } else {
            datagram.resize(random() % 2 == 0 ? kExactLengths[exactLength(random)]
                                              : anyLength(random));
            std::generate(datagram.begin(), datagram.end(),
                          [&] { return static_cast<std::uint8_t>(anyByte(random)); });
            // Half of them from a device port, a quarter from each.
            senders.Send(random() % 2 == 0 ? random() % 2 : otherPort(random), datagram);
        }
        if (k % kPaceEvery == 0) {
            std::this_thread::sleep_until(started + kFloodTime * k / kDatagrams);
        }
    }
}

// What the checks found over the run.
struct Findings {
    int sameMac = 0;  // checks that found two rows with one MAC text
    int sameIp = 0;
    int mostBoxes = 0;
    int validChecks = 0;
    int validMissing = 0;  // valid devices missing, summed over the checks
    int mostRows = 0;
};

void CheckRows(const DeviceList& list, Findings& findings) {
    std::unordered_set<std::string> macs;
    std::unordered_set<std::string> ips;
    bool sameMac = false;
    bool sameIp = false;
    for (int row = 0; row < list.RowCount(); ++row) {
        sameMac = !macs.insert(list.CellText(row, kColumnMac)).second || sameMac;
        sameIp = !ips.insert(list.CellText(row, kColumnIp)).second || sameIp;
    }
    findings.sameMac += sameMac ? 1 : 0;
    findings.sameIp += sameIp ? 1 : 0;
    findings.mostRows = std::max(findings.mostRows, list.RowCount());
    int boxes = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        boxes += qobject_cast<QMessageBox*>(widget) != nullptr && widget->isVisible() ? 1 : 0;
    }
    findings.mostBoxes = std::max(findings.mostBoxes, boxes);
}

void CheckValidListed(const DeviceList& list, const std::vector<ValidDevice>& valid,
                      Findings& findings) {
    std::unordered_set<std::string> listed;
    for (int row = 0; row < list.RowCount(); ++row) {
        listed.insert(list.CellText(row, kColumnMac) + ' ' + list.CellText(row, kColumnIp));
    }
    ++findings.validChecks;
    for (const ValidDevice& device : valid) {
        findings.validMissing += listed.contains(device.mac + ' ' + device.ip) ? 0 : 1;
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    lab::RequirePrivateNetwork("flood_bench");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);

    Senders senders;
    if (!senders.Open()) {
        std::fprintf(stderr, "flood_bench: cannot open the senders' sockets\n");
        return 2;
    }
    const std::vector<ValidDevice> valid = MakeValidDevices();
    auto window = std::make_unique<CKestrelinkDlg>();
    window->show();
    const DeviceList& list =
        qobject_cast<DeviceListModel*>(window->findChild<DeviceListView*>()->model())->List();
    auto* discover = window->findChild<QPushButton*>(QStringLiteral("control1001"));

    Findings findings;
    QTimer checks;
    QObject::connect(&checks, &QTimer::timeout, &checks, [&] { CheckRows(list, findings); });
    checks.start(kCheckEveryMs);
    QTimer clicks;
    // The last click comes a second before the flood ends, so that every valid device has been
    // announced many times over since the last click whenever it is looked for.
    const int clicksToMake = static_cast<int>(kFloodTime.count()) / kDiscoverEveryMs - 1;
    int clicksMade = 0;
    QObject::connect(&clicks, &QTimer::timeout, &clicks, [&] {
        CheckValidListed(list, valid, findings);
        discover->click();
        if (++clicksMade == clicksToMake) {
            clicks.stop();
        }
    });
    bench::BlockageMeter meter;

    std::atomic<bool> flooded{false};
    std::thread flood([&] {
        Flood(senders, valid);
        flooded = true;
    });
    clicks.start(kDiscoverEveryMs);
    while (!flooded) {
        RunEventLoopFor(50);
    }
    flood.join();
    RunEventLoopFor(300);  // what is still queued
    CheckRows(list, findings);
    CheckValidListed(list, valid, findings);
    const qint64 longestBlock = meter.LongestMs();

    QElapsedTimer closing;
    closing.start();
    window->close();
    window.reset();
    const qint64 closeMs = closing.elapsed();
    const double peakMb = bench::PeakMemoryMb();

    bool met = Report("checks finding two rows with one MAC text", findings.sameMac, "0",
                      findings.sameMac == 0);
    met &= Report("checks finding two rows with one IP text", findings.sameIp, "0",
                  findings.sameIp == 0);
    met &= Report("set-response boxes open at once, at most", findings.mostBoxes, "<= 1",
                  findings.mostBoxes <= 1);
    met &= Report("valid devices missing, over all checks", findings.validMissing, "0",
                  findings.validMissing == 0 && findings.validChecks > 1);
    met &= Report("longest block of the user-interface thread, ms",
                  static_cast<double>(longestBlock), "<= 50", longestBlock <= kBlockedAtMostMs);
    met &= Report("peak memory, MB", peakMb, "< 120", peakMb < kPeakMemoryBelowMb);
    Inform("most rows kept", findings.mostRows);
    met &= Report("time to close the window, ms", static_cast<double>(closeMs), "< 1000",
                  closeMs < kClosedWithinMs);
    return met ? 0 : 1;
}
