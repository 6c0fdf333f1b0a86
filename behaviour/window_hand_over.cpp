#include "behaviour/window_hand_over.h"

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

// How long the user-interface thread takes in arrivals before the list gets repainted: a repaint
// of tens of thousands of rows costs as much as taking in a few hundred, so it is paid every few
// thousand rows; short enough, with the repaint, to leave the thread free to answer the user.
constexpr auto kSlice = 32ms;

}  // namespace

// Where the listener keeps its arrivals for the user-interface thread.
class HandOverMailbox final : public std::enable_shared_from_this<HandOverMailbox> {
public:
    HandOverMailbox(UiThread& uiThread, std::function<void()> takeInSlice)
        : m_uiThread(uiThread), m_takeInSlice(std::move(takeInSlice)) {}

    ArrivalBacklog& Backlog() { return m_backlog; }
    // Any thread: a posted call of the slice, unless cancelled.
    void PostSlice();
    // User-interface thread: the next slice, once the toolkit has repainted and run its timers.
    void ContinueSlices();
    // Any thread.
    void Cancel();

private:
    void RunSlice();

    UiThread& m_uiThread;
    std::function<void()> m_takeInSlice;
    ArrivalBacklog m_backlog;
    // Held while a slice is posted, so that Cancel waits for the post.
    std::mutex m_mutex;
    bool m_cancelled = false;
};

void HandOverMailbox::PostSlice() {
    const std::lock_guard lock(m_mutex);
    if (m_cancelled) {
        return;
    }
    // The face may destroy the call unrun, even here inside the post, with m_mutex held: so
    // nothing in the call's destruction takes m_mutex. Whoever ends the face cancels first.
    m_uiThread.Post([mailbox = shared_from_this()] { mailbox->RunSlice(); });
}

void HandOverMailbox::ContinueSlices() {
    const std::lock_guard lock(m_mutex);
    if (!m_cancelled) {
        m_uiThread.PostAfterPending([mailbox = shared_from_this()] { mailbox->RunSlice(); });
    }
}

void HandOverMailbox::RunSlice() {
    {
        const std::lock_guard lock(m_mutex);
        if (m_cancelled) {
            return;
        }
    }
    m_takeInSlice();
}

void HandOverMailbox::Cancel() {
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
}

WindowHandOver::WindowHandOver(DeviceList& list, UiThread& uiThread, NoticeBoxes& boxes)
    : m_list(list),
      m_boxes(boxes),
      m_mailbox(std::make_shared<HandOverMailbox>(uiThread, [this] { TakeInSlice(); })),
      m_boxOpen(std::make_shared<bool>(false)) {}

WindowHandOver::~WindowHandOver() {
    // Slices refer to this object; none may run once it is gone.
    m_mailbox->Cancel();
}

void WindowHandOver::TakeIn(std::span<const Arrival> arrivals) {
    if (m_mailbox->Backlog().Keep(arrivals)) {
        m_mailbox->PostSlice();
    }
}

void WindowHandOver::TakeInSlice() {
    const bool more = TakeInBacklog(
        m_mailbox->Backlog(), m_list, [this] { ShowSetResponse(); },
        std::chrono::steady_clock::now() + kSlice);
    // What is left waits for the repaint and the toolkit's timers.
    if (more) {
        m_mailbox->ContinueSlices();
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
