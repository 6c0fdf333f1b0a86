#include "behaviour/heard_on_text.h"

#include "net/interfaces.h"
#include "net/subnet.h"
#include "net/text_forms.h"

namespace kestrelink {
namespace {

std::string WithPrefix(std::uint32_t address, int prefixLength) {
    const ShortText dotted = FormatDottedQuad(address);
    return std::string(dotted.View()) + "/" + std::to_string(prefixLength);
}

}  // namespace

// Interface names are the system's own, UTF-8 on both systems the window runs on.
std::string HeardOnText(const std::string& ipCell, const NetworkInterface& heardOn) {
    const std::string& name = heardOn.name;
    std::string text =
        "Heard on " + name + " (" + WithPrefix(heardOn.address, heardOn.prefixLength) + ")";
    if (IsOutsideNetwork(ipCell, heardOn)) {
        text += "\nThis device's address is outside the network of " + name + " (" +
                WithPrefix(NetworkAddress(heardOn), heardOn.prefixLength) +
                "), so its web page cannot be reached from here until its IP settings are "
                "changed with Cfg IP.";
    }
    return text;
}

}  // namespace kestrelink
