#include "faces/qt/device_list_view.h"

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <algorithm>

#include "behaviour/accessible_names.h"
#include "behaviour/device_columns.h"
#include "faces/qt/app_message_box.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/sort_arrow_header.h"

namespace kestrelink {

DeviceListView::DeviceListView(DeviceListModel* model, QWidget* parent)
    : QTreeView(parent), m_model(model) {
    setHeader(new SortArrowHeader(this));
    setModel(model);
    setAccessibleName(FromUtf8(kDeviceListName));

    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setSortingEnabled(false);
    // Smaller than the usual small icon, so that the warning beside an address outside its
    // network leaves the address room in the column's 100 pixels.
    setIconSize(QSize(12, 12));

    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);

    QHeaderView* columns = header();
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(true);
    columns->setSortIndicatorShown(false);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < kColumnCount; ++column) {
        columns->resizeSection(column, kDeviceListColumns[static_cast<std::size_t>(column)].width);
    }

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DeviceListView::FollowSelection);
    connect(columns, &QHeaderView::sectionClicked, this,
            [this](int column) { m_model->List().OnHeaderClick(column); });

    m_heldRepaint.setSingleShot(true);
    connect(&m_heldRepaint, &QTimer::timeout, this, &DeviceListView::ReleaseRepaint);
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, &DeviceListView::PaceRepaint);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, &DeviceListView::PaceRepaint);
}

DeviceListView::~DeviceListView() = default;

void DeviceListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    // On empty space an old selection would otherwise open a page the user did not point at.
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid()) {
        emit listDoubleClicked();
    }
}

void DeviceListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    const auto going = [start, end](const QModelIndex& index) {
        return index.isValid() && index.row() >= start && index.row() <= end;
    };
    const QModelIndexList selected = selectionModel()->selectedRows();
    // Left alone, a single-selection view moves the current row to a neighbour and selects it
    // there, and Cfg IP would then configure a device the user never chose.
    if (going(currentIndex()) || std::any_of(selected.begin(), selected.end(), going)) {
        selectionModel()->clear();
    }
    QTreeView::rowsAboutToBeRemoved(parent, start, end);
}

void DeviceListView::PaceRepaint() {
    if (m_heldRepaint.isActive()) {
        return;
    }
    const auto hold = m_repaintPacer.HoldFor(RepaintPacer::Clock::now());
    if (hold.count() > 0) {
        // The pixels shown stay as they are until the release repaints the whole list.
        setUpdatesEnabled(false);
        m_heldRepaint.start(hold);
    }
}

void DeviceListView::ReleaseRepaint() {
    m_repaintPacer.Released(RepaintPacer::Clock::now());
    setUpdatesEnabled(true);
}

void DeviceListView::MarksChanged() {
    const QModelIndex top = indexAt(viewport()->rect().topLeft());
    const QModelIndex bottom = indexAt(viewport()->rect().bottomLeft());
    if (!top.isValid()) {
        m_model->MarksChanged(0, 0);
        return;
    }
    m_model->MarksChanged(top.row(), bottom.isValid() ? bottom.row() : -1);
}

void DeviceListView::FollowSelection() {
    const QModelIndexList rows = selectionModel()->selectedRows();
    m_model->List().SelectRow(rows.isEmpty() ? -1 : rows.first().row());
}

}  // namespace kestrelink
