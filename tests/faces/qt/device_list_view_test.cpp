#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/sort_arrow_header.h"
#include "net/datagrams.h"
#include "net/device_list.h"
#include "net/intake.h"
#include "tests/faces/qt/support/expected_arrow_image.h"
#include "tests/faces/qt/support/list_view_input.h"

using namespace kestrelink;
using namespace kestrelink::testing;

namespace {

// Device n, 08bits with MAC 00:00:00:00:00:0n, answers from 10.0.0.host.
void Announce(DeviceList& list, int n, int host) {
    Announcement announcement;
    announcement.ipAddress = {10, 0, 0, static_cast<std::uint8_t>(host)};
    announcement.macAddress[5] = static_cast<std::uint8_t>(n);
    announcement.productName = "Product";
    announcement.givenName = "Name";
    announcement.version = "1.0";
    TakeInAnnouncement(list, announcement);
}

// A list beside a button, in a shown window, with three rows: 10.0.0.2, .1 and .3, device n at
// 10.0.0.n.
struct Fixture {
    QWidget window;
    DeviceListModel* model = new DeviceListModel(&window);
    DeviceListView* view = new DeviceListView(model, &window);
    QPushButton* next = new QPushButton(QStringLiteral("Next"), &window);

    Fixture() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(view);
        layout->addWidget(next);
        window.resize(900, 300);
        for (const int n : {3, 1, 2}) {
            Announce(model->List(), n, n);
        }
        window.show();
    }

    int SelectedViewRow() const {
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }
};

}  // namespace

class DeviceListViewTest final : public QObject {
    Q_OBJECT

private slots:
    void columnWidths();
    void clickSelectsOneWholeRowAndTheListFollows();
    void arrowKeysMoveTheSelectionTabLeaves();
    void selectionKeepsItsColourWithoutFocus();
    void selectionFollowsItsDeviceThroughSorts();
    void deletedRowLeavesNoSelectionAndNoCurrentRow_data();
    void deletedRowLeavesNoSelectionAndNoCurrentRow();
    void headerClickGoesToTheList_data();
    void headerClickGoesToTheList();
    void arrowDrawnRightOfHeaderText();
    void doubleClickReportedOnlyForLeftButtonOnARow_data();
    void doubleClickReportedOnlyForLeftButtonOnARow();
};

void DeviceListViewTest::columnWidths() {
    Fixture fixture;
    QList<int> widths;
    for (int column = 0; column < kColumnCount; ++column) {
        widths << fixture.view->header()->sectionSize(column);
    }
    QCOMPARE(widths, (QList<int>{100, 120, 150, 150, 80, 100, 100}));
    QVERIFY(!fixture.view->header()->stretchLastSection());
}

void DeviceListViewTest::clickSelectsOneWholeRowAndTheListFollows() {
    Fixture fixture;
    QCOMPARE(fixture.model->List().SelectedRow(), -1);
    ClickRow(*fixture.view, 1);
    QCOMPARE(fixture.SelectedViewRow(), 1);
    QCOMPARE(fixture.view->selectionModel()->selectedIndexes().size(), kColumnCount);
    QCOMPARE(fixture.model->List().SelectedRow(), 1);

    ClickRow(*fixture.view, 2, Qt::ControlModifier);
    QCOMPARE(fixture.view->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(fixture.model->List().SelectedRow(), 2);
}

void DeviceListViewTest::arrowKeysMoveTheSelectionTabLeaves() {
    Fixture fixture;
    fixture.window.activateWindow();
    fixture.view->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    ClickRow(*fixture.view, 0);
    QTest::keyClick(fixture.view, Qt::Key_Down);
    QCOMPARE(fixture.model->List().SelectedRow(), 1);
    QTest::keyClick(fixture.view, Qt::Key_Down);
    QTest::keyClick(fixture.view, Qt::Key_Up);
    QCOMPARE(fixture.model->List().SelectedRow(), 1);
    QTest::keyClick(fixture.view, Qt::Key_Tab);
    QVERIFY(fixture.next->hasFocus());
}

void DeviceListViewTest::selectionKeepsItsColourWithoutFocus() {
    // A colour scheme that dims the selection of an unfocused window, as many desktops do.
    const QPalette original = QApplication::palette();
    QPalette dimming = original;
    dimming.setColor(QPalette::Inactive, QPalette::Highlight, QColor(1, 2, 3));
    dimming.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(4, 5, 6));
    QApplication::setPalette(dimming);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(original); });
    Fixture fixture;
    const QPalette& palette = fixture.view->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        QCOMPARE(palette.color(QPalette::Inactive, role), palette.color(QPalette::Active, role));
    }
}

void DeviceListViewTest::selectionFollowsItsDeviceThroughSorts() {
    Fixture fixture;
    ClickRow(*fixture.view, 0);
    const QString selectedIp = QStringLiteral("10.0.0.2");
    QCOMPARE(fixture.model->index(0, kColumnIp).data().toString(), selectedIp);
    const auto expectSelectedAt = [&](int row) {
        QCOMPARE(fixture.SelectedViewRow(), row);
        QCOMPARE(fixture.model->index(row, kColumnIp).data().toString(), selectedIp);
        QCOMPARE(fixture.model->List().SelectedRow(), row);
    };
    fixture.model->List().OnHeaderClick(kColumnIp);  // .1 .2 .3
    expectSelectedAt(1);
    Announce(fixture.model->List(), 9, 0);  // .0 .1 .2 .3
    expectSelectedAt(2);
    fixture.model->List().OnHeaderClick(kColumnIp);  // .3 .2 .1 .0
    expectSelectedAt(1);
}

void DeviceListViewTest::deletedRowLeavesNoSelectionAndNoCurrentRow_data() {
    QTest::addColumn<bool>("tabbedIn");  // else row 1 (device 1) clicked
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("host");
    QTest::addColumn<bool>("batched");  // one change with a new device, as a burst comes in
    for (const bool batched : {false, true}) {
        const char* way = batched ? ", batched" : "";
        QTest::addRow("selected device heard again%s", way) << false << 1 << 1 << batched;
        QTest::addRow("selected device at a new IP%s", way) << false << 1 << 9 << batched;
        QTest::addRow("selected device loses an IP conflict%s", way) << false << 1 << 3 << batched;
        QTest::addRow("current device heard again%s", way) << true << 2 << 2 << batched;
    }
}

void DeviceListViewTest::deletedRowLeavesNoSelectionAndNoCurrentRow() {
    QFETCH(bool, tabbedIn);
    QFETCH(int, device);
    QFETCH(int, host);
    QFETCH(bool, batched);
    Fixture fixture;
    if (tabbedIn) {
        fixture.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
        fixture.next->setFocus();
        QTest::keyClick(fixture.next, Qt::Key_Tab);
        QVERIFY(fixture.view->hasFocus());
        QCOMPARE(fixture.view->currentIndex().row(), 0);
        QCOMPARE(fixture.SelectedViewRow(), -1);
    } else {
        ClickRow(*fixture.view, 1);
    }

    if (batched) {
        const DeviceListBatch batch(fixture.model->List());
        Announce(fixture.model->List(), 7, 7);
        Announce(fixture.model->List(), device, host);
    } else {
        Announce(fixture.model->List(), device, host);
    }

    QCOMPARE(fixture.SelectedViewRow(), -1);
    QVERIFY(!fixture.view->currentIndex().isValid());
    QCOMPARE(fixture.model->List().SelectedRow(), -1);
}

void DeviceListViewTest::headerClickGoesToTheList_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("ips");
    QTest::newRow("IP sorts ascending")
        << int(kColumnIp) << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3"};
    QTest::newRow("arch leaves the order")
        << int(kColumnArch) << QStringList{"10.0.0.2", "10.0.0.1", "10.0.0.3"};
}

void DeviceListViewTest::headerClickGoesToTheList() {
    QFETCH(int, column);
    QFETCH(QStringList, ips);
    Fixture fixture;
    ClickHeader(*fixture.view, column);
    QCOMPARE(fixture.model->List().Sort().sortColumn, column);
    QCOMPARE(ColumnTexts(*fixture.model, kColumnIp), ips);
    QVERIFY(!fixture.view->isSortingEnabled());
}

void DeviceListViewTest::arrowDrawnRightOfHeaderText() {
    Fixture fixture;
    auto* header = qobject_cast<SortArrowHeader*>(fixture.view->header());
    QVERIFY(header != nullptr);
    QVERIFY(header->ArrowRect(kColumnMac).isEmpty());
    fixture.model->List().OnHeaderClick(kColumnMac);
    const QRect arrow = header->ArrowRect(kColumnMac);
    QCOMPARE(arrow.size(), QSize(14, 14));

    const int sectionLeft = header->sectionViewportPosition(kColumnMac);
    const int textWidth = header->fontMetrics().horizontalAdvance(QStringLiteral("MAC"));
    QVERIFY(arrow.left() >= sectionLeft + textWidth);
    QVERIFY(arrow.right() < sectionLeft + header->sectionSize(kColumnMac));

    const QImage shown = header->viewport()->grab().toImage().copy(arrow);
    QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
             ExpectedArrowImage(kArrowUpRows, QGuiApplication::palette()));
    QVERIFY(header->ArrowRect(kColumnIp).isEmpty());
}

void DeviceListViewTest::doubleClickReportedOnlyForLeftButtonOnARow_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("onRow");  // else empty space below the rows
    QTest::addColumn<bool>("reported");
    QTest::newRow("left on a row") << Qt::LeftButton << true << true;
    QTest::newRow("left on empty space") << Qt::LeftButton << false << false;
    QTest::newRow("right on a row") << Qt::RightButton << true << false;
}

void DeviceListViewTest::doubleClickReportedOnlyForLeftButtonOnARow() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, onRow);
    QFETCH(bool, reported);
    Fixture fixture;
    ClickRow(*fixture.view, 1);
    QSignalSpy doubleClicks(fixture.view, &DeviceListView::listDoubleClicked);
    const QPoint target = onRow ? fixture.view->visualRect(fixture.model->index(1, 0)).center()
                                : QPoint(10, fixture.view->viewport()->height() - 5);
    QTest::mouseDClick(fixture.view->viewport(), button, {}, target);
    QCOMPARE(doubleClicks.size(), reported ? 1 : 0);
}

QTEST_MAIN(DeviceListViewTest)
#include "device_list_view_test.moc"
