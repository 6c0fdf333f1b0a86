// winsock2.h before iphlpapi.h, which would otherwise pull in the older winsock.h.
#include <winsock2.h>

#include <iphlpapi.h>
#include <ws2tcpip.h>

#include <vector>

#include "net/bind_refusal.h"

namespace kestrelink {
namespace {

// Whether any program has a UDP socket on port, as the system's own table of them says.
bool HeldByAProgram(std::uint16_t port) {
    ULONG size = 0;
    std::vector<std::uint8_t> table;
    DWORD result = ERROR_INSUFFICIENT_BUFFER;
    for (int round = 0; round < 4 && result == ERROR_INSUFFICIENT_BUFFER; ++round) {
        table.resize(size);
        result = ::GetExtendedUdpTable(table.data(), &size, FALSE, AF_INET, UDP_TABLE_OWNER_PID, 0);
    }
    if (result != NO_ERROR) {
        return false;
    }
    const auto* rows = reinterpret_cast<const MIB_UDPTABLE_OWNER_PID*>(table.data());
    for (DWORD k = 0; k < rows->dwNumEntries; ++k) {
        if (ntohs(static_cast<u_short>(rows->table[k].dwLocalPort)) == port) {
            return true;
        }
    }
    return false;
}

}  // namespace

BindFailure ExplainBindFailure(std::uint16_t port) {
    const int error = ::WSAGetLastError();
    const std::string text = "Winsock error " + std::to_string(error);
    switch (error) {
        case WSAEADDRINUSE:
            return {BindRefusal::InUse, text};
        case WSAEACCES:
            // Refused without anyone holding it: the port lies in a range the system excludes.
            return {HeldByAProgram(port) ? BindRefusal::InUse : BindRefusal::Reserved, text};
        default:
            return {BindRefusal::Other, text};
    }
}

ReversePathFilter ReadReversePathFilter(const std::string&) {
    return {};
}

}  // namespace kestrelink
