#include "tests/faces/qt/support/private_network_check.h"

#include "tools/lab/private_network.h"

namespace kestrelink::testing {

QString RefusalOutsidePrivateNetwork() {
    const std::string foreign = lab::ForeignInterface();
    if (foreign.empty()) {
        return {};
    }
    return QStringLiteral(
               "interface '%1' is not part of a private network namespace; run the "
               "test through 'make test' or scripts/in-private-network.sh")
        .arg(QString::fromStdString(foreign));
}

}  // namespace kestrelink::testing
