// Classification, decoding and take-in of arbitrary datagrams into one device list, with header
// clicks in between. Besides the sanitizers, it holds the list after every step against a plain
// model of the intake's and the list's rules that re-sorts from scratch with its own comparisons.
// A second list takes the same announcements through the window's backlog, kept between clicks
// and taken in whole before each: it must match the model at every click and at the end.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/arrival_backlog.h"
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

// The lists under test, and the plain model they are held against.
struct Lists {
    DeviceList oneByOne;
    DeviceList batched;
    ArrivalBacklog backlog;
    testing::ReferenceList reference;
};

// The model takes the cell texts as the intake forms them, which the intake's unit tests pin
// down; what it decides is which rows stay and in what order.
void TakeIn(Lists& lists, const Announcement& announcement) {
    FormedTexts texts;
    const RowCells cells = FormRowCells(announcement, texts);
    DeviceRow row;
    std::copy(cells.begin(), cells.end(), row.begin());
    lists.reference.TakeIn(row);
    TakeInAnnouncement(lists.oneByOne, announcement);
    const Arrival arrival{Arrival::Kind::Announcement, announcement};
    lists.backlog.Keep({&arrival, 1});
}

void TakeInBacklogWhole(Lists& lists) {
    const bool more = TakeInBacklog(
        lists.backlog, lists.batched, [] {}, std::chrono::steady_clock::time_point::max());
    Require(!more);
}

void RequireSame(const testing::ReferenceList& reference, const DeviceList& list) {
    const std::string difference = reference.DifferenceFrom(list);
    if (!difference.empty()) {
        std::fprintf(stderr, "list differs from its model: %s\n", difference.c_str());
        std::abort();
    }
}

void Feed(Lists& lists, std::uint16_t sourcePort, std::span<const std::uint8_t> bytes) {
    // A heap copy of exactly the datagram's length, so that a read past its end is caught.
    const std::vector<std::uint8_t> datagram(bytes.begin(), bytes.end());
    const auto decoded08 = DecodeAnnouncement08(datagram);
    const auto decoded32 = DecodeAnnouncement32(datagram);
    Require(decoded08.has_value() == (datagram.size() == 70));
    Require(decoded32.has_value() == (datagram.size() == 232));
    switch (ClassifyDatagram(sourcePort, datagram.size())) {
        case DatagramKind::Announcement08:
            Require(sourcePort == 43210);
            TakeIn(lists, *decoded08);
            break;
        case DatagramKind::Announcement32:
            Require(sourcePort == 54321);
            TakeIn(lists, *decoded32);
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
    fuzz::Lists lists;
    fuzz::FuzzInputReader reader({data, size});
    fuzz::FuzzStep step;
    while (reader.Next(step)) {
        if (step.headerClick) {
            fuzz::TakeInBacklogWhole(lists);
            fuzz::RequireSame(lists.reference, lists.batched);
            lists.oneByOne.OnHeaderClick(step.column);
            lists.batched.OnHeaderClick(step.column);
            lists.reference.Click(step.column);
        } else {
            fuzz::Feed(lists, step.sourcePort, step.datagram);
        }
        fuzz::RequireSame(lists.reference, lists.oneByOne);
    }
    fuzz::TakeInBacklogWhole(lists);
    fuzz::RequireSame(lists.reference, lists.batched);
    return 0;
}
