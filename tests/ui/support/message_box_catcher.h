#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

namespace kestrelink::testing {

struct CaughtMessageBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QPointer<QWidget> owner;
};

// Notes every message box that opens while it lives, also one run modally by the code under
// test, and answers it with its first button unless told to leave it open.
class MessageBoxCatcher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MessageBoxCatcher)

public:
    enum class Answer { Dismiss, LeaveOpen };

    explicit MessageBoxCatcher(Answer answer = Answer::Dismiss);
    ~MessageBoxCatcher() override;

    const std::vector<CaughtMessageBox>& Caught() const { return m_caught; }
    QStringList Texts() const;
    // The boxes seen that are still open.
    QList<QMessageBox*> OpenBoxes() const;

private:
    void Look();

    Answer m_answer;
    QTimer m_timer;
    QList<QPointer<QMessageBox>> m_seen;
    std::vector<CaughtMessageBox> m_caught;
};

}  // namespace kestrelink::testing
