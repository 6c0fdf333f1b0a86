#include "tests/faces/qt/support/message_box_catcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace kestrelink::testing {
namespace {

QMessageBox::StandardButton DefaultOf(const QMessageBox& box) {
    for (QAbstractButton* button : box.buttons()) {
        auto* pushButton = qobject_cast<QPushButton*>(button);
        if (pushButton != nullptr && pushButton->isDefault()) {
            return box.standardButton(button);
        }
    }
    return QMessageBox::NoButton;
}

}  // namespace

CaughtMessageBox CaughtMessageBox::Of(const QMessageBox& box) {
    return {box.windowTitle(),     box.text(),     box.icon(),
            box.standardButtons(), DefaultOf(box), box.parentWidget()};
}

bool CaughtMessageBox::operator==(const CaughtMessageBox& other) const {
    return title == other.title && text == other.text && icon == other.icon &&
           buttons == other.buttons && defaultButton == other.defaultButton &&
           owner.data() == other.owner.data();
}

CaughtMessageBox AppWarning(const QString& text, QWidget* owner) {
    const QString title = QCoreApplication::applicationName();
    return {title, text, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok, owner};
}

char* toString(const CaughtMessageBox& box) {
    const QString owner = box.owner
                              ? QStringLiteral("%1 at %2")
                                    .arg(QString::fromLatin1(box.owner->metaObject()->className()))
                                    .arg(quintptr(box.owner.data()), 0, 16)
                              : QStringLiteral("none");
    return QTest::toString(
        QStringLiteral("\"%1\": \"%2\", icon %3, buttons %4, default %5, owner %6")
            .arg(box.title, box.text)
            .arg(int(box.icon))
            .arg(QString::number(box.buttons.toInt(), 16), QString::number(box.defaultButton, 16),
                 owner));
}

MessageBoxCatcher::MessageBoxCatcher(QMessageBox::StandardButton answer) : m_answer(answer) {
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
        m_caught << CaughtMessageBox::Of(*box);
        if (m_answer == kLeaveOpen || box->buttons().isEmpty()) {
            continue;
        }
        QAbstractButton* button = box->button(m_answer);
        (button != nullptr ? button : box->buttons().first())->click();
    }
}

}  // namespace kestrelink::testing
