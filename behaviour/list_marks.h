#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "behaviour/watch_marks.h"
#include "net/csv.h"
#include "net/device_row.h"

namespace kestrelink {

class DeviceComparison;
class DeviceList;

// The marks the window draws on the device list: a comparison with an earlier list and what
// watching the segment has seen. The rows and their order stay the list's; these only mark them,
// and the devices of the earlier list that the list does not hold are drawn below its rows.
class ListMarks final {
public:
    ListMarks();
    ~ListMarks();
    ListMarks(const ListMarks&) = delete;
    ListMarks& operator=(const ListMarks&) = delete;

    WatchMarks& Watch() { return m_watch; }
    const WatchMarks& Watch() const { return m_watch; }

    // An earlier list, as the window exports it or the command-line program writes it in CSV.
    // Nullopt when the list is compared with it from now on; otherwise why it was refused, and
    // the comparison in force stays.
    std::optional<CsvError> Compare(std::string_view earlierList);
    void ClearComparison();
    bool Comparing() const { return m_comparison != nullptr; }
    // Discover: the comparison goes, and the watch forgets what it heard.
    void Forget();

    // Quiet before the comparison's marks, which come before the watch's New.
    RowMark MarkOf(const DeviceList& list, int row) const;
    // What the row's tooltip adds: what a changed device was, when a quiet one was last heard;
    // UTF-8, empty for none.
    std::string TipOf(const DeviceList& list, int row) const;
    // The devices of the earlier list that no row shows, in the file's order: their seven cells
    // in the list's single-byte text.
    std::vector<DeviceRow> Missing(const DeviceList& list) const;
    // What the count beside the filter adds: ", 1 new, 2 changed, 3 missing", or nothing when
    // neither a comparison nor a watch is on. missing: how many Missing gave.
    std::string CountAddition(const DeviceList& list, int missing) const;

private:
    WatchMarks m_watch;
    std::unique_ptr<DeviceComparison> m_comparison;
};

// The background a New or Changed row is drawn on; a Quiet row and a missing device are drawn in
// the system's grey text instead.
struct MarkColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};
std::optional<MarkColour> MarkBackground(RowMark mark);

// The tooltip of a device of the earlier list that no row shows.
inline constexpr std::string_view kMissingTip = "in the compared list, not heard";

}  // namespace kestrelink
