#include "behaviour/list_marks.h"

#include "net/device_comparison.h"
#include "net/device_list.h"
#include "net/earlier_list.h"
#include "net/latin1_text.h"

namespace kestrelink {
namespace {

RowCells CellsOfRow(const DeviceList& list, int row) {
    RowCells cells;
    for (int column = 0; column < kColumnCount; ++column) {
        cells[static_cast<std::size_t>(column)] = list.CellText(row, column);
    }
    return cells;
}

std::string WasText(const DeviceRow& was) {
    return "was " + Latin1ToUtf8(was[kColumnIp]) + ", name \"" +
           Latin1ToUtf8(was[kColumnGivenName]) + "\", version " + Latin1ToUtf8(was[kColumnVersion]);
}

}  // namespace

ListMarks::ListMarks() = default;
ListMarks::~ListMarks() = default;

std::optional<CsvError> ListMarks::Compare(std::string_view earlierList) {
    EarlierListReading reading = ReadEarlierList(earlierList);
    if (reading.error) {
        return reading.error;
    }
    m_comparison = std::make_unique<DeviceComparison>(std::move(reading.list));
    return std::nullopt;
}

void ListMarks::ClearComparison() {
    m_comparison.reset();
}

void ListMarks::Forget() {
    m_comparison.reset();
    m_watch.Forget();
}

RowMark ListMarks::MarkOf(const DeviceList& list, int row) const {
    const RowMark watched = m_watch.MarkOf(list.CellText(row, kColumnMac));
    if (watched == RowMark::Quiet || m_comparison == nullptr) {
        return watched;
    }
    switch (m_comparison->MarkOf(CellsOfRow(list, row)).change) {
        case DeviceChange::New:
            return RowMark::New;
        case DeviceChange::Changed:
            return RowMark::Changed;
        default:
            return watched;
    }
}

std::string ListMarks::TipOf(const DeviceList& list, int row) const {
    std::string tip;
    if (m_comparison != nullptr) {
        const DeviceComparison::Mark mark = m_comparison->MarkOf(CellsOfRow(list, row));
        if (mark.change == DeviceChange::Changed) {
            tip = WasText(*mark.was);
        }
    }
    const std::string& mac = list.CellText(row, kColumnMac);
    if (m_watch.MarkOf(mac) == RowMark::Quiet) {
        tip += (tip.empty() ? "" : "\n") + NotHeardSinceText(m_watch.LastHeard(mac));
    }
    return tip;
}

std::vector<DeviceRow> ListMarks::Missing(const DeviceList& list) const {
    std::vector<DeviceRow> missing;
    if (m_comparison == nullptr) {
        return missing;
    }
    for (const DeviceRow& earlier : m_comparison->Earlier()) {
        if (!list.HasRowWithMac(earlier[kColumnMac])) {
            missing.push_back(earlier);
        }
    }
    return missing;
}

std::string ListMarks::CountAddition(const DeviceList& list, int missing) const {
    if (m_comparison == nullptr && !m_watch.Watching()) {
        return {};
    }
    ComparisonCount count;
    count.missing = missing;
    for (int row = 0; row < list.RowCount(); ++row) {
        switch (MarkOf(list, row)) {
            case RowMark::New:
                ++count.added;
                break;
            case RowMark::Changed:
                ++count.changed;
                break;
            case RowMark::Quiet:
                ++count.missing;
                break;
            case RowMark::None:
                break;
        }
    }
    return ", " + ComparisonCountText(count);
}

std::optional<MarkColour> MarkBackground(RowMark mark) {
    switch (mark) {
        case RowMark::New:
            return MarkColour{0xd8, 0xf0, 0xd8};
        case RowMark::Changed:
            return MarkColour{0xfa, 0xec, 0xb8};
        default:
            return std::nullopt;
    }
}

}  // namespace kestrelink
