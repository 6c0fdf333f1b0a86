#include <QAbstractItemModelTester>
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include "behaviour/list_marks.h"
#include "faces/qt/device_list_model.h"
#include "net/device_list.h"
#include "net/interfaces.h"
#include "tests/faces/qt/support/expected_arrow_image.h"
#include "tests/faces/qt/support/list_view_input.h"

using namespace kestrelink;

namespace {

RowCells Cells(std::string_view ip, std::string_view mac, std::string_view serial = "1") {
    return {ip, mac, "Product", "Name", "1.0", serial, kArchText08};
}

MacAddress Mac(std::uint8_t last) {
    return {0x02, 0, 0, 0, 0, last};
}

QStringList IpColumn(const QAbstractItemModel& model) {
    return testing::ColumnTexts(model, kColumnIp);
}

QImage ArrowImage(const QAbstractItemModel& model, int column) {
    return model.headerData(column, Qt::Horizontal, Qt::DecorationRole).value<QPixmap>().toImage();
}

// A wired port on the devices' network, 10.98.0.1/24.
const NetworkInterface kWired{2, "enp3s0", 0x0A620001u, 24};
// The same port holding the factory network's 192.168.1.100/24 as well.
const NetworkInterface kWiredWithFactoryNetwork{2, "enp3s0", 0x0A620001u, 24, {{0xC0A80164u, 24}}};

}  // namespace

class DeviceListModelTest final : public QObject {
    Q_OBJECT

private slots:
    void passesModelTesterThroughEveryChange();
    void headerTextsLeftAligned();
    void arrowFollowsHeaderClicks_data();
    void arrowFollowsHeaderClicks();
    void persistentIndexFollowsSort();
    void cellsAreSingleByteText();
    void toolTipAndIconTellWhereTheDeviceWasHeard();
    void marksColourRowsAndDevicesNotHeardFollowGreyed();
};

void DeviceListModelTest::passesModelTesterThroughEveryChange() {
    DeviceListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    DeviceList& list = model.List();

    list.InsertRow(Cells("10.0.0.2", "02:00:00:00:00:02"));
    list.InsertRow(Cells("10.0.0.10", "02:00:00:00:00:0a"), &kWired);
    list.InsertRow(Cells("9.1.1.1", "02:00:00:00:00:09"));
    QCOMPARE(IpColumn(model), (QStringList{"9.1.1.1", "10.0.0.10", "10.0.0.2"}));

    list.OnHeaderClick(kColumnIp);
    QCOMPARE(IpColumn(model), (QStringList{"9.1.1.1", "10.0.0.2", "10.0.0.10"}));
    list.InsertRow(Cells("10.0.0.5", "02:00:00:00:00:05"));
    QCOMPARE(IpColumn(model), (QStringList{"9.1.1.1", "10.0.0.2", "10.0.0.5", "10.0.0.10"}));
    list.OnHeaderClick(kColumnIp);
    QCOMPARE(IpColumn(model), (QStringList{"10.0.0.10", "10.0.0.5", "10.0.0.2", "9.1.1.1"}));

    list.DeleteRowByMac(Mac(0x05));
    QCOMPARE(IpColumn(model), (QStringList{"10.0.0.10", "10.0.0.2", "9.1.1.1"}));
    list.DeleteAllRows();
    QCOMPARE(model.rowCount(), 0);
    list.InsertRow(Cells("10.0.0.7", "02:00:00:00:00:07"));
    QCOMPARE(IpColumn(model), QStringList{"10.0.0.7"});
}

void DeviceListModelTest::headerTextsLeftAligned() {
    DeviceListModel model;
    QCOMPARE(model.columnCount(), 7);
    QStringList headers;
    for (int column = 0; column < model.columnCount(); ++column) {
        headers << model.headerData(column, Qt::Horizontal).toString();
        QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignLeft | Qt::AlignVCenter));
    }
    QCOMPARE(headers, (QStringList{"IP", "MAC", "Product Name", "Given Name", "Version",
                                   "Serial No", "arch"}));
}

void DeviceListModelTest::arrowFollowsHeaderClicks_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("arrowColumn");  // -1: no arrow anywhere
    QTest::addColumn<bool>("up");
    QTest::newRow("none") << QList<int>{} << -1 << false;
    QTest::newRow("IP once: up") << QList<int>{0} << 0 << true;
    QTest::newRow("IP twice: down") << QList<int>{0, 0} << 0 << false;
    QTest::newRow("IP thrice: up") << QList<int>{0, 0, 0} << 0 << true;
    QTest::newRow("IP twice then MAC: up on MAC") << QList<int>{0, 0, 1} << 1 << true;
    QTest::newRow("arch alone: no arrow") << QList<int>{6} << -1 << false;
    QTest::newRow("serial down, then arch: arrow stays") << QList<int>{5, 5, 6} << 5 << false;
    QTest::newRow("serial down, arch, serial: up again") << QList<int>{5, 5, 6, 5} << 5 << true;
}

void DeviceListModelTest::arrowFollowsHeaderClicks() {
    QFETCH(QList<int>, clicks);
    QFETCH(int, arrowColumn);
    QFETCH(bool, up);
    DeviceListModel model;
    QSignalSpy headerChanges(&model, &QAbstractItemModel::headerDataChanged);
    for (const int column : clicks) {
        model.List().OnHeaderClick(column);
    }
    if (arrowColumn >= 0) {
        QVERIFY(!headerChanges.isEmpty());
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const QImage arrow = ArrowImage(model, column);
        if (column == arrowColumn) {
            QCOMPARE(
                arrow.convertToFormat(QImage::Format_RGB32),
                testing::ExpectedArrowImage(up ? testing::kArrowUpRows : testing::kArrowDownRows,
                                            QGuiApplication::palette()));
        } else {
            QVERIFY2(arrow.isNull(), qPrintable(QStringLiteral("arrow on column %1").arg(column)));
        }
    }
}

void DeviceListModelTest::persistentIndexFollowsSort() {
    DeviceListModel model;
    DeviceList& list = model.List();
    list.InsertRow(Cells("10.0.0.1", "02:00:00:00:00:01", "30"));
    list.InsertRow(Cells("10.0.0.2", "02:00:00:00:00:02", "10"));
    list.InsertRow(Cells("10.0.0.3", "02:00:00:00:00:03", "20"));
    const QPersistentModelIndex tracked = model.index(1, kColumnMac);
    QCOMPARE(tracked.data().toString(), QStringLiteral("02:00:00:00:00:02"));
    list.OnHeaderClick(kColumnSerialNo);
    QCOMPARE(tracked.row(), 0);
    QCOMPARE(tracked.column(), int(kColumnMac));
    QCOMPARE(tracked.data().toString(), QStringLiteral("02:00:00:00:00:02"));
    list.OnHeaderClick(kColumnSerialNo);
    QCOMPARE(tracked.row(), 2);
    QCOMPARE(tracked.data().toString(), QStringLiteral("02:00:00:00:00:02"));
}

void DeviceListModelTest::cellsAreSingleByteText() {
    DeviceListModel model;
    model.List().InsertRow({"10.0.0.1", "02:00:00:00:00:01", "Caf\xe9", "", "", "1", kArchText32});
    QCOMPARE(model.index(0, kColumnProductName).data().toString(), QStringLiteral("Caf\u00e9"));
    QCOMPARE(model.index(0, kColumnArch).data().toString(), QStringLiteral("32bits"));
}

void DeviceListModelTest::toolTipAndIconTellWhereTheDeviceWasHeard() {
    const QString heard = QStringLiteral("Heard on enp3s0 (10.98.0.1/24)");
    const QString outside = heard + QStringLiteral(
                                        "\nThis device's address is outside the network of enp3s0 "
                                        "(10.98.0.0/24), so its web page cannot be reached from "
                                        "here until its IP settings are changed with Cfg IP.");
    const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QVERIFY(!warning.isNull());
    const struct {
        const char* ip;
        const NetworkInterface* heardOn;
        QString toolTip;  // on every cell of the row
        bool warned;      // on the IP cell alone
    } rows[] = {{"10.98.0.57", &kWired, heard, false},
                {"192.168.1.20", &kWired, outside, true},
                {"192.168.1.20", &kWiredWithFactoryNetwork, heard, false},
                {"192.168.2.20", &kWiredWithFactoryNetwork, outside, true},
                {"192.168.1.20", nullptr, QString(), false}};
    for (const auto& row : rows) {
        DeviceListModel model;
        model.List().InsertRow(Cells(row.ip, "02:00:00:00:00:01"), row.heardOn);
        for (int column = 0; column < kColumnCount; ++column) {
            const QModelIndex cell = model.index(0, column);
            QCOMPARE(cell.data(Qt::ToolTipRole).toString(), row.toolTip);
            const QImage icon = cell.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage();
            QCOMPARE(icon,
                     row.warned && column == kColumnIp ? warning.pixmap(16).toImage() : QImage());
        }
        // The warning leaves the text that Web opens as it was.
        QCOMPARE(model.index(0, kColumnIp).data().toString(), QString::fromLatin1(row.ip));
    }
}

void DeviceListModelTest::marksColourRowsAndDevicesNotHeardFollowGreyed() {
    DeviceListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    DeviceList& list = model.List();
    list.InsertRow({"10.0.0.7", "02:00:00:00:00:01", "Cam", "door", "1.0", "1", kArchText32});
    list.InsertRow({"10.0.0.2", "02:00:00:00:00:02", "Cam", "yard", "1.0", "2", kArchText32});
    ListMarks marks;
    QVERIFY(
        !marks.Compare("ip,mac,product,name,version,serial,family\n"
                       "10.0.0.1,02:00:00:00:00:01,Cam,door,1.0,1,32bits\n"
                       "10.0.0.3,02:00:00:00:00:03,Cam,gate,1.0,3,32bits\n"));
    model.SetMarks(&marks);

    QCOMPARE(model.rowCount(), 3);
    // Top: the new device; then the changed one; then the one of the list not heard.
    QCOMPARE(model.index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
             QColor(0xd8, 0xf0, 0xd8));
    QCOMPARE(model.index(1, 3).data(Qt::BackgroundRole).value<QBrush>().color(),
             QColor(0xfa, 0xec, 0xb8));
    QCOMPARE(model.index(1, 0).data(Qt::ToolTipRole).toString(),
             QStringLiteral("was 10.0.0.1, name \"door\", version 1.0"));
    QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("10.0.0.3"));
    QCOMPARE(model.index(2, 0).data(Qt::ForegroundRole).value<QBrush>().color(),
             QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
    QCOMPARE(model.index(2, 0).data(Qt::ToolTipRole).toString(),
             QStringLiteral("in the compared list, not heard"));
    QVERIFY(!(model.flags(model.index(2, 0)) & Qt::ItemIsSelectable));
    QVERIFY(model.flags(model.index(1, 0)) & Qt::ItemIsSelectable);

    // The device comes: a row of the list, no longer below it.
    list.InsertRow({"10.0.0.3", "02:00:00:00:00:03", "Cam", "gate", "1.0", "3", kArchText32});
    QTRY_COMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, 0).data(Qt::BackgroundRole), QVariant());

    marks.ClearComparison();
    model.MarksChanged();
    QCOMPARE(model.index(1, 0).data(Qt::BackgroundRole), QVariant());
    model.SetMarks(nullptr);
}

QTEST_MAIN(DeviceListModelTest)
#include "device_list_model_test.moc"
