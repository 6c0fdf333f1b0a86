// Classification, decoding and take-in of arbitrary datagrams into one device list, with header
// clicks in between. Besides the sanitizers, it checks what the intake promises the list: no two
// rows share a MAC or an IP text, an announcement is either listed with its own cells or refused
// because its address is taken, and a list under a sort column stays in order.
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "net/datagrams.h"
#include "net/device_list.h"
#include "net/intake.h"
#include "net/protocol.h"
#include "net/row_comparators.h"
#include "tests/fuzz/intake_fuzz_input.h"

namespace kestrelink::fuzz {
namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

int CompareCells(const DeviceList& list, int first, int second) {
    const SortState& sort = list.Sort();
    const std::string& a = list.CellText(first, sort.sortColumn);
    const std::string& b = list.CellText(second, sort.sortColumn);
    switch (sort.sortColumn) {
        case kColumnIp:
            return CompareIp(a, b, sort.ascending);
        case kColumnMac:
            return CompareMac(a, b, sort.ascending);
        case kColumnSerialNo:
            return CompareSerial(a, b, sort.ascending);
        default:
            return CompareText(a, b, sort.ascending);
    }
}

void CheckList(const DeviceList& list) {
    std::set<std::string> macs;
    std::set<std::string> ips;
    for (int row = 0; row < list.RowCount(); ++row) {
        Require(macs.insert(list.CellText(row, kColumnMac)).second);
        Require(ips.insert(list.CellText(row, kColumnIp)).second);
    }
    const int column = list.Sort().sortColumn;
    if (column >= kColumnIp && column <= kColumnSerialNo) {
        for (int row = 1; row < list.RowCount(); ++row) {
            Require(CompareCells(list, row - 1, row) <= 0);
        }
    }
}

void TakeInAndCheck(DeviceList& list, const Announcement& announcement) {
    FormedTexts texts;
    const RowCells cells = FormRowCells(announcement, texts);
    const std::vector<std::string> expected(cells.begin(), cells.end());
    TakeInAnnouncement(list, announcement);
    for (int row = 0; row < list.RowCount(); ++row) {
        if (list.CellText(row, kColumnMac) == expected[kColumnMac]) {
            for (int column = 0; column < kColumnCount; ++column) {
                Require(list.CellText(row, column) == expected[static_cast<std::size_t>(column)]);
            }
            return;
        }
    }
    Require(list.HasRowWithIp(expected[kColumnIp]));
}

void Feed(DeviceList& list, std::uint16_t sourcePort, std::span<const std::uint8_t> bytes) {
    // A heap copy of exactly the datagram's length, so that a read past its end is caught.
    const std::vector<std::uint8_t> datagram(bytes.begin(), bytes.end());
    const auto decoded08 = DecodeAnnouncement08(datagram);
    const auto decoded32 = DecodeAnnouncement32(datagram);
    Require(decoded08.has_value() == (datagram.size() == kAnnouncement08Length));
    Require(decoded32.has_value() == (datagram.size() == kAnnouncement32Length));
    switch (ClassifyDatagram(sourcePort, datagram.size())) {
        case DatagramKind::Announcement08:
            Require(sourcePort == DEVICE_PORT_08);
            TakeInAndCheck(list, *decoded08);
            break;
        case DatagramKind::Announcement32:
            Require(sourcePort == DEVICE_PORT_32);
            TakeInAndCheck(list, *decoded32);
            break;
        case DatagramKind::IpSetResponse08:
        case DatagramKind::IpSetResponse32:
        case DatagramKind::NotInProtocol:
            break;
    }
}

}  // namespace
}  // namespace kestrelink::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrelink;
    DeviceList list;
    fuzz::FuzzInputReader reader({data, size});
    fuzz::FuzzStep step;
    while (reader.Next(step)) {
        if (step.headerClick) {
            list.OnHeaderClick(step.column);
        } else {
            fuzz::Feed(list, step.sourcePort, step.datagram);
        }
        fuzz::CheckList(list);
    }
    return 0;
}
