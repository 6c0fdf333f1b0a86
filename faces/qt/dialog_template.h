#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

class QFontMetrics;

namespace kestrelink {

// One control of a dialog layout kept as data in res/dialogs/<id>.json. Rectangles are in dialog
// units, as the layouts were designed.
struct ControlTemplate {
    int id = 0;
    QString kind;  // listview, button, checkbox, label, edit, ipaddress
    QString text;
    QRect rect;
    QStringList styles;  // only those read: WS_TABSTOP, BS_DEFPUSHBUTTON, ES_PASSWORD
    // The dialog edges whose distance the control keeps when a resizable dialog grows.
    Qt::Edges anchors = Qt::LeftEdge | Qt::TopEdge;

    bool HasStyle(const QString& style) const { return styles.contains(style); }
};

struct DialogTemplate {
    int id = 0;
    QString caption;
    QFont font;
    QSize size;  // dialog units
    // The size is then the smallest the dialog takes, and it can be made larger.
    bool resizable = false;
    std::vector<ControlTemplate> controls;  // tab order
};

// Reads :/dialogs/<id>.json; an empty template (id 0) when it is missing or malformed.
DialogTemplate LoadDialogTemplate(int templateId);

// Dialog units to pixels with the font's base units: x by the mean letter width / 4, y by the
// character height / 8.
class DialogUnits final {
public:
    explicit DialogUnits(const QFontMetrics& metrics);
    QRect ToPixels(const QRect& units) const;
    QSize ToPixels(const QSize& units) const;

private:
    int m_baseX;
    int m_baseY;
};

}  // namespace kestrelink
