#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace kestrelink::testing {

struct CaughtMessageBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    // The button that Enter would press.
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QPointer<QWidget> owner;

    // A box as it shows.
    static CaughtMessageBox Of(const QMessageBox& box);
    bool operator==(const CaughtMessageBox& other) const;
};

// The application's warning: one OK button, and as title the executable's file name, which is
// what Qt names the application when nobody sets a name.
CaughtMessageBox AppWarning(const QString& text, QWidget* owner);
char* toString(const CaughtMessageBox& box);

// Notes every message box that opens while it lives, also one run modally by the code under
// test, and answers it: with answer where the box offers that button, otherwise with its first.
class MessageBoxCatcher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MessageBoxCatcher)

public:
    static constexpr QMessageBox::StandardButton kLeaveOpen = QMessageBox::NoButton;

    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok);
    ~MessageBoxCatcher() override;

    const QList<CaughtMessageBox>& Caught() const { return m_caught; }
    QStringList Texts() const;
    // The boxes seen that are still open.
    QList<QMessageBox*> OpenBoxes() const;

private:
    void Look();

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    QList<QPointer<QMessageBox>> m_seen;
    QList<CaughtMessageBox> m_caught;
};

}  // namespace kestrelink::testing
