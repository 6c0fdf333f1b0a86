#include "ui/ui_hand_over.h"

#include <QMessageBox>
#include <QMetaObject>
#include <chrono>
#include <functional>
#include <mutex>
#include <utility>

#include "net/arrival_backlog.h"
#include "ui/device_list_model.h"

namespace kestrelink {
namespace {

using namespace std::chrono_literals;

// How long the user-interface thread takes in arrivals before the list gets repainted: long
// enough that a repaint of tens of thousands of rows is not paid every few rows, short enough to
// leave the thread free to answer the user.
constexpr auto kSlice = 16ms;

}  // namespace

// Where the listener keeps its arrivals for the user-interface thread.
class HandOverMailbox final : public std::enable_shared_from_this<HandOverMailbox> {
public:
    HandOverMailbox(QObject* context, std::function<void()> takeInSlice)
        : m_context(context), m_takeInSlice(std::move(takeInSlice)) {}

    ArrivalBacklog& Backlog() { return m_backlog; }
    // Either thread: a queued call of the slice, unless cancelled.
    void PostSlice();
    // User-interface thread.
    void Cancel();

private:
    void RunSlice();

    QObject* m_context;
    std::function<void()> m_takeInSlice;
    ArrivalBacklog m_backlog;
    // Held while a slice is posted, so that Cancel, and so the model's going, waits for the post.
    std::mutex m_mutex;
    bool m_cancelled = false;
};

void HandOverMailbox::PostSlice() {
    const std::lock_guard lock(m_mutex);
    if (m_cancelled) {
        return;
    }
    // Qt may destroy the call unrun, even here inside the post, with m_mutex held: so nothing in
    // the call's destruction takes m_mutex. The model's going is what cancels (see UiHandOver).
    QMetaObject::invokeMethod(
        m_context, [mailbox = shared_from_this()] { mailbox->RunSlice(); }, Qt::QueuedConnection);
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

UiHandOver::UiHandOver(DeviceListModel* model, QWidget* boxOwner)
    : m_model(model),
      m_boxOwner(boxOwner),
      m_mailbox(std::make_shared<HandOverMailbox>(model, [this] { TakeInSlice(); })) {
    // Once the model is gone, nothing is left to hand over to.
    QObject::connect(model, &QObject::destroyed, [mailbox = std::weak_ptr(m_mailbox)] {
        if (const auto alive = mailbox.lock()) {
            alive->Cancel();
        }
    });
}

UiHandOver::~UiHandOver() {
    // Slices refer to this object; none may run once it is gone.
    m_mailbox->Cancel();
}

void UiHandOver::TakeIn(std::span<const Arrival> arrivals) {
    if (m_mailbox->Backlog().Keep(arrivals)) {
        m_mailbox->PostSlice();
    }
}

void UiHandOver::TakeInSlice() {
    const bool more = TakeInBacklog(
        m_mailbox->Backlog(), m_model->List(), [this] { ShowSetResponse(); },
        std::chrono::steady_clock::now() + kSlice);
    // What is left waits for the next turn of the event loop, after the repaint.
    if (more) {
        m_mailbox->PostSlice();
    }
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
