#include "ui/ui_hand_over.h"

#include <QMessageBox>
#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

#include "net/intake.h"
#include "ui/device_list_model.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How long the user-interface thread keeps taking steps before the list gets repainted.
constexpr auto kDrainSlice = 8ms;
// A listener with datagrams queued brings its next step within microseconds; one with none
// queued is not waited for longer than this.
constexpr auto kNextStepWait = 1ms;

using Step = std::function<void()>;

// One hand-over: its step, and whether the listener may go on.
class Request final {
public:
    explicit Request(Step step) : m_step(std::move(step)) {}

    Step TakeStep() { return std::move(m_step); }
    void Finish() {
        {
            const std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_changed.notify_all();
    }
    void WaitUntilFinished() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_finished; });
    }

private:
    Step m_step;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_finished = false;
};

}  // namespace

// Where the listener leaves its steps for the user-interface thread.
class HandOverMailbox final : public std::enable_shared_from_this<HandOverMailbox> {
public:
    explicit HandOverMailbox(QObject* context) : m_context(context) {}

    // Listener thread: returns once the step has run, or at once after Cancel.
    void HandOver(Step step);
    // User-interface thread.
    void Drain();
    void Cancel();

private:
    // With m_mutex held.
    void PostDrain();

    QObject* m_context;
    // Held while a drain is posted, so that Cancel, and so the model's going, waits for the post.
    std::mutex m_mutex;
    std::condition_variable m_stepLeft;
    bool m_cancelled = false;
    bool m_drainPosted = false;  // a drain is queued or running and will take the next step
    std::shared_ptr<Request> m_next;
    std::weak_ptr<Request> m_latest;
};

void HandOverMailbox::HandOver(Step step) {
    auto request = std::make_shared<Request>(std::move(step));
    {
        const std::lock_guard lock(m_mutex);
        if (m_cancelled) {
            return;
        }
        m_next = request;
        m_latest = request;
        if (m_drainPosted) {
            m_stepLeft.notify_one();
        } else {
            PostDrain();
        }
    }
    request->WaitUntilFinished();
}

void HandOverMailbox::PostDrain() {
    m_drainPosted = true;
    // Qt may destroy the call unrun, even here inside the post, with m_mutex held: so nothing in
    // the call's destruction takes m_mutex. The model's going is what cancels (see UiHandOver).
    QMetaObject::invokeMethod(
        m_context, [mailbox = shared_from_this()] { mailbox->Drain(); }, Qt::QueuedConnection);
}

void HandOverMailbox::Drain() {
    const Clock::time_point sliceEnd = Clock::now() + kDrainSlice;
    std::unique_lock lock(m_mutex);
    while (!m_cancelled) {
        if (std::shared_ptr<Request> request = std::exchange(m_next, nullptr)) {
            lock.unlock();
            request->TakeStep()();
            request->Finish();
            lock.lock();
            if (Clock::now() >= sliceEnd) {
                break;
            }
            continue;
        }
        const Clock::time_point until = std::min(sliceEnd, Clock::now() + kNextStepWait);
        if (!m_stepLeft.wait_until(lock, until, [this] { return m_next || m_cancelled; })) {
            break;
        }
    }
    m_drainPosted = false;
    // A step left after the slice ended waits for the next turn of the event loop.
    if (m_next && !m_cancelled) {
        PostDrain();
    }
}

void HandOverMailbox::Cancel() {
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
    m_next.reset();
    if (const auto request = m_latest.lock()) {
        request->Finish();
    }
}

UiHandOver::UiHandOver(DeviceListModel* model, QWidget* boxOwner)
    : m_model(model), m_boxOwner(boxOwner), m_mailbox(std::make_shared<HandOverMailbox>(model)) {
    // Once the model is gone, nothing is left to hand over to.
    QObject::connect(model, &QObject::destroyed, [mailbox = std::weak_ptr(m_mailbox)] {
        if (const auto alive = mailbox.lock()) {
            alive->Cancel();
        }
    });
}

UiHandOver::~UiHandOver() {
    // Steps refer to this object; none may run once it is gone.
    m_mailbox->Cancel();
}

void UiHandOver::TakeIn(std::span<const Arrival> arrivals) {
    m_mailbox->HandOver([this, arrivals] {
        for (const Arrival& arrival : arrivals) {
            if (arrival.kind == Arrival::Kind::Announcement) {
                TakeInAnnouncement(m_model->List(), arrival.announcement);
            } else {
                ShowSetResponse();
            }
        }
    });
}

void UiHandOver::ShowSetResponse() {
    // One box says it all: a stream of answers, or of datagrams shaped like them from anywhere
    // on the segment, must not stack up boxes.
    if (m_setResponseBox && !m_setResponseBox->isHidden()) {
        return;
    }
    auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Error"),
                                QStringLiteral("IPSetResponse"), QMessageBox::Ok, m_boxOwner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    m_setResponseBox = box;
}

void UiHandOver::Cancel() {
    m_mailbox->Cancel();
}

}  // namespace kestrelink
