#include "ui/heard_on_tool_tip.h"

#include "net/interfaces.h"
#include "net/subnet.h"
#include "net/text_forms.h"

namespace kestrelink {
namespace {

QString WithPrefix(std::uint32_t address, int prefixLength) {
    const ShortText dotted = FormatDottedQuad(address);
    return QStringLiteral("%1/%2").arg(QString::fromLatin1(dotted.View())).arg(prefixLength);
}

}  // namespace

QString HeardOnToolTip(const std::string& ipCell, const NetworkInterface& heardOn) {
    const QString name = QString::fromLocal8Bit(heardOn.name);
    QString tip = QStringLiteral("Heard on %1 (%2)")
                      .arg(name, WithPrefix(heardOn.address, heardOn.prefixLength));
    if (IsOutsideNetwork(ipCell, heardOn)) {
        tip += QStringLiteral(
                   "\nThis device's address is outside the network of %1 (%2), so its web page "
                   "cannot be reached from here until its IP settings are changed with Cfg IP.")
                   .arg(name, WithPrefix(NetworkAddress(heardOn), heardOn.prefixLength));
    }
    return tip;
}

}  // namespace kestrelink
