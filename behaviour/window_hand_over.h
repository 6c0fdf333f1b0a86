#pragma once

#include <memory>
#include <span>

#include "net/listener_hand_over.h"

namespace kestrelink {

class DeviceList;
class HandOverMailbox;
class NoticeBoxes;
class UiThread;

// The one narrow boundary between the listener thread and the user-interface thread, for any
// face that can post a call to that thread.
//
// The listener calls TakeIn on its own thread. The call leaves its step in a mailbox, wakes the
// user-interface thread with a posted call when that thread is not already emptying the mailbox,
// and waits until the step has run there: the device list is only ever touched on the
// user-interface thread, and the arrivals' texts, which point into the listener's receive
// buffers, stay valid because the listener reads nothing while it waits.
//
// A set response opens the "IPSetResponse" box there and the listener goes on reading at once;
// while that box is open, further set responses are absorbed by it.
//
// A flood of announcements would cost a repaint of the list per read if every step were a posted
// call of its own. So once woken, the user-interface thread keeps taking steps as the listener
// brings them, for a few milliseconds at most, and then returns to its event loop.
//
// Cancel, called by the window before it closes the endpoint, makes a pending call and every
// later one return at once without effect, so that shutdown never waits for a listener stuck in a
// hand-over.
class WindowHandOver final : public ListenerHandOver {
public:
    // list, uiThread and boxes must outlive every hand-over made before Cancel.
    WindowHandOver(DeviceList& list, UiThread& uiThread, NoticeBoxes& boxes);
    ~WindowHandOver() override;
    WindowHandOver(const WindowHandOver&) = delete;
    WindowHandOver& operator=(const WindowHandOver&) = delete;

    void TakeIn(std::span<const Arrival> arrivals) override;

    // Any thread.
    void Cancel();

private:
    // On the user-interface thread.
    void ShowSetResponse();

    DeviceList& m_list;
    NoticeBoxes& m_boxes;
    std::shared_ptr<HandOverMailbox> m_mailbox;
    // A set-response box is open; user-interface thread only.
    std::shared_ptr<bool> m_boxOpen;
};

}  // namespace kestrelink
