#pragma once

#include <QLineEdit>

namespace kestrelink {

// The text field of the list's filter. Enter stays in the field: passed on, it would press the
// window's default button, Close, in the middle of a search.
class FilterEdit final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FilterEdit)

public:
    explicit FilterEdit(QWidget* parent = nullptr);
    ~FilterEdit() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kestrelink
