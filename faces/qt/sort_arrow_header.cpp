#include "faces/qt/sort_arrow_header.h"

#include <QPainter>
#include <QPixmap>
#include <QStyleOptionHeader>

namespace kestrelink {
namespace {

QPixmap ArrowOf(const QAbstractItemModel* model, int section, Qt::Orientation orientation) {
    return model ? model->headerData(section, orientation, Qt::DecorationRole).value<QPixmap>()
                 : QPixmap();
}

}  // namespace

SortArrowHeader::SortArrowHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

SortArrowHeader::~SortArrowHeader() = default;

void SortArrowHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->icon = QIcon();  // drawn by paintSection, right of the text
}

void SortArrowHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    const QRect target = ArrowRect(logicalIndex, rect);
    if (target.isEmpty()) {
        return;
    }
    painter->save();
    painter->setClipRect(rect.adjusted(0, 0, -1, 0));
    painter->drawPixmap(target.topLeft(), ArrowOf(model(), logicalIndex, orientation()));
    painter->restore();
}

QRect SortArrowHeader::ArrowRect(int section) const {
    const QRect sectionRect(sectionViewportPosition(section), 0, sectionSize(section), height());
    return ArrowRect(section, sectionRect);
}

QRect SortArrowHeader::ArrowRect(int section, const QRect& sectionRect) const {
    const QPixmap arrow = ArrowOf(model(), section, orientation());
    if (arrow.isNull() || isSectionHidden(section)) {
        return {};
    }
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, section);
    option.rect = sectionRect;
    const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &option, this);
    const QSize size = arrow.deviceIndependentSize().toSize();
    const int x = label.left() + option.fontMetrics.horizontalAdvance(option.text) + margin;
    const int y = sectionRect.top() + (sectionRect.height() - size.height()) / 2;
    return {QPoint(x, y), size};
}

}  // namespace kestrelink
