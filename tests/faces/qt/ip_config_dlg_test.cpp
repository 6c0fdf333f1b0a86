#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <optional>

#include "behaviour/control_ids.h"
#include "faces/qt/ip_address_edit.h"
#include "faces/qt/ip_config_dlg.h"
#include "tests/faces/qt/support/message_box_catcher.h"

using kestrelink::CIpConfigDlg;
using kestrelink::IpAddressEdit;
using kestrelink::IpSettings;
using kestrelink::testing::CaughtMessageBox;
using kestrelink::testing::MessageBoxCatcher;

namespace {

using namespace kestrelink::ip_config;

const QString kEmptyPassword = QStringLiteral("Password is empty, continue?");

QString NameOf(int id) {
    return QStringLiteral("control%1").arg(id);
}

template <typename Control>
Control* ControlOf(const QWidget& dialog, int id) {
    return dialog.findChild<Control*>(NameOf(id));
}

// The template control that holds the keyboard focus, the address control for one of its fields.
QString FocusedControl() {
    for (QWidget* widget = QApplication::focusWidget(); widget != nullptr;
         widget = widget->parentWidget()) {
        if (widget->objectName().startsWith(QStringLiteral("control"))) {
            return widget->objectName();
        }
    }
    return {};
}

}  // namespace

class IpConfigDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutFromTemplate();
    void tabOrder();
    void centredOverOwner();
    void dhcpDisablesAddresses();
    void emptyPassword_data();
    void emptyPassword();
    void typingLimits();
    void overLongTexts_data();
    void overLongTexts();
    void partlyFilledAddress();
    void settings_data();
    void settings();
    void cancel_data();
    void cancel();

private:
    IpAddressEdit* Address(int id) const { return ControlOf<IpAddressEdit>(*m_dialog, id); }
    QLineEdit* Edit(int id) const { return ControlOf<QLineEdit>(*m_dialog, id); }
    QCheckBox* UseDhcp() const { return ControlOf<QCheckBox>(*m_dialog, kUseDhcpId); }
    void Send() const { ControlOf<QPushButton>(*m_dialog, kSendId)->click(); }
    // address, mask and gateway filled, a password given: everything Send asks for.
    void FillRequired() const;
    bool Accepted() const {
        return !m_dialog->isVisible() && m_dialog->result() == QDialog::Accepted;
    }
    bool StillOpen() const { return m_dialog->isVisible(); }

    // Answers every box, so that a box a test does not expect fails it instead of blocking it.
    std::optional<MessageBoxCatcher> m_boxes;
    std::unique_ptr<CIpConfigDlg> m_dialog;
};

void IpConfigDlgTest::init() {
    m_boxes.emplace();
    m_dialog = std::make_unique<CIpConfigDlg>();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void IpConfigDlgTest::cleanup() {
    m_dialog.reset();
    m_boxes.reset();
}

void IpConfigDlgTest::FillRequired() const {
    Address(kIpAddressId)->SetAddress(0xC0A80132u);
    Address(kSubnetMaskId)->SetAddress(0xFFFFFF00u);
    Address(kGatewayId)->SetAddress(0xC0A80101u);
    Edit(kPasswordId)->setText(QStringLiteral("secret"));
}

void IpConfigDlgTest::layoutFromTemplate() {
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("IP Configuration"));
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());

    QStringList labels;
    for (const QLabel* label : m_dialog->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        labels << label->text();
    }
    QCOMPARE(labels, QStringList({"Host name", "IP Address", "IP Mask", "IP Gateway", "IP DNS",
                                  "Password"}));
    QCOMPARE(UseDhcp()->text(), QStringLiteral("Use DHCP"));
    auto* send = ControlOf<QPushButton>(*m_dialog, kSendId);
    auto* cancel = ControlOf<QPushButton>(*m_dialog, kCancelId);
    QCOMPARE(send->text(), QStringLiteral("Send"));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QVERIFY(send->isDefault());
    QVERIFY(!cancel->isDefault());
    QCOMPARE(Edit(kPasswordId)->echoMode(), QLineEdit::Password);
    QCOMPARE(Edit(kHostNameId)->echoMode(), QLineEdit::Normal);

    // Placed by the template: top to bottom in its order, Send right of Cancel, all inside.
    const QList<QWidget*> column = {Edit(kHostNameId),     UseDhcp(),
                                    Address(kIpAddressId), Address(kSubnetMaskId),
                                    Address(kGatewayId),   Address(kDnsServerId),
                                    Edit(kPasswordId),     send};
    for (qsizetype i = 1; i < column.size(); ++i) {
        QVERIFY2(column[i - 1]->geometry().bottom() < column[i]->geometry().top(),
                 qPrintable(column[i]->objectName()));
    }
    QVERIFY(cancel->geometry().right() < send->geometry().left());
    for (const QWidget* control : column) {
        QVERIFY(m_dialog->rect().contains(control->geometry()));
    }

    // Opening state: defaults, focus on the host name.
    QCOMPARE(QApplication::focusWidget(), Edit(kHostNameId));
    QVERIFY(!UseDhcp()->isChecked());
    QVERIFY(Edit(kPasswordId)->text().isEmpty());
    for (const int id : {kIpAddressId, kSubnetMaskId, kGatewayId, kDnsServerId}) {
        QVERIFY(Address(id)->IsBlank());
        QVERIFY(Address(id)->isEnabled());
    }
}

void IpConfigDlgTest::tabOrder() {
    QStringList visited;
    for (int step = 0; step < 9; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << FocusedControl();
    }
    QStringList expected;
    for (const int id : {kUseDhcpId, kIpAddressId, kSubnetMaskId, kGatewayId, kDnsServerId,
                         kPasswordId, kCancelId, kSendId, kHostNameId}) {
        expected << NameOf(id);
    }
    QCOMPARE(visited, expected);
}

void IpConfigDlgTest::centredOverOwner() {
    QWidget owner;
    // Well inside the test platform's 800 by 600 screen, which a dialog is kept on.
    owner.setGeometry(100, 80, 600, 450);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    CIpConfigDlg dialog(&owner);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QPoint offset = dialog.geometry().center() - owner.geometry().center();
    QVERIFY2(offset.manhattanLength() <= 4,
             qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));
}

void IpConfigDlgTest::dhcpDisablesAddresses() {
    const QList<int> addressIds = {kIpAddressId, kSubnetMaskId, kGatewayId, kDnsServerId};
    for (const int id : addressIds) {
        Address(id)->SetAddress(0x0A000000u + static_cast<quint32>(id));
    }

    UseDhcp()->click();
    for (const int id : addressIds) {
        QVERIFY(!Address(id)->isEnabled());
    }
    QVERIFY(Edit(kHostNameId)->isEnabled());
    QVERIFY(Edit(kPasswordId)->isEnabled());

    UseDhcp()->click();
    for (const int id : addressIds) {
        QVERIFY(Address(id)->isEnabled());
        QCOMPARE(Address(id)->Address(), 0x0A000000u + static_cast<quint32>(id));
    }
}

void IpConfigDlgTest::emptyPassword_data() {
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Yes sends an empty password") << QMessageBox::Yes << true;
    QTest::newRow("No keeps the dialog open") << QMessageBox::No << false;
}

void IpConfigDlgTest::emptyPassword() {
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, accepted);

    FillRequired();
    Edit(kPasswordId)->clear();
    m_boxes.emplace(answer);
    Send();

    const CaughtMessageBox question{
        QCoreApplication::applicationName(), kEmptyPassword,  QMessageBox::Question,
        QMessageBox::Yes | QMessageBox::No,  QMessageBox::No, m_dialog.get()};
    QCOMPARE(m_boxes->Caught(), QList{question});
    QCOMPARE(Accepted(), accepted);
    if (accepted) {
        QCOMPARE(m_dialog->Settings().password, std::string());
    }
}

void IpConfigDlgTest::typingLimits() {
    QLineEdit* password = Edit(kPasswordId);
    password->setFocus();
    QTest::keyClicks(password, QStringLiteral("abcdefghijklmnopqrst"));
    QCOMPARE(password->text(), QStringLiteral("abcdefghijklmno"));

    const QString name31(31, QLatin1Char('n'));
    m_dialog->SetHostName(name31);
    QLineEdit* hostName = Edit(kHostNameId);
    hostName->setFocus();
    hostName->end(false);
    QTest::keyClicks(hostName, QStringLiteral("xy"));
    QCOMPARE(hostName->text(), name31);
}

void IpConfigDlgTest::overLongTexts_data() {
    QTest::addColumn<int>("hostNameLength");
    QTest::addColumn<int>("passwordLength");
    QTest::addColumn<int>("focusedId");
    QTest::newRow("host name of 40") << 40 << 6 << kHostNameId;
    QTest::newRow("password of 16") << 3 << 16 << kPasswordId;
}

// Which texts are refused, and in what order, is the form's; here, that the refused text is shown
// whole, focused and selected.
void IpConfigDlgTest::overLongTexts() {
    QFETCH(int, hostNameLength);
    QFETCH(int, passwordLength);
    QFETCH(int, focusedId);

    FillRequired();
    const QString hostName(hostNameLength, QLatin1Char('h'));
    m_dialog->SetHostName(hostName);
    QCOMPARE(Edit(kHostNameId)->text(), hostName);
    // Text that never went through typing: the program raising the limit and setting it.
    const QString password(passwordLength, QLatin1Char('p'));
    Edit(kPasswordId)->setMaxLength(qMax(passwordLength, Edit(kPasswordId)->maxLength()));
    Edit(kPasswordId)->setText(password);

    ControlOf<QPushButton>(*m_dialog, kSendId)->setFocus();
    Send();

    QVERIFY(!m_boxes->Caught().isEmpty());
    QVERIFY(StillOpen());
    QLineEdit* focused = Edit(focusedId);
    // The window's focus: the box that just closed has taken the activation with it.
    QCOMPARE(m_dialog->focusWidget(), focused);
    QCOMPARE(focused->selectedText(), focused->text());
    QCOMPARE(Edit(kHostNameId)->text(), hostName);
    QCOMPARE(Edit(kPasswordId)->text(), password);
}

void IpConfigDlgTest::partlyFilledAddress() {
    FillRequired();
    Address(kIpAddressId)->Clear();
    Address(kIpAddressId)->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10"));
    QVERIFY(!Address(kIpAddressId)->IsBlank());

    Send();

    QVERIFY(Accepted());
    QCOMPARE(m_dialog->Settings().ipAddress, 0x0A000000u);
}

void IpConfigDlgTest::settings_data() {
    QTest::addColumn<quint32>("dnsServer");
    QTest::addColumn<bool>("useDhcp");
    QTest::addColumn<QString>("hostName");
    QTest::addColumn<bool>("byEnterKey");
    QTest::addColumn<std::string>("expectedHostName");

    const auto row = [](const char* name, quint32 dnsServer, bool useDhcp, bool byEnterKey,
                        const QString& hostName = QStringLiteral("cam-01"),
                        const std::string& sent = "cam-01") {
        QTest::newRow(name) << dnsServer << useDhcp << hostName << byEnterKey << sent;
    };
    row("static", 0xC0A80102u, false, false);
    row("static, DNS blank", 0u, false, false);
    row("DHCP, addresses still read", 0xC0A80102u, true, false);
    row("Enter key sends", 0xC0A80102u, false, true);
    row("single-byte host name", 0xC0A80102u, false, false, QString::fromUtf8("Süd"),
        std::string{'S', '\xFC', 'd'});
}

void IpConfigDlgTest::settings() {
    QFETCH(quint32, dnsServer);
    QFETCH(bool, useDhcp);
    QFETCH(QString, hostName);
    QFETCH(bool, byEnterKey);
    QFETCH(std::string, expectedHostName);

    m_dialog->SetHostName(hostName);
    FillRequired();
    if (dnsServer != 0) {
        Address(kDnsServerId)->SetAddress(dnsServer);
    }
    if (useDhcp) {
        UseDhcp()->click();
    }
    if (byEnterKey) {
        QTest::keyClick(Edit(kHostNameId), Qt::Key_Return);
    } else {
        Send();
    }

    QVERIFY(Accepted());
    const IpSettings settings = m_dialog->Settings();
    QCOMPARE(settings.ipAddress, 0xC0A80132u);
    QCOMPARE(settings.subnetMask, 0xFFFFFF00u);
    QCOMPARE(settings.gateway, 0xC0A80101u);
    QCOMPARE(settings.dnsServer, dnsServer);
    QCOMPARE(settings.useDhcp, useDhcp);
    QCOMPARE(settings.password, std::string("secret"));
    QCOMPARE(settings.hostName, expectedHostName);
}

void IpConfigDlgTest::cancel_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("Escape key") << 0;
    QTest::newRow("Cancel button") << 1;
    QTest::newRow("close box") << 2;
}

void IpConfigDlgTest::cancel() {
    QFETCH(int, way);

    QSignalSpy finished(m_dialog.get(), &QDialog::finished);
    switch (way) {
        case 0:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            break;
        case 1:
            ControlOf<QPushButton>(*m_dialog, kCancelId)->click();
            break;
        default:
            m_dialog->close();
            break;
    }

    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Rejected));
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_boxes->Texts(), QStringList());
}

QTEST_MAIN(IpConfigDlgTest)
#include "ip_config_dlg_test.moc"
