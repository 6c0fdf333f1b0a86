#include "faces/qt/dialog_template.h"

#include <QFile>
#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestrelink {
namespace {

QRect RectOf(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    return {a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt()};
}

QStringList StylesOf(const QJsonValue& value) {
    QStringList styles;
    for (const QJsonValue& style : value.toArray()) {
        styles << style.toString();
    }
    return styles;
}

// Without anchors a control keeps its place from the top left corner.
Qt::Edges AnchorsOf(const QJsonValue& value) {
    static const QHash<QString, Qt::Edge> kEdges = {{QStringLiteral("left"), Qt::LeftEdge},
                                                    {QStringLiteral("top"), Qt::TopEdge},
                                                    {QStringLiteral("right"), Qt::RightEdge},
                                                    {QStringLiteral("bottom"), Qt::BottomEdge}};
    if (!value.isArray()) {
        return Qt::LeftEdge | Qt::TopEdge;
    }
    Qt::Edges anchors;
    for (const QJsonValue& edge : value.toArray()) {
        anchors |= kEdges.value(edge.toString());
    }
    return anchors;
}

// The layouts were drawn for an 8-point sans-serif dialog font; the desktop's own sans-serif
// keeps them legible where that face does not exist.
QFont DialogFont(const QJsonObject& font) {
    QFont result(font.value("family").toString());
    result.setStyleHint(QFont::SansSerif);
    result.setPointSize(font.value("points").toInt(8));
    return result;
}

// The horizontal base that Windows derives for a dialog font, which the layouts were drawn with:
// the rounded mean width of the 52 Latin letters. The font's declared average width runs narrower
// than the letters in faces such as DejaVu Sans, and labels sized by it were cut.
int MeanLetterWidth(const QFontMetrics& metrics) {
    constexpr auto kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int twiceMean = metrics.horizontalAdvance(QLatin1String(kLetters)) / 26;
    return (twiceMean + 1) / 2;
}

}  // namespace

DialogTemplate LoadDialogTemplate(int templateId) {
    QFile file(QStringLiteral(":/dialogs/%1.json").arg(templateId));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.value("id").toInt() != templateId) {
        return {};
    }
    DialogTemplate dialog;
    dialog.id = templateId;
    dialog.caption = root.value("caption").toString();
    dialog.font = DialogFont(root.value("font").toObject());
    const QJsonArray size = root.value("size").toArray();
    dialog.size = QSize(size.at(0).toInt(), size.at(1).toInt());
    dialog.resizable = root.value("resizable").toBool();
    for (const QJsonValue& value : root.value("controls").toArray()) {
        const QJsonObject control = value.toObject();
        dialog.controls.push_back({control.value("id").toInt(), control.value("kind").toString(),
                                   control.value("text").toString(), RectOf(control.value("rect")),
                                   StylesOf(control.value("styles")),
                                   AnchorsOf(control.value("anchor"))});
    }
    return dialog;
}

DialogUnits::DialogUnits(const QFontMetrics& metrics)
    : m_baseX(MeanLetterWidth(metrics)), m_baseY(metrics.height()) {}

QRect DialogUnits::ToPixels(const QRect& units) const {
    return {units.x() * m_baseX / 4, units.y() * m_baseY / 8, units.width() * m_baseX / 4,
            units.height() * m_baseY / 8};
}

QSize DialogUnits::ToPixels(const QSize& units) const {
    return {units.width() * m_baseX / 4, units.height() * m_baseY / 8};
}

}  // namespace kestrelink
