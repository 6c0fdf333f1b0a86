#include <QTest>
#include <map>
#include <tuple>

#include "ui/browser_detection.h"

using kestrelink::RegistryReader;
using kestrelink::RegistryRoot;

namespace {

const QString kIeSetupKey = QStringLiteral("Software\\Microsoft\\IE Setup\\Setup");
const QString kHttpHandlerKey = QStringLiteral("HTTP\\shell\\open\\ddeexec\\Application");

// Values found only under exactly the root, key and value name they were put at.
class FakeRegistry final : public RegistryReader {
public:
    FakeRegistry() = default;
    Q_DISABLE_COPY_MOVE(FakeRegistry)

    void Put(RegistryRoot root, const QString& subkey, const QString& valueName,
             const QByteArray& data) {
        m_values[{root, subkey, valueName}] = data;
    }

    std::optional<QByteArray> ReadValue(RegistryRoot root, const QString& subkey,
                                        const QString& valueName) const override {
        ++m_reads;
        const auto found = m_values.find({root, subkey, valueName});
        if (found == m_values.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    int Reads() const { return m_reads; }

private:
    std::map<std::tuple<RegistryRoot, QString, QString>, QByteArray> m_values;
    mutable int m_reads = 0;
};

QByteArray Text(const char* text) {
    return QByteArray(text) + '\0';
}

QByteArray TextOfSize(qsizetype bytesWithZero) {
    return QByteArray(bytesWithZero - 1, 'p') + '\0';
}

}  // namespace

class BrowserDetectionTest final : public QObject {
    Q_OBJECT

private slots:
    void probes_data();
    void probes();
};

// A null QByteArray leaves the value out of the registry.
void BrowserDetectionTest::probes_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("httpHandler");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("isDefault");
    QTest::addColumn<bool>("show");
    QTest::addColumn<int>("reads");

    const QByteArray path = Text("C:\\Program Files\\Internet Explorer");
    QTest::newRow("not installed: second probe not made")
        << QByteArray() << Text("iexplore") << false << false << false << 1;
    QTest::newRow("installed, no handler") << path << QByteArray() << true << false << true << 2;
    QTest::newRow("installed and default")
        << path << Text("IExplore") << true << true << false << 2;
    QTest::newRow("handler differs in case")
        << path << Text("iexplore") << true << false << true << 2;
    QTest::newRow("handler with extension")
        << path << Text("IExplore.exe") << true << false << true << 2;
    QTest::newRow("handler without its zero")
        << path << QByteArray("IExplore") << true << true << false << 2;
    QTest::newRow("handler text ends at its zero")
        << path << QByteArray("IExplore\0junk\0", 14) << true << true << false << 2;
    QTest::newRow("empty path value") << Text("") << QByteArray() << true << false << true << 2;
    QTest::newRow("path of 261 bytes")
        << TextOfSize(261) << QByteArray() << true << false << true << 2;
    QTest::newRow("path of 262 bytes")
        << TextOfSize(262) << Text("chrome") << false << false << false << 1;
    QTest::newRow("handler of 262 bytes")
        << path << (Text("IExplore") + QByteArray(262 - 9, '\0')) << true << false << true << 2;
}

void BrowserDetectionTest::probes() {
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, httpHandler);
    QFETCH(bool, installed);
    QFETCH(bool, isDefault);
    QFETCH(bool, show);
    QFETCH(int, reads);

    FakeRegistry registry;
    if (!path.isNull()) {
        registry.Put(RegistryRoot::LocalMachine, kIeSetupKey, QStringLiteral("Path"), path);
    }
    if (!httpHandler.isNull()) {
        registry.Put(RegistryRoot::ClassesRoot, kHttpHandlerKey, QString(), httpHandler);
    }

    QCOMPARE(kestrelink::ShowForceIeOption(registry), show);
    QCOMPARE(registry.Reads(), reads);
    QCOMPARE(kestrelink::IsIeInstalled(registry), installed);
    QCOMPARE(kestrelink::IsIeDefaultHttpHandler(registry), isDefault);
}

QTEST_MAIN(BrowserDetectionTest)
#include "browser_detection_test.moc"
