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

    // Empty when every named interface exists on this machine; otherwise one line naming the
    // first that does not.
    std::string CheckNames() const;
    // Whether a device heard on interfaceName counts. The endpoint may not be able to tell the
    // interface; such a device counts, as nothing says it is out of scope.
    bool Admits(std::string_view interfaceName) const;

private:
    std::vector<std::string> m_names;
};

// The name of the interface the announcement arrived on, or empty when the endpoint does not
// report it.
std::string ArrivalInterface(const Announcement& announcement);

}  // namespace kestrelink::cli
