#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "ui/dialog_template.h"
#include "ui/template_controls.h"

using namespace kestrelink;

namespace {

// Where the style draws a control's text.
QRect TextRoom(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->contentsRect();
    }
    const auto& button = static_cast<const QAbstractButton&>(control);
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (qobject_cast<const QCheckBox*>(&button) != nullptr) {
        return button.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &button);
    }
    if (qobject_cast<const QRadioButton*>(&button) != nullptr) {
        return button.style()->subElementRect(QStyle::SE_RadioButtonContents, &option, &button);
    }
    if (static_cast<const QPushButton&>(button).isDefault()) {
        option.features |= QStyleOptionButton::DefaultButton;
    }
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
}

QString TextOf(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text();
    }
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    return button != nullptr ? button->text() : QString();
}

}  // namespace

class DialogTemplateTest final : public QObject {
    Q_OBJECT

private slots:
    void textsFitAndControlsStayApart_data();
    void textsFitAndControlsStayApart();
};

void DialogTemplateTest::textsFitAndControlsStayApart_data() {
    QTest::addColumn<int>("templateId");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("main window") << 102
                                 << QStringList{"Discover", "Cfg IP", "Web", "Close",
                                                "Force IE only"};
    QTest::newRow("IP configuration")
        << 129 << QStringList{"Host name", "Use DHCP", "IP Address", "IP Mask", "IP Gateway",
                              "IP DNS",    "Password", "Cancel",     "Send"};
}

void DialogTemplateTest::textsFitAndControlsStayApart() {
    QFETCH(int, templateId);
    QFETCH(QStringList, texts);
    QDialog dialog;
    BuildFromTemplate(dialog, LoadDialogTemplate(templateId),
                      [](const ControlTemplate&, QWidget* parent) { return new QWidget(parent); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QStringList seen;
    for (const QWidget* control : controls) {
        const QString text = TextOf(*control);
        if (!text.isEmpty()) {
            seen << text;
            const int needed = control->fontMetrics().horizontalAdvance(text);
            const int room = TextRoom(*control).width();
            QVERIFY2(needed <= room, qPrintable(QStringLiteral("\"%1\" needs %2 pixels, has %3")
                                                    .arg(text)
                                                    .arg(needed)
                                                    .arg(room)));
        }
        QVERIFY(dialog.rect().contains(control->geometry()));
        for (const QWidget* other : controls) {
            QVERIFY2(other == control || !other->geometry().intersects(control->geometry()),
                     qPrintable(control->objectName() + QLatin1Char(' ') + other->objectName()));
        }
    }
    QCOMPARE(seen, texts);
}

QTEST_MAIN(DialogTemplateTest)
#include "dialog_template_test.moc"
