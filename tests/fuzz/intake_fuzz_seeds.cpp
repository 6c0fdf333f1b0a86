// Writes the intake fuzzer's seed inputs into the directory given, so that the repository needs
// no binary files: announcements of both families, set responses, near misses in length and
// port, and sequences with header clicks between them.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "net/protocol.h"
#include "tests/fuzz/intake_fuzz_input.h"
#include "tools/device_protocol/device_datagrams.h"

namespace kestrelink::fuzz {
namespace {

using Input = std::vector<std::uint8_t>;

std::vector<std::uint8_t> Announcement(DeviceFamily family, std::uint32_t id,
                                       std::uint32_t address) {
    device::AnnouncementFields fields;
    fields.serialNumber = id * 2654435761u;
    fields.ipAddress = address;
    fields.ipAddressText = "10.0.0." + std::to_string(address & 0xFF);
    fields.macAddress = {
        0x00, 0x1A, 0x2B, 0x00, static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id)};
    fields.productName = id % 2 ? "Sensor" : "Gateway Pro";
    fields.givenName = "Unit " + std::to_string(id);
    fields.version = "1." + std::to_string(id % 7);
    return device::EncodeAnnouncement(
        family == DeviceFamily::Bits32 ? device::Family::Bits32 : device::Family::Bits08, fields);
}

std::vector<Input> Seeds() {
    std::vector<Input> seeds;
    const auto single = [&](std::uint16_t port, const std::vector<std::uint8_t>& datagram) {
        Input input;
        AppendDatagram(input, port, datagram);
        seeds.push_back(input);
    };
    single(DEVICE_PORT_08, Announcement(DeviceFamily::Bits08, 1, 0x0A000001));
    single(DEVICE_PORT_32, Announcement(DeviceFamily::Bits32, 2, 0x0A000002));
    single(DEVICE_PORT_08, std::vector<std::uint8_t>(kIpSetResponse08Length, 0));
    single(DEVICE_PORT_32, std::vector<std::uint8_t>(kIpSetResponse32Length, 0));
    single(DEVICE_PORT_32, Announcement(DeviceFamily::Bits08, 3, 0x0A000003));
    single(DEVICE_PORT_08, Announcement(DeviceFamily::Bits32, 4, 0x0A000004));
    single(LOCAL_PORT, Announcement(DeviceFamily::Bits08, 5, 0x0A000005));

    // Every device filling its text fields to the full width, without a NUL.
    device::AnnouncementFields full;
    full.ipAddressText = std::string(128, '9');
    full.productName = std::string(32, 'P');
    full.givenName = std::string(32, 'G');
    full.version = std::string(20, 'V');
    full.macAddress = {1, 2, 3, 4, 5, 6};
    single(DEVICE_PORT_08, device::EncodeAnnouncement(device::Family::Bits08, full));
    single(DEVICE_PORT_32, device::EncodeAnnouncement(device::Family::Bits32, full));

    // A discovery: many devices, then clicks on each column, more devices, the same ones again
    // with new addresses, and some that collide.
    Input discovery;
    for (std::uint32_t id = 0; id < 12; ++id) {
        const auto family = id % 3 ? DeviceFamily::Bits08 : DeviceFamily::Bits32;
        AppendDatagram(discovery, DevicePort(family),
                       Announcement(family, id, 0x0A000000u + (id * 37) % 11));
    }
    for (int column = 0; column <= 7; ++column) {
        AppendHeaderClick(discovery, column);
        AppendDatagram(discovery, DEVICE_PORT_08,
                       Announcement(DeviceFamily::Bits08, 100u + static_cast<std::uint32_t>(column),
                                    0x0A000010u + static_cast<std::uint32_t>(column)));
        AppendHeaderClick(discovery, column);
    }
    for (std::uint32_t id = 0; id < 12; ++id) {
        const auto family = id % 2 ? DeviceFamily::Bits08 : DeviceFamily::Bits32;
        AppendDatagram(discovery, DevicePort(family), Announcement(family, id, 0x0A000005));
    }
    seeds.push_back(discovery);
    return seeds;
}

}  // namespace
}  // namespace kestrelink::fuzz

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const auto seeds = kestrelink::fuzz::Seeds();
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const std::string path = std::string(argv[1]) + "/seed-" + std::to_string(i);
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(seeds[i].data()),
                   static_cast<std::streamsize>(seeds[i].size()));
        if (!file) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
