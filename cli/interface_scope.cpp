#include "cli/interface_scope.h"

#include <algorithm>

#include "net/datagrams.h"
#include "net/interfaces.h"

namespace kestrelink::cli {

InterfaceScope::InterfaceScope(std::vector<std::string> names) : m_names(std::move(names)) {}

std::string InterfaceScope::CheckNames() const {
    const std::vector<NetworkInterface> usable = ListBroadcastInterfaces();
    for (const std::string& name : m_names) {
        const bool found =
            std::any_of(usable.begin(), usable.end(),
                        [&name](const NetworkInterface& i) { return i.name == name; });
        if (!found) {
            return "no network interface named '" + name +
                   "' is up with an IPv4 address that can broadcast";
        }
    }
    return {};
}

bool InterfaceScope::Admits(std::string_view interfaceName) const {
    return m_names.empty() ||
           std::find(m_names.begin(), m_names.end(), interfaceName) != m_names.end();
}

std::string ArrivalInterface(const Announcement& announcement) {
    return announcement.heardOn != nullptr ? announcement.heardOn->name : std::string();
}

}  // namespace kestrelink::cli
