#include "faces/qt/filter_edit.h"

#include <QKeyEvent>

#include "behaviour/accessible_names.h"
#include "behaviour/window_texts.h"
#include "faces/qt/app_message_box.h"

namespace kestrelink {

FilterEdit::FilterEdit(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(FromUtf8(kFilterHint));
    // A screen reader takes the placeholder for a description, not for the field's name.
    setAccessibleName(FromUtf8(kFilterName));
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
