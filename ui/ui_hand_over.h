#pragma once

#include <QtGlobal>
#include <memory>

#include "net/listener_hand_over.h"

class QWidget;

namespace kestrelink {

class DeviceListModel;
class HandOverMailbox;

// The one narrow boundary between the listener thread and the user-interface thread.
//
// The listener calls TakeInAnnouncement and ShowSetResponse on its own thread. Each call leaves
// its step in a mailbox, wakes the user-interface thread with a queued call to the list model
// when that thread is not already emptying the mailbox, and waits until the step has run there:
// the device list is only ever touched on the user-interface thread, and the announcement's
// texts, which point into the listener's receive buffer, stay valid because the listener reads
// nothing while it waits. The set-response box is shown there too; the listener waits until the
// user has dismissed it.
//
// A flood of announcements would cost a repaint of the list per device if every step were a
// queued call of its own. So once woken, the user-interface thread keeps taking steps as the
// listener brings them, for a few milliseconds at most, and then returns to its event loop.
//
// Cancel, called by the window before it closes the endpoint, makes a pending call and every
// later one return at once without effect, so that shutdown never waits for a listener stuck in
// a hand-over. The model's going cancels too: Qt drops the queued calls to it unrun.
class UiHandOver final : public ListenerHandOver {
public:
    // boxOwner must outlive every hand-over made before Cancel or before the model goes.
    UiHandOver(DeviceListModel* model, QWidget* boxOwner);
    ~UiHandOver() override;
    Q_DISABLE_COPY_MOVE(UiHandOver)

    void TakeInAnnouncement(const Announcement& announcement) override;
    void ShowSetResponse() override;

    // On the user-interface thread.
    void Cancel();

private:
    DeviceListModel* m_model;
    QWidget* m_boxOwner;
    std::shared_ptr<HandOverMailbox> m_mailbox;
};

}  // namespace kestrelink
