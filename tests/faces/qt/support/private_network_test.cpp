#include "tests/faces/qt/support/private_network_test.h"

#include <QString>
#include <QTest>

#include "tools/lab/private_network.h"

namespace kestrelink::testing {

void PrivateNetworkQtTest::initTestCase() {
    const std::string foreign = lab::ForeignInterface();
    QVERIFY2(foreign.empty(),
             qPrintable(QStringLiteral("interface '%1' is not part of a private network "
                                       "namespace; run the test through 'make test' or "
                                       "scripts/in-private-network.sh")
                            .arg(QString::fromStdString(foreign))));
}

}  // namespace kestrelink::testing
