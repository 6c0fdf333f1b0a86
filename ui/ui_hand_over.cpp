#include "ui/ui_hand_over.h"

#include <QMessageBox>
#include <QMetaObject>
#include <condition_variable>

#include "net/intake.h"
#include "ui/device_list_model.h"

namespace kestrelink {

// One hand-over in flight: finished when its step is done, dropped, or cancelled.
struct UiHandOver::Request {
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;

    void Finish() {
        {
            const std::lock_guard lock(mutex);
            finished = true;
        }
        changed.notify_all();
    }
    bool Finished() {
        const std::lock_guard lock(mutex);
        return finished;
    }
    void WaitUntilFinished() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return finished; });
    }
};

// Held by the step on the user-interface thread; the listener goes on when the last holder lets
// go of it, whether the step ran, was dropped with its model, or handed it on to a message box.
class UiHandOver::Ticket final {
public:
    explicit Ticket(std::shared_ptr<Request> request) : m_request(std::move(request)) {}
    ~Ticket() { m_request->Finish(); }
    Q_DISABLE_COPY_MOVE(Ticket)

    // After Cancel the listener has gone on, and the data the step would read may be gone.
    bool Revoked() const { return m_request->Finished(); }

private:
    std::shared_ptr<Request> m_request;
};

UiHandOver::UiHandOver(DeviceListModel* model, QWidget* boxOwner)
    : m_model(model), m_boxOwner(boxOwner) {}

UiHandOver::~UiHandOver() = default;

template <typename Step>
void UiHandOver::HandOver(Step step) {
    auto request = std::make_shared<Request>();
    {
        const std::lock_guard lock(m_mutex);
        if (m_cancelled) {
            return;
        }
        m_pending = request;
        auto ticket = std::make_shared<Ticket>(request);
        QMetaObject::invokeMethod(
            m_model,
            [step = std::move(step), ticket = std::move(ticket)]() mutable {
                if (!ticket->Revoked()) {
                    step(std::move(ticket));
                }
            },
            Qt::QueuedConnection);
    }
    request->WaitUntilFinished();
}

void UiHandOver::TakeInAnnouncement(const Announcement& announcement) {
    HandOver([model = m_model, &announcement](std::shared_ptr<Ticket>) {
        ::kestrelink::TakeInAnnouncement(model->List(), announcement);
    });
}

void UiHandOver::ShowSetResponse() {
    HandOver([owner = m_boxOwner](std::shared_ptr<Ticket> ticket) {
        auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Error"),
                                    QStringLiteral("IPSetResponse"), QMessageBox::Ok, owner);
        box->setAttribute(Qt::WA_DeleteOnClose);
        // The box holds the ticket: the listener reads on once the user has dismissed it.
        QObject::connect(box, &QDialog::finished, box,
                         [ticket = std::move(ticket)]() mutable { ticket.reset(); });
        box->open();
    });
}

void UiHandOver::Cancel() {
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
    if (const auto request = m_pending.lock()) {
        request->Finish();
    }
}

}  // namespace kestrelink
