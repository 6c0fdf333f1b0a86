#include <winsock2.h>

#include <iphlpapi.h>

#include <string>
#include <string_view>
#include <vector>

#include "net/win32/wide_text.h"
#include "tools/lab/private_network.h"

namespace kestrelink::lab {

// Windows has no network namespaces of its own; under Wine, its adapters are those of the
// namespace Wine runs in, and keep their Linux names.
std::string ForeignInterface() {
    ULONG size = 64 * 1024;
    std::vector<std::uint8_t> table(size);
    auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(table.data());
    if (::GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, first, &size) != ERROR_SUCCESS) {
        return "(interfaces cannot be listed)";
    }
    for (const IP_ADAPTER_ADDRESSES* adapter = first; adapter != nullptr; adapter = adapter->Next) {
        const std::string name = WideToUtf8(adapter->FriendlyName);
        if (adapter->IfType != IF_TYPE_SOFTWARE_LOOPBACK &&
            !std::string_view(name).starts_with("kl")) {
            return name.empty() ? "(unnamed)" : name;
        }
    }
    return {};
}

}  // namespace kestrelink::lab
