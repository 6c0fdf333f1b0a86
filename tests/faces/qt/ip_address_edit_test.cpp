#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "faces/qt/ip_address_edit.h"

using kestrelink::IpAddressEdit;

namespace {

// Each key goes to whichever widget has focus at that moment, as a user's keystrokes do.
// '\b' is Backspace, '<' and '>' the arrow keys.
void Type(const QString& keys) {
    for (const QChar key : keys) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target != nullptr);
        switch (key.unicode()) {
            case '\b':
                QTest::keyClick(target, Qt::Key_Backspace);
                break;
            case '<':
                QTest::keyClick(target, Qt::Key_Left);
                break;
            case '>':
                QTest::keyClick(target, Qt::Key_Right);
                break;
            default:
                QTest::keyClick(target, key.toLatin1());
                break;
        }
    }
}

QList<QLineEdit*> FieldsOf(const IpAddressEdit& address) {
    return address.findChildren<QLineEdit*>();
}

// The four fields as the user sees them, joined by dots: "..." when blank.
QString Shown(const IpAddressEdit& address) {
    QStringList texts;
    for (const QLineEdit* field : FieldsOf(address)) {
        texts << field->text();
    }
    return texts.join(QLatin1Char('.'));
}

bool HasFocusInside(const QWidget* widget) {
    return widget->isAncestorOf(QApplication::focusWidget());
}

}  // namespace

class IpAddressEditTest final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typing_data();
    void typing();
    void paste_data();
    void paste();
    void pasteFromContextMenu_data();
    void pasteFromContextMenu();
    void setAndClear();
    void disabledKeepsContent();
    void oneTabStop_data();
    void oneTabStop();

private:
    // An edit before and after the address, created in this order unless reordered, in which
    // case the window moves the address into place with setTabOrder as the dialog builder does.
    void MakeWindow(bool reordered);

    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_before = nullptr;
    IpAddressEdit* m_address = nullptr;
    QLineEdit* m_after = nullptr;
};

void IpAddressEditTest::MakeWindow(bool reordered) {
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_before = new QLineEdit(m_window.get());
    if (reordered) {
        m_after = new QLineEdit(m_window.get());
        m_address = new IpAddressEdit(m_window.get());
        QWidget::setTabOrder(m_before, m_address);
        QWidget::setTabOrder(m_address, m_after);
    } else {
        m_address = new IpAddressEdit(m_window.get());
        m_after = new QLineEdit(m_window.get());
    }
    layout->addWidget(m_before);
    layout->addWidget(m_address);
    layout->addWidget(m_after);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_before->setFocus();
}

void IpAddressEditTest::init() {
    MakeWindow(false);
}

void IpAddressEditTest::cleanup() {
    m_window.reset();
}

void IpAddressEditTest::typing_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<quint32>("address");
    QTest::addColumn<QString>("shown");

    QTest::newRow("dotted address") << "192.168.1.50" << 0xC0A80132u << "192.168.1.50";
    QTest::newRow("one digit each") << "1.2.3.4" << 0x01020304u << "1.2.3.4";
    QTest::newRow("third digits move on") << "255255255255" << 0xFFFFFFFFu << "255.255.255.255";
    QTest::newRow("over 255 clamps") << "300" << 0xFF000000u << "255...";
    QTest::newRow("clamped then next field") << "3001" << 0xFF010000u << "255.1..";
    QTest::newRow("dot after a clamp is swallowed") << "999.1" << 0xFF010000u << "255.1..";
    QTest::newRow("only the first field") << "10" << 0x0A000000u << "10...";
    QTest::newRow("dot in an empty field") << "1..2" << 0x01020000u << "1.2..";
    QTest::newRow("dot in the last field") << "1.2.3.4.5" << 0x0102032Du << "1.2.3.45";
    QTest::newRow("trailing dot") << "1.2.3." << 0x01020300u << "1.2.3.";
    QTest::newRow("backspace into previous field") << "1.2\b\b3" << 0x0D000000u << "13...";
    QTest::newRow("backspace after a dot") << "12.\b\b" << 0x01000000u << "1...";
    QTest::newRow("backspace after a move") << "192\b\b" << 0x13000000u << "19...";
    QTest::newRow("left out of a field") << "1.2<<3" << 0x0D020000u << "13.2..";
    QTest::newRow("right into next field") << "1.2<<>>3" << 0x01170000u << "1.23..";
    QTest::newRow("letters refused") << "a1b" << 0x01000000u << "1...";
}

void IpAddressEditTest::typing() {
    QFETCH(QString, keys);
    QFETCH(quint32, address);
    QFETCH(QString, shown);

    QTest::keyClick(m_before, Qt::Key_Tab);
    Type(keys);

    QCOMPARE(Shown(*m_address), shown);
    QCOMPARE(m_address->Address(), address);
    QVERIFY(!m_address->IsBlank());
}

void IpAddressEditTest::paste_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");

    const auto row = [](const char* name, const char* clipboard, const char* shown) {
        QTest::newRow(name) << QString::fromLatin1(clipboard) << QString::fromLatin1(shown);
    };
    row("whole address", "192.168.1.50", "192.168.1.50");
    row("surrounding space", " 10.0.0.1\n", "10.0.0.1");
    row("over 255 clamps", "300.1.2.999", "255.1.2.255");
    row("three parts refused", "1.2.3", "...");
    row("five parts refused", "1.2.3.4.5", "...");
    row("empty part refused", "1..3.4", "...");
    row("letters refused", "a.b.c.d", "...");
    row("four digits in a part refused", "1000.1.1.1", "...");
    row("plain number into the field", "50", "50...");
    row("long number cut to the field", "12345", "123...");
}

void IpAddressEditTest::paste() {
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);

    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(m_before, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(Shown(*m_address), shown);
}

void IpAddressEditTest::pasteFromContextMenu_data() {
    QTest::addColumn<bool>("shortcutsHidden");
    QTest::newRow("label with its shortcut") << false;
    QTest::newRow("label alone") << true;
}

void IpAddressEditTest::pasteFromContextMenu() {
    QFETCH(bool, shortcutsHidden);
    const bool shortcutsHiddenBefore =
        QCoreApplication::testAttribute(Qt::AA_DontShowShortcutsInContextMenus);
    QCoreApplication::setAttribute(Qt::AA_DontShowShortcutsInContextMenus, shortcutsHidden);
    const auto restore = qScopeGuard([shortcutsHiddenBefore] {
        QCoreApplication::setAttribute(Qt::AA_DontShowShortcutsInContextMenus,
                                       shortcutsHiddenBefore);
    });
    m_address->SetAddress(0x01020304u);
    QGuiApplication::clipboard()->setText(QStringLiteral("192.168.1.50"));
    QLineEdit* third = FieldsOf(*m_address).at(2);
    QTest::mouseClick(third, Qt::LeftButton);

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(1, 1),
                            third->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(third, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    const QList<QAction*> actions = menu->actions();
    const auto pasteAction = std::find_if(
        actions.begin(), actions.end(),
        [](const QAction* action) { return action->text().startsWith(QStringLiteral("&Paste")); });
    QVERIFY(pasteAction != actions.end());
    (*pasteAction)->trigger();
    menu->close();

    QCOMPARE(Shown(*m_address), QStringLiteral("192.168.1.50"));
}

void IpAddressEditTest::setAndClear() {
    QVERIFY(m_address->IsBlank());
    QCOMPARE(m_address->Address(), 0u);

    m_address->SetAddress(0xC0A8010Au);
    QCOMPARE(Shown(*m_address), QStringLiteral("192.168.1.10"));
    QCOMPARE(m_address->Address(), 0xC0A8010Au);

    m_address->SetAddress(0u);
    QCOMPARE(Shown(*m_address), QStringLiteral("0.0.0.0"));
    QVERIFY(!m_address->IsBlank());

    m_address->Clear();
    QVERIFY(m_address->IsBlank());
    QCOMPARE(m_address->Address(), 0u);
}

void IpAddressEditTest::disabledKeepsContent() {
    m_address->SetAddress(0x0A000001u);
    m_address->setEnabled(false);
    QCOMPARE(m_address->Address(), 0x0A000001u);

    QTest::keyClick(m_before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_after);

    m_address->setEnabled(true);
    QCOMPARE(Shown(*m_address), QStringLiteral("10.0.0.1"));
}

void IpAddressEditTest::oneTabStop_data() {
    QTest::addColumn<bool>("reordered");
    QTest::newRow("created in order") << false;
    QTest::newRow("moved by setTabOrder") << true;
}

void IpAddressEditTest::oneTabStop() {
    QFETCH(bool, reordered);
    MakeWindow(reordered);

    QTest::keyClick(m_before, Qt::Key_Tab);
    QVERIFY(HasFocusInside(m_address));
    QCOMPARE(QApplication::focusWidget(), FieldsOf(*m_address).first());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_after);

    QTest::keyClick(m_after, Qt::Key_Backtab);
    QVERIFY(HasFocusInside(m_address));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), m_before);

    // From a field entered by click, not only from the first one.
    QLineEdit* third = FieldsOf(*m_address).at(2);
    QTest::mouseClick(third, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), third);
    QTest::keyClick(third, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_after);
    QTest::mouseClick(third, Qt::LeftButton);
    QTest::keyClick(third, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), m_before);
}

QTEST_MAIN(IpAddressEditTest)
#include "ip_address_edit_test.moc"
