#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/bind_refusal.h"

namespace kestrelink::cli {

// What `doctor` found on this machine: plain data, gathered by doctor_command.cpp.
struct DoctorFindings {
    struct Port {
        bool bindable = false;
        BindFailure failure;  // when not bindable
    };
    struct Adapter {
        std::string name;
        std::vector<std::string> addresses;  // "10.213.0.1/24", the first naming the adapter
        std::optional<bool> probeSent;       // nothing when no probe was tried
        std::uint32_t source = 0;            // the address the probe left from
        ReversePathFilter reversePath;
        int answered = 0;  // devices heard on it within the wait
    };
    struct Program {
        std::string path;
        bool letIn = false;
    };

    Port port;
    int receiveBufferBytes = 0;  // as the system counts them
    std::vector<Adapter> adapters;
    bool firewallApplies = false;  // the system has a firewall that the program asks
    // Each program's standing with the firewall; nothing when it could not be read.
    std::optional<std::vector<Program>> firewall;
};

// About how many answers the granted receive buffer holds before the system drops the next.
int AnswersHeld(int receiveBufferBytes);

// Linux drops an announcement from outside the adapter's networks when the filter in force, the
// stricter of the adapter's and the one for all, is 1 (strict).
bool DropsFactoryAddresses(const ReversePathFilter& filter);

// One line for each thing that keeps devices from being heard; none means nothing does.
std::vector<std::string> Obstacles(const DoctorFindings& findings);

}  // namespace kestrelink::cli
