#include <winsock2.h>

#include <iphlpapi.h>

#include <string>
#include <string_view>
#include <vector>

#include "tools/lab/private_network.h"

namespace kestrelink::lab {
namespace {

// Windows has no network namespaces of its own; under Wine, its adapters are those of the
// namespace Wine runs in, and keep their Linux names.
std::string Utf8(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();
    return text;
}

}  // namespace

std::string ForeignInterface() {
    ULONG size = 64 * 1024;
    std::vector<std::uint8_t> table(size);
    auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(table.data());
    if (::GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, first, &size) != ERROR_SUCCESS) {
        return "(interfaces cannot be listed)";
    }
    for (const IP_ADAPTER_ADDRESSES* adapter = first; adapter != nullptr; adapter = adapter->Next) {
        const std::string name = Utf8(adapter->FriendlyName);
        if (adapter->IfType != IF_TYPE_SOFTWARE_LOOPBACK &&
            !std::string_view(name).starts_with("kl")) {
            return name.empty() ? "(unnamed)" : name;
        }
    }
    return {};
}

}  // namespace kestrelink::lab
