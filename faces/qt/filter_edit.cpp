#include "faces/qt/filter_edit.h"

#include <QKeyEvent>

namespace kestrelink {

FilterEdit::FilterEdit(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("Filter"));
    setClearButtonEnabled(true);
}

FilterEdit::~FilterEdit() = default;

void FilterEdit::keyPressEvent(QKeyEvent* event) {
    QLineEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
    }
}

}  // namespace kestrelink
