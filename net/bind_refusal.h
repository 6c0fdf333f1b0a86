#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrelink {

enum class BindRefusal {
    InUse,     // another program holds the port
    Reserved,  // the system keeps the port for itself (Windows: Hyper-V, WSL, Docker)
    Denied,    // the system forbids this program the port
    Other,
};

struct BindFailure {
    BindRefusal refusal = BindRefusal::Other;
    std::string systemText;  // the system's own words for the error
};

// Why the latest bind of this thread to port failed; asked right after it.
BindFailure ExplainBindFailure(std::uint16_t port);

// The reverse-path filter of an interface, as Linux keeps it for every interface and for each;
// nothing where the system has none (Windows) or it cannot be read.
struct ReversePathFilter {
    std::optional<int> all;
    std::optional<int> adapter;
};
ReversePathFilter ReadReversePathFilter(const std::string& interfaceName);

}  // namespace kestrelink
