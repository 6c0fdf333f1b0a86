#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "net/device_row.h"
#include "net/interfaces.h"
#include "net/release_thread.h"
#include "net/text_forms.h"

namespace kestrelink {

// The column of the last header click and the direction. sortColumn -1: never clicked;
// 6 ("arch"): clicked but not sortable, so new rows stay on top.
struct SortState {
    int sortColumn = -1;
    bool ascending = false;
};

enum class HeaderArrow { None, Up, Down };  // bitmaps 133 and 134

// Told about every change before and after it happens, so that a view can follow the list.
class DeviceListObserver {
public:
    virtual ~DeviceListObserver() = default;
    virtual void RowAboutToBeInserted(int position) = 0;
    virtual void RowInserted() = 0;
    virtual void RowAboutToBeRemoved(int position) = 0;
    virtual void RowRemoved() = 0;
    virtual void RowsAboutToBeReset() = 0;
    virtual void RowsReset() = 0;
    // Many rows at once: a sort, or a batch of arrivals.
    virtual void RowsAboutToChange() = 0;
    // newPositions[old] is where the row that stood at old stands now, or -1 when it is gone;
    // rows that no old position leads to are new.
    virtual void RowsChanged(std::span<const int> newPositions) = 0;
    virtual void SortArrowChanged() = 0;
};

// One device ready to be listed: its seven texts, the interface it was heard on, and its sort
// keys, read from the texts once rather than at each comparison of a sorted insert. Made on any
// thread, so that the one that owns the list only places it.
class PreparedRow final {
public:
    // heardOn: the interface the device was heard on; none when not known.
    explicit PreparedRow(DeviceRow cells = {}, std::optional<NetworkInterface> heardOn = {});

    const DeviceRow& Cells() const { return m_cells; }

private:
    friend class DeviceList;

    DeviceRow m_cells;
    std::optional<NetworkInterface> m_heardOn;
    unsigned long long m_ipKey = 0;
    unsigned long long m_macKey = 0;
    unsigned long long m_serialKey = 0;
    // Where the row stood when the list's current batch began; -1 when it came in since.
    int m_positionBeforeBatch = -1;
};

// The only store of discovered devices, position 0 at the top, at most one row selected.
class DeviceList final {
public:
    DeviceList() = default;
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    void SetObserver(DeviceListObserver* observer) { m_observer = observer; }

    // Puts the row where "insert at the top, then sort" would put it; with no sortable column
    // chosen it stays at the top. The selection stays on the row that had it. heardOn, kept
    // beside the row, is the interface the device was heard on; nullptr when not known.
    void InsertRow(const RowCells& cells, const NetworkInterface* heardOn = nullptr);
    // A row prepared on another thread comes already on the heap, so this one only places it.
    void InsertRow(std::unique_ptr<PreparedRow> row);
    bool HasRowWithIp(std::string_view ip) const;
    // Deletes the topmost row whose MAC cell is the text form of mac, if there is one.
    void DeleteRowByMac(const MacAddress& mac);
    // The same, given the text form.
    void DeleteRowByMacText(std::string_view macText);
    // The same for the MAC of a row about to be inserted, whose number is already read.
    void DeleteRowWithMacOf(const PreparedRow& row);
    void DeleteAllRows();
    bool HasRowWithMac(std::string_view macText) const;

    // While a segment is watched every device answers each round with what its row already shows;
    // taking that in anew would move every row to the top each round.
    void SetKeepUnchangedRows(bool keep) { m_keepUnchanged = keep; }
    // True when unchanged rows are kept and the device's row already shows row's texts and
    // interface: row then need not be taken in.
    bool ShowsUnchanged(const PreparedRow& row) const;

    // The changes made from BeginBatch to EndBatch reach the observer as one RowsChanged rather
    // than one call per row: a view told of each of thousands of rows arriving at once spends
    // more on being told than on the rows. The rows and their order are the ones the changes
    // give one at a time. Batches do not nest.
    void BeginBatch();
    void EndBatch();

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const std::string& CellText(int row, int column) const;
    // nullptr when the device was not heard on one of the probed interfaces.
    const NetworkInterface* HeardOn(int row) const;

    int SelectedRow() const;
    // -1, or a position out of range, clears the selection.
    void SelectRow(int row);

    void OnHeaderClick(int column);
    const SortState& Sort() const { return m_sort; }
    HeaderArrow ArrowOn(int column) const;

private:
    void SortRows();
    int CompareRows(const PreparedRow& first, const PreparedRow& second) const;
    // The row's sort key for the current sort column, which is IP, MAC or Serial No.
    unsigned long long NumericSortKey(const PreparedRow& row) const;
    bool SortableColumnChosen() const;
    void ShowSortArrow(int column, bool ascending);
    void RemoveAt(std::size_t position);
    void DeleteRowByMacText(std::string_view macText, unsigned long long macKey);
    // Before each change: true when the observer is to be told of it by itself. Inside a batch
    // the first change notes every row's position and tells the observer that rows will change.
    bool TellEachChange();
    // Moves the rows and their lookups out, to be freed on m_release's thread.
    void FreeAside();

    enum class Batch { None, Open, Changing };

    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const;
    };
    // How many rows show each IP text; looked up by string_view without a copy.
    using TextCounts = std::unordered_map<std::string, int, TextHash, std::equal_to<>>;
    // How many rows show a MAC text of each value, every text that does not scan counting as 0:
    // a number hashes and compares at a fraction of a text's cost and needs no copy of it. A
    // found value only says where to look: the rows' texts decide. While one row has the value,
    // it is kept beside the count, so that a watched device's answer needs no walk through the
    // list; nullptr when not known.
    struct MacCount {
        int rows = 0;
        const PreparedRow* only = nullptr;
    };
    using MacCounts = std::unordered_map<unsigned long long, MacCount>;
    template <typename Counts, typename Key>
    static void Count(Counts& counts, const Key& key, int change);
    void CountMac(const PreparedRow& row, int change);

    // A deque, so that a row arriving with no sort column costs nothing however long the list.
    std::deque<std::unique_ptr<PreparedRow>> m_rows;
    // The intake looks up an IP and a MAC for every announcement: a walk through thousands of
    // rows for each falls behind a burst of answers.
    TextCounts m_ipCounts;
    MacCounts m_macCounts;
    const PreparedRow* m_selected = nullptr;
    SortState m_sort;
    int m_arrowColumn = -1;
    bool m_arrowAscending = false;
    DeviceListObserver* m_observer = nullptr;
    bool m_keepUnchanged = false;
    Batch m_batch = Batch::None;
    std::size_t m_rowsBeforeBatch = 0;
    ReleaseThread m_release;
};

// A DeviceList batch for the length of a scope.
class DeviceListBatch final {
public:
    explicit DeviceListBatch(DeviceList& list) : m_list(list) { m_list.BeginBatch(); }
    ~DeviceListBatch() { m_list.EndBatch(); }
    DeviceListBatch(const DeviceListBatch&) = delete;
    DeviceListBatch& operator=(const DeviceListBatch&) = delete;

private:
    DeviceList& m_list;
};

}  // namespace kestrelink
