#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrelink {
struct Announcement;
}

// Everything the program knows about the machine's network interfaces goes through here.
namespace kestrelink::cli {

// The interfaces a command is limited to; none named means every one.
class InterfaceScope final {
public:
    InterfaceScope() = default;
    explicit InterfaceScope(std::vector<std::string> names);

    // Empty when every named interface is one a broadcast can leave by; otherwise one line
    // naming the first that is not.
    std::string CheckNames() const;
    // Whether a device heard on interfaceName counts: any device when no interface is named.
    bool Admits(std::string_view interfaceName) const;
    const std::vector<std::string>& Names() const { return m_names; }

private:
    std::vector<std::string> m_names;
};

// The name of the interface the announcement arrived on, or empty when it came in on none that
// was probed (as where only loopback is up).
std::string ArrivalInterface(const Announcement& announcement);

}  // namespace kestrelink::cli
