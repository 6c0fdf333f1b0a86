// Decoding one announcement and forming its cells: the listener's work per datagram.
#include <benchmark/benchmark.h>

#include <vector>

#include "net/datagrams.h"
#include "net/intake.h"
#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink {
namespace {

std::vector<std::uint8_t> SampleAnnouncement(DeviceFamily family) {
    device::AnnouncementFields fields;
    fields.serialNumber = 4000000000u;
    fields.ipAddress = 0xC0A8010A;
    fields.ipAddressText = "192.168.1.10";
    fields.macAddress = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    fields.productName = "Gateway Pro";
    fields.givenName = "Roof";
    fields.version = "4.0.1";
    return device::EncodeAnnouncement(
        family == DeviceFamily::Bits32 ? device::Family::Bits32 : device::Family::Bits08, fields);
}

std::optional<Announcement> Decode(DeviceFamily family, std::span<const std::uint8_t> datagram) {
    return family == DeviceFamily::Bits32 ? DecodeAnnouncement32(datagram)
                                          : DecodeAnnouncement08(datagram);
}

void BM_Decode(benchmark::State& state, DeviceFamily family) {
    const auto datagram = SampleAnnouncement(family);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Decode(family, datagram));
    }
}
BENCHMARK_CAPTURE(BM_Decode, Announcement08, DeviceFamily::Bits08);
BENCHMARK_CAPTURE(BM_Decode, Announcement32, DeviceFamily::Bits32);

void BM_DecodeAndFormRowCells(benchmark::State& state, DeviceFamily family) {
    const auto datagram = SampleAnnouncement(family);
    FormedTexts texts;
    for (auto _ : state) {
        const auto announcement = Decode(family, datagram);
        benchmark::DoNotOptimize(FormRowCells(*announcement, texts));
    }
}
BENCHMARK_CAPTURE(BM_DecodeAndFormRowCells, Announcement08, DeviceFamily::Bits08);
BENCHMARK_CAPTURE(BM_DecodeAndFormRowCells, Announcement32, DeviceFamily::Bits32);

}  // namespace
}  // namespace kestrelink
