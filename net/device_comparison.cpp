#include "net/device_comparison.h"

#include <algorithm>

namespace kestrelink {

bool DiffersInWhatIsCompared(const RowCells& before, const RowCells& now) {
    return before[kColumnIp] != now[kColumnIp] ||
           before[kColumnGivenName] != now[kColumnGivenName] ||
           before[kColumnVersion] != now[kColumnVersion];
}

RowCells CellsOf(const DeviceRow& row) {
    RowCells cells;
    std::copy(row.begin(), row.end(), cells.begin());
    return cells;
}

std::string ComparisonCountText(const ComparisonCount& count) {
    return std::to_string(count.added) + " new, " + std::to_string(count.changed) + " changed, " +
           std::to_string(count.missing) + " missing";
}

// The map's keys point into the rows, which the vector no longer moves once it is built.
DeviceComparison::DeviceComparison(EarlierList earlier) : m_earlier(std::move(earlier.devices)) {
    m_positionOfMac.reserve(m_earlier.size());
    for (std::size_t i = 0; i < m_earlier.size(); ++i) {
        m_positionOfMac.emplace(m_earlier[i][kColumnMac], i);
    }
}

DeviceComparison::Mark DeviceComparison::MarkOf(const RowCells& heard) const {
    const auto found = m_positionOfMac.find(heard[kColumnMac]);
    if (found == m_positionOfMac.end()) {
        return {DeviceChange::New, nullptr};
    }
    const DeviceRow& was = m_earlier[found->second];
    return {
        DiffersInWhatIsCompared(CellsOf(was), heard) ? DeviceChange::Changed : DeviceChange::Same,
        &was};
}

DeviceComparison::Result DeviceComparison::Compare(std::span<const RowCells> heard) const {
    Result result;
    result.heard.reserve(heard.size());
    std::vector<bool> wasHeard(m_earlier.size(), false);
    for (const RowCells& device : heard) {
        const Mark mark = MarkOf(device);
        if (mark.change == DeviceChange::New) {
            ++result.count.added;
        } else {
            wasHeard[static_cast<std::size_t>(mark.was - m_earlier.data())] = true;
            result.count.changed += mark.change == DeviceChange::Changed ? 1 : 0;
        }
        result.heard.push_back(mark);
    }
    for (std::size_t i = 0; i < m_earlier.size(); ++i) {
        if (!wasHeard[i]) {
            result.missing.push_back(&m_earlier[i]);
        }
    }
    result.count.missing = static_cast<int>(result.missing.size());
    return result;
}

}  // namespace kestrelink
