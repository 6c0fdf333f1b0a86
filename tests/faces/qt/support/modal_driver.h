#pragma once

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <type_traits>

namespace kestrelink::testing {

// While it lives, hands each Dialog that runs modally to act, from inside the dialog's own modal
// loop. A dialog that act leaves open is rejected, so that a failed check inside act ends the
// loop instead of leaving the test waiting in it. A QMenu is taken as it pops up, and closed.
template <typename Dialog>
class ModalDriver final {
public:
    explicit ModalDriver(std::function<void(Dialog&)> act) : m_act(std::move(act)) {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { Look(); });
        m_timer.start(10);
    }
    Q_DISABLE_COPY_MOVE(ModalDriver)

    // How often a dialog was handed to act, and how often act left it open.
    int Driven() const { return m_driven; }
    int LeftOpen() const { return m_leftOpen; }

private:
    static constexpr bool kMenu = std::is_base_of_v<QMenu, Dialog>;

    void Look() {
        auto* dialog = qobject_cast<Dialog*>(kMenu ? QApplication::activePopupWidget()
                                                   : QApplication::activeModalWidget());
        if (m_acting || dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        m_acting = true;
        ++m_driven;
        m_act(*dialog);
        if (dialog->isVisible()) {
            ++m_leftOpen;
            if constexpr (kMenu) {
                dialog->close();
            } else {
                dialog->reject();
            }
        }
        m_acting = false;
    }

    std::function<void(Dialog&)> m_act;
    QTimer m_timer;
    int m_driven = 0;
    int m_leftOpen = 0;
    bool m_acting = false;
};

}  // namespace kestrelink::testing
