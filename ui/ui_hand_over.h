#pragma once

#include <QtGlobal>
#include <memory>
#include <mutex>

#include "net/listener_hand_over.h"

class QWidget;

namespace kestrelink {

class DeviceListModel;

// The one narrow boundary between the listener thread and the user-interface thread.
//
// The listener calls TakeInAnnouncement and ShowSetResponse on its own thread. Each call becomes
// a queued call to the list model, which lives on the user-interface thread, and the listener
// waits until that call has finished: the device list is only ever touched on the
// user-interface thread, and the announcement's texts, which point into the listener's receive
// buffer, stay valid because the listener reads nothing while it waits. The set-response box is
// shown there too; the listener waits until the user has dismissed it.
//
// Cancel, called by the window before it closes the endpoint, makes a pending call and every
// later one return at once without effect, so that shutdown never waits for a listener stuck in
// a hand-over. A queued call whose model is gone is dropped by Qt and releases its waiter too.
class UiHandOver final : public ListenerHandOver {
public:
    // model and boxOwner must outlive every hand-over made before Cancel.
    UiHandOver(DeviceListModel* model, QWidget* boxOwner);
    ~UiHandOver() override;
    Q_DISABLE_COPY_MOVE(UiHandOver)

    void TakeInAnnouncement(const Announcement& announcement) override;
    void ShowSetResponse() override;

    // On the user-interface thread.
    void Cancel();

private:
    struct Request;
    class Ticket;

    // Runs step on the user-interface thread and waits until the ticket it was given is gone.
    template <typename Step>
    void HandOver(Step step);

    DeviceListModel* m_model;
    QWidget* m_boxOwner;
    std::mutex m_mutex;  // held while a call is posted, so that Cancel cannot slip in between
    bool m_cancelled = false;
    std::weak_ptr<Request> m_pending;
};

}  // namespace kestrelink
