#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "net/datagrams.h"
#include "tests/ui/support/message_box_catcher.h"
#include "ui/device_list_model.h"
#include "ui/ui_hand_over.h"

using namespace kestrelink;
using namespace kestrelink::testing;
using namespace std::chrono_literals;

namespace {

// What the listener would hand over; its texts live in this object, as in the receive buffer.
struct HeardDevice {
    std::string ip = "10.0.0.9";
    std::string product = "Product";
    Announcement announcement;

    HeardDevice() {
        announcement.family = DeviceFamily::Bits32;
        announcement.ipAddressText = ip;
        announcement.macAddress = {0x02, 0, 0, 0, 0, 0x09};
        announcement.productName = product;
        announcement.serialNumber = 9;
    }
};

Arrival Heard(const HeardDevice& device) {
    return {Arrival::Kind::Announcement, device.announcement};
}

const Arrival kSetResponse{Arrival::Kind::SetResponse, {}};

// A listener thread making one hand-over; Returned() tells whether the call has come back.
class ListenerCall final {
public:
    template <typename Call>
    explicit ListenerCall(Call call) : m_done(std::async(std::launch::async, std::move(call))) {}
    ~ListenerCall() { m_done.wait(); }
    Q_DISABLE_COPY_MOVE(ListenerCall)

    bool Returned() { return m_done.wait_for(0ms) == std::future_status::ready; }
    // Waits without running the event loop: the user-interface thread is busy elsewhere.
    bool ReturnsWithin(std::chrono::milliseconds time) {
        return m_done.wait_for(time) == std::future_status::ready;
    }

private:
    std::future<void> m_done;
};

}  // namespace

class UiHandOverTest final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void announcementTakenInOnTheUiThreadWhileTheListenerWaits();
    void floodIsTakenInBatchesWithoutStallingTheEventLoop();
    void setResponsesAmidAnnouncementsShowOneBoxWhileIntakeGoesOn();
    void cancelReleasesAPendingCallAndRefusesLaterOnes_data();
    void cancelReleasesAPendingCallAndRefusesLaterOnes();
    void callDroppedWithItsModelReleasesTheListener();

private:
    std::unique_ptr<QWidget> m_window;
    QPointer<DeviceListModel> m_model;
    std::shared_ptr<UiHandOver> m_handOver;
};

void UiHandOverTest::init() {
    m_window = std::make_unique<QWidget>();
    m_model = new DeviceListModel(m_window.get());
    m_handOver = std::make_shared<UiHandOver>(m_model.data(), m_window.get());
    m_window->show();
}

void UiHandOverTest::cleanup() {
    m_handOver->Cancel();
    m_handOver.reset();
    m_window.reset();
}

void UiHandOverTest::announcementTakenInOnTheUiThreadWhileTheListenerWaits() {
    HeardDevice device;
    QThread* insertedOn = nullptr;
    connect(m_model.data(), &QAbstractItemModel::rowsInserted, this,
            [&] { insertedOn = QThread::currentThread(); });

    const Arrival arrival = Heard(device);
    ListenerCall call([&] { m_handOver->TakeIn({&arrival, 1}); });
    QVERIFY(!call.ReturnsWithin(100ms));
    QCOMPARE(m_model->rowCount(), 0);

    QTRY_VERIFY(call.Returned());
    QCOMPARE(insertedOn, QThread::currentThread());
    QCOMPARE(m_model->rowCount(), 1);
    QCOMPARE(m_model->index(0, kColumnIp).data().toString(), QStringLiteral("10.0.0.9"));
    QCOMPARE(m_model->index(0, kColumnArch).data().toString(), QStringLiteral("32bits"));
}

void UiHandOverTest::floodIsTakenInBatchesWithoutStallingTheEventLoop() {
    constexpr int kDevices = 2000;
    // A zero timer fires once per turn of the event loop; a turn per device would mean a
    // repaint per device.
    int turn = 0;
    QTimer turns;
    connect(&turns, &QTimer::timeout, this, [&] { ++turn; });
    turns.start(0);
    QSet<int> turnsWithRows;
    connect(m_model.data(), &QAbstractItemModel::rowsInserted, this,
            [&] { turnsWithRows.insert(turn); });
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this,
            [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(1);

    ListenerCall flood([&] {
        for (int k = 0; k < kDevices; ++k) {
            HeardDevice device;
            device.ip = "10.1." + std::to_string(k / 256) + "." + std::to_string(k % 256);
            device.announcement.ipAddressText = device.ip;
            device.announcement.macAddress[4] = static_cast<std::uint8_t>(k / 256);
            device.announcement.macAddress[5] = static_cast<std::uint8_t>(k % 256);
            const Arrival arrival = Heard(device);
            m_handOver->TakeIn({&arrival, 1});
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(flood.Returned(), 20000);
    QCOMPARE(m_model->rowCount(), kDevices);
    QVERIFY2(
        turnsWithRows.size() < kDevices / 4,
        qPrintable(
            QStringLiteral("%1 turns for %2 devices").arg(turnsWithRows.size()).arg(kDevices)));
    QVERIFY2(longestGap < 50,
             qPrintable(QStringLiteral("event loop stalled %1 ms").arg(longestGap)));
}

// A set response must neither halt the intake nor stack up boxes: one box while it is open,
// whatever else arrives, and a fresh one only after the user has dismissed it.
void UiHandOverTest::setResponsesAmidAnnouncementsShowOneBoxWhileIntakeGoesOn() {
    MessageBoxCatcher boxes(MessageBoxCatcher::kLeaveOpen);
    HeardDevice first;
    HeardDevice second;
    second.ip = "10.0.0.10";
    second.announcement.ipAddressText = second.ip;
    second.announcement.macAddress[5] = 0x0A;
    const auto handOver = [&](std::vector<Arrival> arrivals) {
        ListenerCall call([&] { m_handOver->TakeIn(arrivals); });
        QTRY_VERIFY(call.Returned());
    };

    handOver({kSetResponse, Heard(first), kSetResponse});
    QTRY_COMPARE(boxes.OpenBoxes().size(), 1);
    const CaughtMessageBox expected{"Error",         "IPSetResponse", QMessageBox::NoIcon,
                                    QMessageBox::Ok, QMessageBox::Ok, m_window.get()};
    QCOMPARE(boxes.Caught(), QList{expected});
    QMessageBox* box = boxes.OpenBoxes().first();
    QVERIFY(box->isModal());
    QCOMPARE(m_model->rowCount(), 1);

    handOver({kSetResponse, Heard(second), kSetResponse});
    QCOMPARE(m_model->rowCount(), 2);
    QTest::qWait(50);
    QCOMPARE(boxes.Caught().size(), 1);

    box->button(QMessageBox::Ok)->click();
    QTRY_COMPARE(boxes.OpenBoxes().size(), 0);
    handOver({kSetResponse});
    QTRY_COMPARE(boxes.OpenBoxes().size(), 1);
    QCOMPARE(boxes.Caught(), (QList{expected, expected}));
}

void UiHandOverTest::cancelReleasesAPendingCallAndRefusesLaterOnes_data() {
    QTest::addColumn<bool>("setResponse");
    QTest::newRow("announcement") << false;
    QTest::newRow("set response") << true;
}

void UiHandOverTest::cancelReleasesAPendingCallAndRefusesLaterOnes() {
    QFETCH(bool, setResponse);
    MessageBoxCatcher boxes;
    HeardDevice device;
    const Arrival arrival = setResponse ? kSetResponse : Heard(device);
    const auto handOver = [&] { m_handOver->TakeIn({&arrival, 1}); };
    {
        ListenerCall pending(handOver);
        QVERIFY(!pending.ReturnsWithin(50ms));
        m_handOver->Cancel();
        QVERIFY(pending.ReturnsWithin(100ms));
    }
    ListenerCall later(handOver);
    QVERIFY(later.ReturnsWithin(100ms));

    // The call queued before Cancel finds it cancelled and leaves everything alone.
    QTest::qWait(50);
    QCOMPARE(m_model->rowCount(), 0);
    QCOMPARE(boxes.Texts(), QStringList());
}

void UiHandOverTest::callDroppedWithItsModelReleasesTheListener() {
    HeardDevice device;
    const Arrival arrival = Heard(device);
    ListenerCall pending([&] { m_handOver->TakeIn({&arrival, 1}); });
    QVERIFY(!pending.ReturnsWithin(50ms));
    delete m_model.data();
    QVERIFY(pending.ReturnsWithin(100ms));
}

QTEST_MAIN(UiHandOverTest)
#include "ui_hand_over_test.moc"
