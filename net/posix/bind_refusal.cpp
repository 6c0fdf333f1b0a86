#include "net/bind_refusal.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace kestrelink {
namespace {

std::optional<int> ReadSetting(const std::string& path) {
    std::ifstream file(path);
    int value = 0;
    if (file >> value) {
        return value;
    }
    return std::nullopt;
}

}  // namespace

BindFailure ExplainBindFailure(std::uint16_t) {
    const int error = errno;
    const BindRefusal refusal = error == EADDRINUSE                 ? BindRefusal::InUse
                                : error == EACCES || error == EPERM ? BindRefusal::Denied
                                                                    : BindRefusal::Other;
    return {refusal, std::strerror(error)};
}

ReversePathFilter ReadReversePathFilter(const std::string& interfaceName) {
    constexpr auto kFolder = "/proc/sys/net/ipv4/conf/";
    return {ReadSetting(std::string(kFolder) + "all/rp_filter"),
            ReadSetting(std::string(kFolder) + interfaceName + "/rp_filter")};
}

}  // namespace kestrelink
