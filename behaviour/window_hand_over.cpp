#include "behaviour/window_hand_over.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <utility>

#include "behaviour/ui_thread.h"
#include "behaviour/window_face.h"
#include "net/arrival_backlog.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;

// How long the user-interface thread takes in arrivals before it returns to its event loop. Each
// slice is one change for the list's observer, and a view's following of a change to tens of
// thousands of rows costs as much as taking in a few thousand: so slices are long enough to take
// in thousands, and short enough, with the following, to leave the thread free for the user.
constexpr auto kSlice = 16ms;
// How long the thread rests after a slice that took in everything there was, before it takes in
// what has come since: so that a thread that keeps up with a burst does not pay for a slice, and
// for the list's observer following it, every few dozen rows. The observer's part grows with the
// list, since a view lays out every row anew: so does the rest.
constexpr auto kShortestRest = 2ms;
constexpr auto kLongestRest = 8ms;
constexpr int kRowsPerMillisecondOfRest = 8192;

std::chrono::milliseconds RestAfterSlice(int rows) {
    return std::min<std::chrono::milliseconds>(
        kLongestRest, kShortestRest + std::chrono::milliseconds(rows / kRowsPerMillisecondOfRest));
}

}  // namespace

// Where the listener keeps its arrivals for the user-interface thread.
class HandOverMailbox final : public std::enable_shared_from_this<HandOverMailbox> {
public:
    // wake and takeInSlice run on the user-interface thread.
    HandOverMailbox(UiThread& uiThread, std::function<void()> wake,
                    std::function<void()> takeInSlice)
        : m_uiThread(uiThread), m_wake(std::move(wake)), m_takeInSlice(std::move(takeInSlice)) {}

    ArrivalBacklog& Backlog() { return m_backlog; }
    // Any thread: a posted call of the wake, unless cancelled.
    void PostWake();
    // User-interface thread: the next slice, no sooner than wait from now, once the toolkit has
    // repainted and run its timers.
    void PostSlice(std::chrono::milliseconds wait);
    // Any thread.
    void Cancel();

private:
    void RunUnlessCancelled(const std::function<void()>& call);

    UiThread& m_uiThread;
    std::function<void()> m_wake;
    std::function<void()> m_takeInSlice;
    ArrivalBacklog m_backlog;
    // Held while a call is posted, so that Cancel waits for the post.
    std::mutex m_mutex;
    bool m_cancelled = false;
};

void HandOverMailbox::PostWake() {
    const std::lock_guard lock(m_mutex);
    if (m_cancelled) {
        return;
    }
    // The face may destroy the call unrun, even here inside the post, with m_mutex held: so
    // nothing in the call's destruction takes m_mutex. Whoever ends the face cancels first.
    m_uiThread.Post(
        [mailbox = shared_from_this()] { mailbox->RunUnlessCancelled(mailbox->m_wake); });
}

void HandOverMailbox::PostSlice(std::chrono::milliseconds wait) {
    const std::lock_guard lock(m_mutex);
    if (!m_cancelled) {
        m_uiThread.PostLater(wait, [mailbox = shared_from_this()] {
            mailbox->RunUnlessCancelled(mailbox->m_takeInSlice);
        });
    }
}

void HandOverMailbox::RunUnlessCancelled(const std::function<void()>& call) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_cancelled) {
            return;
        }
    }
    call();
}

void HandOverMailbox::Cancel() {
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
}

WindowHandOver::WindowHandOver(DeviceList& list, UiThread& uiThread, NoticeBoxes& boxes,
                               std::function<void(const DeviceRow&)> heard)
    : m_list(list),
      m_boxes(boxes),
      m_heard(std::move(heard)),
      m_mailbox(std::make_shared<HandOverMailbox>(
          uiThread, [this] { Wake(); }, [this] { TakeInSlice(); })),
      m_boxOpen(std::make_shared<bool>(false)) {}

WindowHandOver::~WindowHandOver() {
    // Slices refer to this object; none may run once it is gone.
    m_mailbox->Cancel();
}

void WindowHandOver::TakeIn(std::span<const Arrival> arrivals) {
    if (m_mailbox->Backlog().Keep(arrivals)) {
        m_mailbox->PostWake();
    }
}

void WindowHandOver::Wake() {
    // Whatever ran before the wake, a click that emptied a long list say, has had the thread for
    // a while: the toolkit gets its turn before the slice, and a slice soon after the last one
    // waits out the rest.
    const auto sinceLast = std::chrono::steady_clock::now() - m_lastSliceEnd;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::max<std::chrono::steady_clock::duration>(RestAfterSlice(m_list.RowCount()) - sinceLast,
                                                      0ms));
    m_mailbox->PostSlice(wait);
}

void WindowHandOver::TakeInSlice() {
    const bool more = TakeInBacklog(
        m_mailbox->Backlog(), m_list, [this] { ShowSetResponse(); },
        std::chrono::steady_clock::now() + kSlice, m_heard);
    m_lastSliceEnd = std::chrono::steady_clock::now();
    // What is left waits for the repaint and the toolkit's timers.
    if (more) {
        m_mailbox->PostSlice(0ms);
    }
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
