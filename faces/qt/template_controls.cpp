#include "faces/qt/template_controls.h"

#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "faces/qt/anchored_layout.h"
#include "faces/qt/dialog_template.h"

namespace kestrelink {
namespace {

constexpr int kUnnamedControl = -1;

QWidget* MakeStandardControl(const ControlTemplate& control, QWidget* parent) {
    if (control.kind == QLatin1String("button")) {
        auto* button = new QPushButton(control.text, parent);
        button->setDefault(control.HasStyle(QStringLiteral("BS_DEFPUSHBUTTON")));
        return button;
    }
    if (control.kind == QLatin1String("checkbox")) {
        return new QCheckBox(control.text, parent);
    }
    if (control.kind == QLatin1String("label")) {
        return new QLabel(control.text, parent);
    }
    return nullptr;
}

}  // namespace

QHash<int, QWidget*> BuildFromTemplate(QDialog& dialog, const DialogTemplate& layout,
                                       const ControlFactory& makeControl) {
    dialog.setWindowTitle(layout.caption);
    dialog.setFont(layout.font);
    const DialogUnits units{QFontMetrics(layout.font)};
    const QSize size = units.ToPixels(layout.size);
    AnchoredLayout* anchors = nullptr;
    if (layout.resizable) {
        dialog.setMinimumSize(size);
        dialog.resize(size);
        anchors = new AnchoredLayout(&dialog, size);
    } else {
        dialog.setFixedSize(size);
    }

    QHash<int, QWidget*> controls;
    QWidget* previous = nullptr;
    for (const ControlTemplate& control : layout.controls) {
        QWidget* widget = MakeStandardControl(control, &dialog);
        if (widget == nullptr) {
            widget = makeControl(control, &dialog);
        }
        if (widget == nullptr) {
            continue;
        }
        widget->setObjectName(QStringLiteral("control%1").arg(control.id));
        widget->setGeometry(units.ToPixels(control.rect));
        if (anchors != nullptr) {
            anchors->AddAnchored(widget, control.anchors);
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (!control.HasStyle(QStringLiteral("WS_TABSTOP"))) {
                widget->setFocusPolicy(Qt::ClickFocus);
            }
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, widget);
            }
            previous = widget;
        }
        if (control.id != kUnnamedControl) {
            controls.insert(control.id, widget);
        }
    }
    return controls;
}

}  // namespace kestrelink
