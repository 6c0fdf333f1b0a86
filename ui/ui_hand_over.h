#pragma once

#include <QPointer>
#include <QtGlobal>
#include <memory>
#include <span>

#include "net/listener_hand_over.h"

class QMessageBox;
class QWidget;

namespace kestrelink {

class DeviceListModel;
class HandOverMailbox;

// The one narrow boundary between the listener thread and the user-interface thread.
//
// The listener calls TakeIn on its own thread. The call keeps the arrivals in a backlog, wakes
// the user-interface thread with a queued call to the list model when nothing was waiting there
// yet, and returns: the listener never waits for the user-interface thread, so a burst of answers
// queues here instead of overflowing the kernel's receive queue while the list is repainted. The
// device list is only ever touched on the user-interface thread, which takes the backlog in
// slices of a few milliseconds and returns to its event loop between them.
//
// A set response opens the "IPSetResponse" box there; while that box is open, further set
// responses are absorbed by it.
//
// Cancel, called by the window before it closes the endpoint, makes every later hand-over and
// every pending slice do nothing. The model's going cancels too: Qt drops the queued calls to it
// unrun.
class UiHandOver final : public ListenerHandOver {
public:
    // boxOwner must outlive every hand-over made before Cancel or before the model goes.
    UiHandOver(DeviceListModel* model, QWidget* boxOwner);
    ~UiHandOver() override;
    Q_DISABLE_COPY_MOVE(UiHandOver)

    void TakeIn(std::span<const Arrival> arrivals) override;

    // On the user-interface thread.
    void Cancel();

private:
    // On the user-interface thread.
    void TakeInSlice();
    void ShowSetResponse();

    DeviceListModel* m_model;
    QWidget* m_boxOwner;
    QPointer<QMessageBox> m_setResponseBox;
    std::shared_ptr<HandOverMailbox> m_mailbox;
};

}  // namespace kestrelink
