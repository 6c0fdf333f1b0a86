// Classification, decoding and take-in of arbitrary datagrams into one device list, with header
// clicks in between. Besides the sanitizers, it holds the list after every step against a plain
// model of the intake's and the list's rules that re-sorts from scratch with its own comparisons.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/datagrams.h"
#include "net/device_list.h"
#include "net/intake.h"
#include "net/protocol.h"
#include "tests/fuzz/intake_fuzz_input.h"
#include "tests/support/reference_list.h"

namespace kestrelink::fuzz {
namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The model takes the cell texts as the intake forms them, which the intake's unit tests pin
// down; what it decides is which rows stay and in what order.
void TakeIn(DeviceList& list, testing::ReferenceList& reference, const Announcement& announcement) {
    FormedTexts texts;
    const RowCells cells = FormRowCells(announcement, texts);
    DeviceRow row;
    std::copy(cells.begin(), cells.end(), row.begin());
    reference.TakeIn(row);
    TakeInAnnouncement(list, announcement);
}

void Feed(DeviceList& list, testing::ReferenceList& reference, std::uint16_t sourcePort,
          std::span<const std::uint8_t> bytes) {
    // A heap copy of exactly the datagram's length, so that a read past its end is caught.
    const std::vector<std::uint8_t> datagram(bytes.begin(), bytes.end());
    const auto decoded08 = DecodeAnnouncement08(datagram);
    const auto decoded32 = DecodeAnnouncement32(datagram);
    Require(decoded08.has_value() == (datagram.size() == 70));
    Require(decoded32.has_value() == (datagram.size() == 232));
    switch (ClassifyDatagram(sourcePort, datagram.size())) {
        case DatagramKind::Announcement08:
            Require(sourcePort == 43210);
            TakeIn(list, reference, *decoded08);
            break;
        case DatagramKind::Announcement32:
            Require(sourcePort == 54321);
            TakeIn(list, reference, *decoded32);
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
    testing::ReferenceList reference;
    fuzz::FuzzInputReader reader({data, size});
    fuzz::FuzzStep step;
    while (reader.Next(step)) {
        if (step.headerClick) {
            list.OnHeaderClick(step.column);
            reference.Click(step.column);
        } else {
            fuzz::Feed(list, reference, step.sourcePort, step.datagram);
        }
        const std::string difference = reference.DifferenceFrom(list);
        if (!difference.empty()) {
            std::fprintf(stderr, "list differs from its model: %s\n", difference.c_str());
            std::abort();
        }
    }
    return 0;
}
