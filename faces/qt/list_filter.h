#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;

#include "behaviour/device_filter.h"
#include "behaviour/empty_round.h"

namespace kestrelink {

class DeviceList;
class DeviceListModel;
class DeviceListView;

// Hides the rows of the device list's view whose cells do not contain the filter's text, any
// column, any case (the behaviour's RowFilter), and shows the count beside it. Only the view
// changes: the device list keeps every row, its order and its sort, so the intake's rules go on
// seeing hidden rows, and a row hidden here keeps its position there, which is what Cfg IP and Web
// read. A selection that becomes hidden is cleared, so that no action falls on a device the user
// cannot see.
class ListFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListFilter)

public:
    ListFilter(DeviceListView* view, QLineEdit* field, QLabel* count);
    ~ListFilter() override;

    // Positions in the device list of the rows shown, top to bottom; the devices of a compared
    // list drawn below them are none of its rows.
    QList<int> ShownRows() const;
    // What the count shows while the list stays empty after a round; nothing once a new one began.
    void SetEmptyRound(std::optional<CountLabel> label);

private:
    void Refilter(const QString& text);
    void FilterRows(int first, int last);
    void FilterRows(const QList<int>& rows);
    void FilterRow(int row);
    void ClearHiddenSelection();
    void ShowCount();
    // Rows come in by the thousand; the count, whose every change lays out its text anew, is
    // shown once the event loop comes round.
    void ShowCountSoon();

    DeviceListView* m_view;
    const DeviceListModel& m_model;
    const DeviceList& m_list;
    QLabel* m_count;
    RowFilter m_filter;
    std::optional<CountLabel> m_emptyRound;
    bool m_countDue = false;
};

}  // namespace kestrelink
