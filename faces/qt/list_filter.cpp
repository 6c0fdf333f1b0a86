#include "faces/qt/list_filter.h"

#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <algorithm>

#include "behaviour/device_filter.h"
#include "faces/qt/app_message_box.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"

namespace kestrelink {

ListFilter::ListFilter(DeviceListView* view, QLineEdit* field, QLabel* count)
    : QObject(view),
      m_view(view),
      m_list(static_cast<const DeviceListModel*>(view->model())->List()),
      m_count(count) {
    const QAbstractItemModel* model = view->model();
    connect(field, &QLineEdit::textChanged, this, &ListFilter::Refilter);
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                FilterRows(first, last);
                ShowCount();
            });
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { ForgetHiddenRows(first, last); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ListFilter::ShowCount);
    // Discover empties the list, and the view forgets its hidden rows with them.
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        m_hiddenRows = 0;
        ShowCount();
    });
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
    for (int row = 0; row < m_view->model()->rowCount(); ++row) {
        if (!m_view->isRowHidden(row, {})) {
            rows << row;
        }
    }
    return rows;
}

void ListFilter::Refilter(const QString& text) {
    m_text = text.toStdString();
    FilterRows(0, m_view->model()->rowCount() - 1);
    ClearHiddenSelection();
    ShowCount();
}

void ListFilter::FilterRows(int first, int last) {
    for (int row = first; row <= last; ++row) {
        const bool hide = !Matches(row);
        if (hide != m_view->isRowHidden(row, {})) {
            m_view->setRowHidden(row, {}, hide);
            m_hiddenRows += hide ? 1 : -1;
        }
    }
}

bool ListFilter::Matches(int row) const {
    return RowMatchesFilter(m_list, row, m_text);
}

void ListFilter::ForgetHiddenRows(int first, int last) {
    for (int row = first; row <= last; ++row) {
        if (m_view->isRowHidden(row, {})) {
            --m_hiddenRows;
        }
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

void ListFilter::ShowCount() {
    const int total = m_view->model()->rowCount();
    m_count->setText(FromUtf8(DeviceCountText(total - m_hiddenRows, total, !m_text.empty())));
}

}  // namespace kestrelink
