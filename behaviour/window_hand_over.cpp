#include "behaviour/window_hand_over.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

#include "behaviour/ui_thread.h"
#include "behaviour/window_face.h"
#include "net/intake.h"

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
    explicit HandOverMailbox(UiThread& uiThread) : m_uiThread(uiThread) {}

    // Listener thread: returns once the step has run, or at once after Cancel.
    void HandOver(Step step);
    // User-interface thread.
    void Drain();
    // Any thread.
    void Cancel();

private:
    // With m_mutex held.
    void PostDrain();

    UiThread& m_uiThread;
    // Held while a drain is posted, so that Cancel waits for the post.
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
    // The face may destroy the call unrun, even here inside the post, with m_mutex held: so
    // nothing in the call's destruction takes m_mutex. Whoever ends the face cancels first.
    m_uiThread.Post([mailbox = shared_from_this()] { mailbox->Drain(); });
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

WindowHandOver::WindowHandOver(DeviceList& list, UiThread& uiThread, NoticeBoxes& boxes)
    : m_list(list),
      m_boxes(boxes),
      m_mailbox(std::make_shared<HandOverMailbox>(uiThread)),
      m_boxOpen(std::make_shared<bool>(false)) {}

WindowHandOver::~WindowHandOver() {
    // Steps refer to this object; none may run once it is gone.
    m_mailbox->Cancel();
}

void WindowHandOver::TakeIn(std::span<const Arrival> arrivals) {
    m_mailbox->HandOver([this, arrivals] {
        for (const Arrival& arrival : arrivals) {
            if (arrival.kind == Arrival::Kind::Announcement) {
                TakeInAnnouncement(m_list, arrival.announcement);
            } else {
                ShowSetResponse();
            }
        }
    });
}

void WindowHandOver::ShowSetResponse() {
    // One box says it all: a stream of answers, or of datagrams shaped like them from anywhere
    // on the segment, must not stack up boxes.
    if (*m_boxOpen) {
        return;
    }
    *m_boxOpen = true;
    m_boxes.OpenNotice("Error", "IPSetResponse", [boxOpen = m_boxOpen] { *boxOpen = false; });
}

void WindowHandOver::Cancel() {
    m_mailbox->Cancel();
}

}  // namespace kestrelink
