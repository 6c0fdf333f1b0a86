#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>
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

// Only a hand-over that never comes back takes this long.
constexpr auto kHang = 10s;

// What the listener would hand over; its texts live in this object, as in the receive buffer.
// Device n has IP 10.1.<n / 256>.<n % 256> and a MAC ending in the same two bytes.
struct HeardDevice {
    std::string ip;
    std::string product = "Product";
    Announcement announcement;

    explicit HeardDevice(int n = 9)
        : ip("10.1." + std::to_string(n / 256) + "." + std::to_string(n % 256)) {
        announcement.family = DeviceFamily::Bits32;
        announcement.serialNumber = 9;
        announcement.ipAddressText = ip;
        announcement.macAddress = {0x02, 0, 0, 0, std::uint8_t(n / 256), std::uint8_t(n % 256)};
        announcement.productName = product;
    }
};

Arrival Heard(const HeardDevice& device) {
    return {Arrival::Kind::Announcement, device.announcement};
}

const Arrival kSetResponse{Arrival::Kind::SetResponse, {}};

// A listener thread making hand-overs; Returned() tells whether the call has come back. One
// still waiting at the end is released with Cancel, so that a failed check does not hang the test.
class ListenerCall final {
public:
    ListenerCall(UiHandOver& handOver, std::function<void()> call)
        : m_handOver(handOver), m_done(std::async(std::launch::async, std::move(call))) {}
    ~ListenerCall() {
        if (!Returned()) {
            m_handOver.Cancel();
        }
        m_done.wait();
    }
    Q_DISABLE_COPY_MOVE(ListenerCall)

    bool Returned() { return m_done.wait_for(0ms) == std::future_status::ready; }
    // Waits without running the event loop: the user-interface thread is busy elsewhere.
    bool ReturnsUnaided() { return m_done.wait_for(kHang) == std::future_status::ready; }

private:
    UiHandOver& m_handOver;
    std::future<void> m_done;
};

// Meets the listener's wake-up call to the model before it runs, when the listener is known to
// wait in its hand-over; run says whether the call goes on.
class WakeUpCatcher final : public QObject {
public:
    WakeUpCatcher(QObject* model, std::function<bool()> run) : m_run(std::move(run)) {
        model->installEventFilter(this);
    }
    bool Caught() const { return m_caught; }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MetaCall) {
            return false;
        }
        m_caught = true;
        return !m_run();
    }

private:
    std::function<bool()> m_run;
    bool m_caught = false;
};

}  // namespace

class UiHandOverTest final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void announcementTakenInOnTheUiThreadWithoutHoldingUpTheListener();
    void floodArrivesWholeAndInOrder();
    void setResponsesAmidAnnouncementsShowOneBoxWhileIntakeGoesOn();
    void cancelReleasesAPendingCallAndRefusesLaterOnes_data();
    void cancelReleasesAPendingCallAndRefusesLaterOnes();
    void modelGoneReleasesAPendingCallAndRefusesLaterOnes_data();
    void modelGoneReleasesAPendingCallAndRefusesLaterOnes();

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

// The listener goes on reading while the user-interface thread is busy elsewhere; the device's
// texts, which die with the listener's buffer, are kept until that thread takes them in.
void UiHandOverTest::announcementTakenInOnTheUiThreadWithoutHoldingUpTheListener() {
    QThread* insertedOn = nullptr;
    connect(m_model.data(), &QAbstractItemModel::rowsInserted, this,
            [&] { insertedOn = QThread::currentThread(); });
    {
        ListenerCall call(*m_handOver, [&] {
            const HeardDevice device;
            const Arrival arrival = Heard(device);
            m_handOver->TakeIn({&arrival, 1});
        });
        QVERIFY(call.ReturnsUnaided());
    }
    QCOMPARE(m_model->rowCount(), 0);

    QTRY_COMPARE(m_model->rowCount(), 1);
    QCOMPARE(insertedOn, QThread::currentThread());
    QCOMPARE(m_model->rowCount(), 1);
    QCOMPARE(m_model->index(0, kColumnIp).data().toString(), QStringLiteral("10.1.0.9"));
    QCOMPARE(m_model->index(0, kColumnArch).data().toString(), QStringLiteral("32bits"));
}

void UiHandOverTest::floodArrivesWholeAndInOrder() {
    constexpr int kDevices = 2000;
    ListenerCall flood(*m_handOver, [&] {
        for (int number = 0; number < kDevices; ++number) {
            const HeardDevice device(number);
            const Arrival arrival = Heard(device);
            m_handOver->TakeIn({&arrival, 1});
        }
    });
    QVERIFY(flood.ReturnsUnaided());
    QTRY_COMPARE(m_model->rowCount(), kDevices);
    QCOMPARE(m_model->index(0, kColumnIp).data().toString(), QStringLiteral("10.1.7.207"));
    QCOMPARE(m_model->index(kDevices - 1, kColumnIp).data().toString(), QStringLiteral("10.1.0.0"));
}

// A set response must neither halt the intake nor stack up boxes: one box while it is open,
// whatever else arrives, and a fresh one only after the user has dismissed it.
void UiHandOverTest::setResponsesAmidAnnouncementsShowOneBoxWhileIntakeGoesOn() {
    MessageBoxCatcher boxes(MessageBoxCatcher::kLeaveOpen);
    const HeardDevice first(1);
    const HeardDevice second(2);
    const auto handOver = [&](std::vector<Arrival> arrivals) {
        ListenerCall call(*m_handOver, [&] { m_handOver->TakeIn(arrivals); });
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

    // Taken in whole in one turn of the event loop, the set responses with the announcement.
    handOver({kSetResponse, Heard(second), kSetResponse});
    QTRY_COMPARE(m_model->rowCount(), 2);
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
    // Cancelled as the wake-up arrives: the call it brings must then leave everything alone.
    WakeUpCatcher catcher(m_model.data(), [&] {
        m_handOver->Cancel();
        return true;
    });
    {
        ListenerCall pending(*m_handOver, handOver);
        QTRY_VERIFY(catcher.Caught());
        QVERIFY(pending.ReturnsUnaided());
    }
    ListenerCall later(*m_handOver, handOver);
    QVERIFY(later.ReturnsUnaided());

    QCoreApplication::sendPostedEvents();  // a wake-up of the later call would run here
    QCOMPARE(m_model->rowCount(), 0);
    QCOMPARE(boxes.Texts(), QStringList());
}

void UiHandOverTest::modelGoneReleasesAPendingCallAndRefusesLaterOnes_data() {
    QTest::addColumn<bool>("pending");
    QTest::newRow("a call pending") << true;
    QTest::newRow("no call yet") << false;
}

// Without a Cancel of the window's: the model's going alone lets the listener go on.
void UiHandOverTest::modelGoneReleasesAPendingCallAndRefusesLaterOnes() {
    QFETCH(bool, pending);
    HeardDevice device;
    const Arrival arrival = Heard(device);
    const auto handOver = [&] { m_handOver->TakeIn({&arrival, 1}); };
    std::optional<ListenerCall> pendingCall;
    if (pending) {
        // The wake-up is held back, so that the call is still pending when the model goes.
        WakeUpCatcher catcher(m_model.data(), [] { return false; });
        pendingCall.emplace(*m_handOver, handOver);
        QTRY_VERIFY(catcher.Caught());
    }
    delete m_model.data();
    QVERIFY(!pendingCall || pendingCall->ReturnsUnaided());
    ListenerCall later(*m_handOver, handOver);
    QVERIFY(later.ReturnsUnaided());
}

QTEST_MAIN(UiHandOverTest)
#include "ui_hand_over_test.moc"
