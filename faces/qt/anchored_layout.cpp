#include "faces/qt/anchored_layout.h"

#include <QWidget>
#include <utility>

namespace kestrelink {
namespace {

// One axis of a control, as drawn, after the dialog grew by growth: anchored to both sides it
// stretches, to the far side alone it moves, otherwise it stays.
std::pair<int, int> Follow(int start, int length, int growth, bool nearAnchor, bool farAnchor) {
    if (farAnchor && nearAnchor) {
        return {start, length + growth};
    }
    if (farAnchor) {
        return {start + growth, length};
    }
    return {start, length};
}

}  // namespace

AnchoredLayout::AnchoredLayout(QWidget* parent, QSize drawnSize)
    : QLayout(parent), m_drawnSize(drawnSize) {
    setContentsMargins(0, 0, 0, 0);
}

AnchoredLayout::~AnchoredLayout() = default;

void AnchoredLayout::AddAnchored(QWidget* control, Qt::Edges anchors) {
    addChildWidget(control);
    m_controls.push_back({std::make_unique<QWidgetItem>(control), control->geometry(), anchors});
    invalidate();
}

// QLayout::addWidget comes this way: such a control keeps its place from the top left corner.
void AnchoredLayout::addItem(QLayoutItem* item) {
    m_controls.push_back(
        {std::unique_ptr<QLayoutItem>(item), item->geometry(), Qt::LeftEdge | Qt::TopEdge});
}

int AnchoredLayout::count() const {
    return static_cast<int>(m_controls.size());
}

QLayoutItem* AnchoredLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? m_controls[static_cast<std::size_t>(index)].item.get()
                                         : nullptr;
}

QLayoutItem* AnchoredLayout::takeAt(int index) {
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    const auto position = m_controls.begin() + index;
    QLayoutItem* item = position->item.release();
    m_controls.erase(position);
    return item;
}

QSize AnchoredLayout::sizeHint() const {
    return m_drawnSize;
}

QSize AnchoredLayout::minimumSize() const {
    return m_drawnSize;
}

void AnchoredLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QSize growth = rect.size() - m_drawnSize;
    for (const Anchored& control : m_controls) {
        const auto [x, width] =
            Follow(control.drawn.x(), control.drawn.width(), growth.width(),
                   control.anchors & Qt::LeftEdge, control.anchors & Qt::RightEdge);
        const auto [y, height] =
            Follow(control.drawn.y(), control.drawn.height(), growth.height(),
                   control.anchors & Qt::TopEdge, control.anchors & Qt::BottomEdge);
        // The widget itself, hidden or not: a layout item skips hidden widgets, and a control
        // shown later must already be in its place.
        if (QWidget* widget = control.item->widget()) {
            widget->setGeometry(rect.x() + x, rect.y() + y, width, height);
        }
    }
}

}  // namespace kestrelink
