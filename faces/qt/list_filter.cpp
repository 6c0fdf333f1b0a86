#include "faces/qt/list_filter.h"

#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QShortcut>
#include <algorithm>

#include "behaviour/list_marks.h"
#include "faces/qt/app_message_box.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"

namespace kestrelink {

ListFilter::ListFilter(DeviceListView* view, QLineEdit* field, QLabel* count)
    : QObject(view),
      m_view(view),
      m_model(*static_cast<const DeviceListModel*>(view->model())),
      m_list(m_model.List()),
      m_count(count) {
    const auto* model = static_cast<const DeviceListModel*>(view->model());
    connect(field, &QLineEdit::textChanged, this, &ListFilter::Refilter);
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                FilterRows(first, last);
                ShowCountSoon();
            });
    // A batch of arrivals comes in as one change of the layout; hidden rows keep their state.
    connect(model, &QAbstractItemModel::layoutChanged, this, [this, model] {
        FilterRows(model->RowsAddedByLastChange());
        ShowCountSoon();
    });
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ListFilter::ShowCount);
    // The marks changed: the count of new, changed and missing devices with them.
    connect(model, &DeviceListModel::marksChanged, this, &ListFilter::ShowCountSoon);
    connect(model, &QAbstractItemModel::modelReset, this, &ListFilter::ShowCount);
    auto* find = new QShortcut(QKeySequence::Find, field->window());
    connect(find, &QShortcut::activated, field, [field] {
        field->setFocus(Qt::ShortcutFocusReason);
        field->selectAll();
    });
    ShowCount();
}

ListFilter::~ListFilter() = default;

QList<int> ListFilter::ShownRows() const {
    QList<int> rows;
    for (int row = 0; row < m_list.RowCount(); ++row) {
        if (!m_view->isRowHidden(row, {})) {
            rows << row;
        }
    }
    return rows;
}

void ListFilter::Refilter(const QString& text) {
    m_filter = RowFilter(text.toStdString());
    FilterRows(0, m_view->model()->rowCount() - 1);
    ClearHiddenSelection();
    ShowCount();
}

void ListFilter::FilterRows(int first, int last) {
    for (int row = first; row <= last; ++row) {
        FilterRow(row);
    }
}

void ListFilter::FilterRows(const QList<int>& rows) {
    for (const int row : rows) {
        FilterRow(row);
    }
}

void ListFilter::FilterRow(int row) {
    const int listed = m_list.RowCount();
    const bool hide = row < listed ? !m_filter.Matches(m_list, row)
                                   : !m_filter.Matches(m_model.MissingRow(row - listed));
    if (hide != m_view->isRowHidden(row, {})) {
        m_view->setRowHidden(row, {}, hide);
    }
}

void ListFilter::ClearHiddenSelection() {
    const QItemSelectionModel* selection = m_view->selectionModel();
    const QModelIndexList selected = selection->selectedRows();
    const QModelIndex current = selection->currentIndex();
    const bool hidden =
        (current.isValid() && m_view->isRowHidden(current.row(), {})) ||
        std::any_of(selected.begin(), selected.end(), [this](const QModelIndex& index) {
            return m_view->isRowHidden(index.row(), {});
        });
    if (hidden) {
        m_view->selectionModel()->clear();
    }
}

void ListFilter::ShowCountSoon() {
    if (!m_countDue) {
        m_countDue = true;
        QMetaObject::invokeMethod(this, &ListFilter::ShowCount, Qt::QueuedConnection);
    }
}

void ListFilter::ShowCount() {
    m_countDue = false;
    const int total = m_list.RowCount();
    // Without a filter nothing is hidden, and a burst of rows costs no count of them.
    const int shown = m_filter.Empty() ? total : static_cast<int>(ShownRows().size());
    CountLabel label = DeviceCountLabel(shown, total, !m_filter.Empty(), m_emptyRound);
    if (const ListMarks* marks = m_model.Marks()) {
        label.text += marks->CountAddition(m_list, m_model.MissingCount());
    }
    m_count->setText(FromUtf8(label.text));
    m_count->setToolTip(FromUtf8(label.tooltip));
}

void ListFilter::SetEmptyRound(std::optional<CountLabel> label) {
    m_emptyRound = std::move(label);
    ShowCount();
}

}  // namespace kestrelink
