#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "faces/qt/dialog_template.h"
#include "faces/qt/template_controls.h"

using namespace kestrelink;

namespace {

// Where the style draws a label's or button's text.
int TextRoom(const QWidget& control) {
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (button == nullptr) {
        return control.contentsRect().width();
    }
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement contents = QStyle::SE_RadioButtonContents;
    if (qobject_cast<const QCheckBox*>(button) != nullptr) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (const auto* push = qobject_cast<const QPushButton*>(button)) {
        contents = QStyle::SE_PushButtonContents;
        option.features =
            push->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
    }
    return button->style()->subElementRect(contents, &option, button).width();
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
        // Labels and buttons alike hold their caption in "text".
        const QString text = control->property("text").toString();
        if (!text.isEmpty()) {
            seen << text;
            const int needed = control->fontMetrics().horizontalAdvance(text);
            QVERIFY2(needed <= TextRoom(*control),
                     qPrintable(QStringLiteral("%1 needs %2 pixels, has %3")
                                    .arg(text)
                                    .arg(needed)
                                    .arg(TextRoom(*control))));
        }
        QVERIFY(dialog.rect().contains(control->geometry()));
        for (const QWidget* other : controls) {
            QVERIFY(other == control || !other->geometry().intersects(control->geometry()));
        }
    }
    QCOMPARE(seen, texts);
}

QTEST_MAIN(DialogTemplateTest)
#include "dialog_template_test.moc"
