#include "cli/interface_scope.h"

#include <net/if.h>

#include <algorithm>

namespace kestrelink::cli {

InterfaceScope::InterfaceScope(std::vector<std::string> names) : m_names(std::move(names)) {}

std::string InterfaceScope::CheckNames() const {
    for (const std::string& name : m_names) {
        if (::if_nametoindex(name.c_str()) == 0) {
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
