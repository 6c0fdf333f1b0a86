#pragma once

#include <QHash>
#include <functional>

class QDialog;
class QWidget;

namespace kestrelink {

struct ControlTemplate;
struct DialogTemplate;

// Creates a control of a kind that the builder does not know (a list, an address field...);
// nullptr leaves it out.
using ControlFactory = std::function<QWidget*(const ControlTemplate& control, QWidget* parent)>;

// Gives dialog the layout's caption, font and size, fixed or, for a resizable layout, the smallest
// it takes, and creates its controls: buttons, check boxes and labels itself, every other kind
// through makeControl. Each control is placed by the dialog units of the layout's font, follows
// its anchors as a resizable dialog grows, and is chained into the tab order of the layout.
// Returns the controls by id; those without one (id -1, labels) are only in the dialog.
QHash<int, QWidget*> BuildFromTemplate(QDialog& dialog, const DialogTemplate& layout,
                                       const ControlFactory& makeControl);

}  // namespace kestrelink
