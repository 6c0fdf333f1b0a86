#include "cli/interface_scope.h"

#include <algorithm>

#ifdef _WIN32
#include "net/interfaces.h"
#else
#include <net/if.h>
#endif

namespace kestrelink::cli {

InterfaceScope::InterfaceScope(std::vector<std::string> names) : m_names(std::move(names)) {}

namespace {

bool IsInterfaceName(const std::string& name) {
#ifdef _WIN32
    // Windows' if_nametoindex knows only its internal adapter names; people know, and the
    // listing reports, the friendly names such as "Ethernet 2".
    const auto interfaces = ListBroadcastInterfaces();
    return std::any_of(interfaces.begin(), interfaces.end(),
                       [&name](const NetworkInterface& i) { return i.name == name; });
#else
    return ::if_nametoindex(name.c_str()) != 0;
#endif
}

}  // namespace

std::string InterfaceScope::CheckNames() const {
    for (const std::string& name : m_names) {
        if (!IsInterfaceName(name)) {
            return "no network interface named '" + name + "'";
        }
    }
    return {};
}

bool InterfaceScope::Admits(std::string_view interfaceName) const {
    return m_names.empty() || interfaceName.empty() ||
           std::find(m_names.begin(), m_names.end(), interfaceName) != m_names.end();
}

std::string ArrivalInterface(const Announcement&) {
    return {};
}

}  // namespace kestrelink::cli
