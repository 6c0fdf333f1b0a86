#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <span>

#include "net/device_row.h"
#include "net/listener_hand_over.h"

namespace kestrelink {

class DeviceList;
class HandOverMailbox;
class NoticeBoxes;
class UiThread;

// The one narrow boundary between the listener thread and the user-interface thread, for any
// face that can post a call to that thread.
//
// The listener calls TakeIn on its own thread. The call keeps the arrivals in a backlog, wakes
// the user-interface thread with a posted call when nothing was waiting there yet, and returns:
// the listener never waits for the user-interface thread, so a burst of answers queues here
// instead of overflowing the kernel's receive queue while the list is repainted. The device list
// is only ever touched on the user-interface thread, which takes the backlog in slices of some
// milliseconds, each told to the list's observer as one change, and returns to its event loop
// between them.
//
// A set response opens the "IPSetResponse" box there; while that box is open, further set
// responses are absorbed by it.
//
// Cancel, called by the window before it closes the endpoint, makes every later hand-over and
// every pending slice do nothing.
class WindowHandOver final : public ListenerHandOver {
public:
    // list, uiThread and boxes must outlive every hand-over made before Cancel. heard, when there
    // is one, learns of every announcement on the user-interface thread before the list does.
    WindowHandOver(DeviceList& list, UiThread& uiThread, NoticeBoxes& boxes,
                   std::function<void(const DeviceRow&)> heard = {});
    ~WindowHandOver() override;
    WindowHandOver(const WindowHandOver&) = delete;
    WindowHandOver& operator=(const WindowHandOver&) = delete;

    void TakeIn(std::span<const Arrival> arrivals) override;

    // Any thread.
    void Cancel();

private:
    // On the user-interface thread.
    void Wake();
    void TakeInSlice();
    void ShowSetResponse();

    DeviceList& m_list;
    NoticeBoxes& m_boxes;
    std::function<void(const DeviceRow&)> m_heard;
    std::shared_ptr<HandOverMailbox> m_mailbox;
    // A set-response box is open; user-interface thread only.
    std::shared_ptr<bool> m_boxOpen;
    // User-interface thread only.
    std::chrono::steady_clock::time_point m_lastSliceEnd;
};

}  // namespace kestrelink
