#include "tests/ui/support/message_box_catcher.h"

#include <QAbstractButton>
#include <QApplication>

namespace kestrelink::testing {

MessageBoxCatcher::MessageBoxCatcher(Answer answer) : m_answer(answer) {
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCatcher::Look);
    m_timer.start(10);
}

MessageBoxCatcher::~MessageBoxCatcher() = default;

QStringList MessageBoxCatcher::Texts() const {
    QStringList texts;
    for (const CaughtMessageBox& box : m_caught) {
        texts << box.text;
    }
    return texts;
}

QList<QMessageBox*> MessageBoxCatcher::OpenBoxes() const {
    QList<QMessageBox*> open;
    for (const QPointer<QMessageBox>& box : m_seen) {
        if (box && box->isVisible()) {
            open << box.data();
        }
    }
    return open;
}

void MessageBoxCatcher::Look() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box == nullptr || !box->isVisible() || m_seen.contains(box)) {
            continue;
        }
        m_seen << box;
        m_caught.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                            box->parentWidget()});
        if (m_answer == Answer::Dismiss && !box->buttons().isEmpty()) {
            box->buttons().first()->click();
        }
    }
}

}  // namespace kestrelink::testing
