#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/device_protocol/device_protocol.h"
#include "tools/devsim/malformed.h"

namespace kestrelink::devsim {

// What the command line asks of the simulator. Defaults give one device of each family.
struct SimulatorOptions {
    int devices08 = 1;
    int devices32 = 1;
    // Device k (counting from 0, the 08bits devices first) takes each of these plus k.
    device::Mac firstMac{0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    std::uint32_t firstIp = 0x0AD50101;  // 10.213.1.1
    std::uint32_t firstSerial = 1000;
    std::string namePrefix = "devsim-";
    std::chrono::microseconds jitter{0};
    bool burst = false;
    std::optional<std::uint64_t> seed;
    // Without a password every request is accepted, as from a device that has none set.
    std::optional<std::string> password;
    std::uint32_t dhcpPool = 0x0AD5C801;  // 10.213.200.1
    bool setResponse = false;
    // How long a device keeps its old settings after a request, and then stays silent.
    std::chrono::milliseconds applyDelay{0};
    std::chrono::milliseconds restart{0};
    std::vector<MalformedKind> malformed;
    std::optional<std::chrono::milliseconds> exitAfter;
    bool allowRealNetwork = false;
};

struct CommandLine {
    SimulatorOptions options;
    std::string output;  // --help or --version: print it and end with status 0
    std::string error;   // empty when the command line is good
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace kestrelink::devsim
