#include "tools/lab/private_network.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace kestrelink::lab {

std::string ForeignInterface() {
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) {
        return "(interfaces cannot be listed)";
    }
    std::string foreign;
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        const std::string_view name = entry->ifa_name ? entry->ifa_name : "";
        const bool loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        if (!loopback && !name.starts_with("kl")) {
            foreign = std::string(name);
            break;
        }
    }
    ::freeifaddrs(interfaces);
    return foreign;
}

void RequirePrivateNetwork(const char* who) {
    const std::string foreign = ForeignInterface();
    if (!foreign.empty()) {
        std::fprintf(stderr,
                     "%s: refusing to open sockets: interface '%s' is not part of a private "
                     "network namespace. Run it through scripts/lab.sh or 'make test'.\n",
                     who, foreign.c_str());
        std::exit(3);
    }
}

}  // namespace kestrelink::lab
