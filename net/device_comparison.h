#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "net/device_row.h"
#include "net/earlier_list.h"

namespace kestrelink {

enum class DeviceChange {
    Same,     // its MAC is in the earlier list, with the same address, given name and version
    New,      // its MAC is not in the earlier list
    Changed,  // its address, given name or version differs from the earlier list's
    Missing,  // in the earlier list, not heard
};

// The texts by which a device counts as changed: its address, given name and version.
bool DiffersInWhatIsCompared(const RowCells& before, const RowCells& now);

// Views of the row's texts, which must outlive them.
RowCells CellsOf(const DeviceRow& row);
RowCells CellsOf(DeviceRow&&) = delete;

// How many of each difference a comparison found.
struct ComparisonCount {
    int added = 0;
    int changed = 0;
    int missing = 0;

    bool Any() const { return added + changed + missing > 0; }
};

// "N new, N changed, N missing"
std::string ComparisonCountText(const ComparisonCount& count);

// The devices heard now, set against an earlier list, by MAC text. The earlier rows are kept
// here: every pointer a comparison hands out lives as long as the comparison.
class DeviceComparison final {
public:
    explicit DeviceComparison(EarlierList earlier);
    DeviceComparison(const DeviceComparison&) = delete;
    DeviceComparison& operator=(const DeviceComparison&) = delete;

    // One device heard now. was is its row in the earlier list: nullptr for New.
    struct Mark {
        DeviceChange change = DeviceChange::New;
        const DeviceRow* was = nullptr;
    };
    Mark MarkOf(const RowCells& heard) const;

    struct Result {
        std::vector<Mark> heard;  // one for each device given, in the order given
        // The earlier devices whose MAC none of the devices given has, in the earlier list's
        // order.
        std::vector<const DeviceRow*> missing;
        ComparisonCount count;
    };
    // heard holds each MAC once, as a list does.
    Result Compare(std::span<const RowCells> heard) const;

    const std::vector<DeviceRow>& Earlier() const { return m_earlier; }

private:
    std::vector<DeviceRow> m_earlier;
    std::unordered_map<std::string_view, std::size_t> m_positionOfMac;
};

}  // namespace kestrelink
