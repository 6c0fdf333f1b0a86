#include "net/device_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "net/row_comparators.h"

namespace kestrelink {
namespace {

// The given-name cell carries each test row's identity, so that rows with equal sort keys can
// still be told apart.
DeviceRow Row(std::string ip, std::string mac, std::string id, std::string product = "",
              std::string serial = "0") {
    return {std::move(ip), std::move(mac),    std::move(product),      std::move(id),
            "1.0",         std::move(serial), std::string(kArchText08)};
}

void Insert(DeviceList& list, const DeviceRow& row) {
    RowCells cells;
    std::copy(row.begin(), row.end(), cells.begin());
    list.InsertRow(cells);
}

std::vector<std::string> Column(const DeviceList& list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.RowCount(); ++row) {
        texts.push_back(list.CellText(row, column));
    }
    return texts;
}

std::vector<std::string> Ids(const DeviceList& list) {
    return Column(list, kColumnGivenName);
}

int PositionOf(const DeviceList& list, const std::string& id) {
    const auto ids = Ids(list);
    const auto found = std::find(ids.begin(), ids.end(), id);
    return found == ids.end() ? -1 : static_cast<int>(found - ids.begin());
}

void ExpectArrowsOnlyOn(const DeviceList& list, int column, HeaderArrow arrow) {
    for (int c = 0; c < kColumnCount; ++c) {
        EXPECT_EQ(list.ArrowOn(c), c == column ? arrow : HeaderArrow::None) << "column " << c;
    }
}

TEST(DeviceListTest, CellsKeepTheirTexts) {
    DeviceList list;
    const DeviceRow row{
        std::string(128, '1'), "00:1a:2b:3c:4d:5e",     "Gateway Pro", "Roof", "4.0.1",
        "4294967295",          std::string(kArchText32)};
    Insert(list, row);
    ASSERT_EQ(list.RowCount(), 1);
    for (int column = 0; column < kColumnCount; ++column) {
        EXPECT_EQ(list.CellText(0, column), row[static_cast<std::size_t>(column)]);
    }
}

// Rows whose IP and MAC orders differ, inserted a, b, c: unsorted they read c, b, a.
class HeaderClickTest : public ::testing::Test {
protected:
    void SetUp() override {
        Insert(list, Row("10.0.0.2", "00:00:00:00:00:03", "a"));
        Insert(list, Row("10.0.0.10", "00:00:00:00:00:01", "b"));
        Insert(list, Row("9.0.0.1", "00:00:00:00:00:02", "c"));
    }
    DeviceList list;
};

struct ClickStep {
    const char* name;
    int column;
    int sortColumn;
    bool ascending;
    int arrowColumn;
    HeaderArrow arrow;
    std::vector<std::string> order;
};

TEST_F(HeaderClickTest, StateArrowsAndOrderAfterEachClick) {
    const std::vector<std::string> ipUp{"c", "a", "b"};
    const std::vector<std::string> ipDown{"b", "a", "c"};
    const std::vector<std::string> macUp{"b", "c", "a"};
    const std::vector<std::string> macDown{"a", "c", "b"};
    const std::vector<ClickStep> steps{
        {"first click on IP sorts ascending", 0, 0, true, 0, HeaderArrow::Up, ipUp},
        {"second click on IP reverses", 0, 0, false, 0, HeaderArrow::Down, ipDown},
        {"third click on IP ascending again", 0, 0, true, 0, HeaderArrow::Up, ipUp},
        {"fourth click on IP", 0, 0, false, 0, HeaderArrow::Down, ipDown},
        {"other column starts ascending", 1, 1, true, 1, HeaderArrow::Up, macUp},
        {"arch: no sort, arrow stays", 6, 6, false, 1, HeaderArrow::Up, macUp},
        {"arch again: nothing changes", 6, 6, false, 1, HeaderArrow::Up, macUp},
        {"previous column after arch starts ascending", 1, 1, true, 1, HeaderArrow::Up, macUp},
        {"and reverses on the next click", 1, 1, false, 1, HeaderArrow::Down, macDown},
        {"arch after descending", 6, 6, false, 1, HeaderArrow::Down, macDown},
        {"IP after arch", 0, 0, true, 0, HeaderArrow::Up, ipUp},
    };
    for (const ClickStep& step : steps) {
        SCOPED_TRACE(step.name);
        list.OnHeaderClick(step.column);
        EXPECT_EQ(list.Sort().sortColumn, step.sortColumn);
        EXPECT_EQ(list.Sort().ascending, step.ascending);
        ExpectArrowsOnlyOn(list, step.arrowColumn, step.arrow);
        EXPECT_EQ(Ids(list), step.order);
    }
}

TEST_F(HeaderClickTest, AfterArchNewRowsStayOnTopUntilTheNextClick) {
    list.OnHeaderClick(kColumnIp);
    list.OnHeaderClick(kColumnArch);
    Insert(list, Row("1.1.1.1", "00:00:00:00:00:04", "d"));
    Insert(list, Row("200.1.1.1", "00:00:00:00:00:05", "e"));
    EXPECT_EQ(Ids(list), (std::vector<std::string>{"e", "d", "c", "a", "b"}));
    ExpectArrowsOnlyOn(list, kColumnIp, HeaderArrow::Up);

    list.OnHeaderClick(kColumnIp);
    EXPECT_TRUE(list.Sort().ascending);
    EXPECT_EQ(Ids(list), (std::vector<std::string>{"d", "c", "a", "b", "e"}));
}

TEST(HasRowWithIpTest, WholeTextOnly) {
    DeviceList list;
    EXPECT_FALSE(list.HasRowWithIp("10.0.0.1"));
    EXPECT_FALSE(list.HasRowWithIp(""));
    Insert(list, Row("10.0.0.10", "00:00:00:00:00:01", "a"));
    Insert(list, Row("192.168.1.1", "00:00:00:00:00:02", "b"));
    EXPECT_FALSE(list.HasRowWithIp("10.0.0.1"));
    EXPECT_FALSE(list.HasRowWithIp("10.0.0.100"));
    EXPECT_FALSE(list.HasRowWithIp("0.0.0.10"));
    EXPECT_FALSE(list.HasRowWithIp(""));
    EXPECT_TRUE(list.HasRowWithIp("10.0.0.10"));
    EXPECT_TRUE(list.HasRowWithIp("192.168.1.1"));
}

TEST(DeleteRowByMacTest, NoMatchDeletesNothingAndStillSucceeds) {
    DeviceList list;
    EXPECT_TRUE(list.DeleteRowByMac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    // The cell must equal the lower-case text exactly.
    Insert(list, Row("10.0.0.1", "00:1A:2B:3C:4D:5E", "upper-case cell"));
    Insert(list, Row("10.0.0.2", "00:1a:2b:3c:4d:5f", "neighbour"));
    EXPECT_TRUE(list.DeleteRowByMac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(list.RowCount(), 2);
}

TEST(SelectionTest, FollowsItsRowThroughInsertsSortsAndDeletes) {
    DeviceList list;
    Insert(list, Row("10.0.0.5", "00:00:00:00:00:05", "chosen"));
    EXPECT_EQ(list.SelectedRow(), -1);  // inserting selects nothing
    list.SelectRow(0);
    Insert(list, Row("10.0.0.9", "00:00:00:00:00:09", "b"));
    EXPECT_EQ(list.SelectedRow(), 1);

    list.OnHeaderClick(kColumnIp);
    EXPECT_EQ(list.SelectedRow(), 0);
    Insert(list, Row("10.0.0.1", "00:00:00:00:00:01", "c"));
    EXPECT_EQ(list.SelectedRow(), 1);
    list.OnHeaderClick(kColumnIp);
    EXPECT_EQ(list.SelectedRow(), 1);
    list.OnHeaderClick(kColumnMac);
    EXPECT_EQ(list.SelectedRow(), PositionOf(list, "chosen"));

    list.DeleteRowByMac({0, 0, 0, 0, 0, 0x01});
    EXPECT_EQ(list.SelectedRow(), PositionOf(list, "chosen"));
    EXPECT_EQ(list.CellText(list.SelectedRow(), kColumnGivenName), "chosen");

    list.DeleteRowByMac({0, 0, 0, 0, 0, 0x05});
    EXPECT_EQ(list.SelectedRow(), -1);
    Insert(list, Row("10.0.0.5", "00:00:00:00:00:05", "chosen"));
    EXPECT_EQ(list.SelectedRow(), -1);  // a new row with the same texts is not the old one
}

// Follows the list through its notifications alone, as a view would, and checks at every step
// that each notification comes at the right moment with the right position.
class MirrorObserver final : public DeviceListObserver {
public:
    explicit MirrorObserver(const DeviceList& list) : m_list(list) {}

    void RowAboutToBeInserted(int position) override {
        ASSERT_FALSE(m_pending);
        EXPECT_EQ(m_list.RowCount(), static_cast<int>(ids.size()));
        ASSERT_GE(position, 0);
        ASSERT_LE(position, static_cast<int>(ids.size()));
        m_pending = position;
    }
    void RowInserted() override {
        ASSERT_TRUE(m_pending);
        ASSERT_EQ(m_list.RowCount(), static_cast<int>(ids.size()) + 1);
        ids.insert(ids.begin() + *m_pending, m_list.CellText(*m_pending, kColumnGivenName));
        m_pending.reset();
    }
    void RowAboutToBeRemoved(int position) override {
        ASSERT_FALSE(m_pending);
        ASSERT_GE(position, 0);
        ASSERT_LT(position, static_cast<int>(ids.size()));
        EXPECT_EQ(m_list.CellText(position, kColumnGivenName),
                  ids[static_cast<std::size_t>(position)]);
        m_pending = position;
    }
    void RowRemoved() override {
        ASSERT_TRUE(m_pending);
        ids.erase(ids.begin() + *m_pending);
        m_pending.reset();
        EXPECT_EQ(m_list.RowCount(), static_cast<int>(ids.size()));
    }
    void RowsAboutToBeReset() override { ++resets; }
    void RowsReset() override {
        ids.clear();
        EXPECT_EQ(m_list.RowCount(), 0);
    }
    void RowsAboutToBeReordered() override {
        ASSERT_FALSE(m_reordering);
        m_reordering = true;
    }
    void RowsReordered(std::span<const int> newPositions) override {
        ASSERT_TRUE(m_reordering);
        m_reordering = false;
        ASSERT_EQ(newPositions.size(), ids.size());
        std::vector<std::string> reordered(ids.size());
        std::vector<bool> taken(ids.size(), false);
        for (std::size_t old = 0; old < ids.size(); ++old) {
            const int position = newPositions[old];
            ASSERT_GE(position, 0);
            ASSERT_LT(position, static_cast<int>(ids.size()));
            ASSERT_FALSE(taken[static_cast<std::size_t>(position)]) << "not a permutation";
            taken[static_cast<std::size_t>(position)] = true;
            reordered[static_cast<std::size_t>(position)] = ids[old];
        }
        ids = std::move(reordered);
        ++reorders;
    }
    void SortArrowChanged() override { ++arrowChanges; }

    std::vector<std::string> ids;
    int resets = 0;
    int reorders = 0;
    int arrowChanges = 0;

private:
    const DeviceList& m_list;
    std::optional<int> m_pending;
    bool m_reordering = false;
};

TEST(ObserverTest, NotificationsFollowEachOperation) {
    DeviceList list;
    MirrorObserver mirror(list);
    list.SetObserver(&mirror);

    Insert(list, Row("10.0.0.2", "00:00:00:00:00:02", "a"));
    Insert(list, Row("10.0.0.3", "00:00:00:00:00:03", "b"));
    Insert(list, Row("10.0.0.1", "00:00:00:00:00:01", "c"));
    EXPECT_EQ(mirror.ids, Ids(list));

    list.OnHeaderClick(kColumnIp);
    EXPECT_EQ(mirror.reorders, 1);
    EXPECT_EQ(mirror.arrowChanges, 1);
    EXPECT_EQ(mirror.ids, (std::vector<std::string>{"c", "a", "b"}));

    Insert(list, Row("10.0.0.4", "00:00:00:00:00:04", "d"));  // sorted in at the bottom
    Insert(list, Row("10.0.0.0", "00:00:00:00:00:00", "e"));  // and at the top
    EXPECT_EQ(mirror.ids, (std::vector<std::string>{"e", "c", "a", "b", "d"}));

    list.OnHeaderClick(kColumnIp);
    EXPECT_EQ(mirror.ids, (std::vector<std::string>{"d", "b", "a", "c", "e"}));
    list.DeleteRowByMac({0, 0, 0, 0, 0, 0x02});
    EXPECT_EQ(mirror.ids, (std::vector<std::string>{"d", "b", "c", "e"}));

    list.OnHeaderClick(kColumnArch);
    EXPECT_EQ(mirror.arrowChanges, 2);  // arch touches no arrow
    EXPECT_EQ(mirror.reorders, 2);

    list.DeleteAllRows();
    EXPECT_EQ(mirror.resets, 1);
    EXPECT_TRUE(mirror.ids.empty());
    list.SetObserver(nullptr);
}

// A plain model of the list's rules: a new row goes on top and the whole list is then stably
// re-sorted under the current column and direction.
class ReferenceList {
public:
    void Insert(const DeviceRow& row) {
        m_rows.insert(m_rows.begin(), row);
        Sort();
    }
    void Click(int column) {
        if (column != m_sortColumn) {
            m_ascending = false;
            m_sortColumn = column;
        }
        if (!Sortable()) {
            return;
        }
        m_ascending = !m_ascending;
        m_arrowColumn = column;
        m_arrowAscending = m_ascending;
        Sort();
    }
    void DeleteByMac(const std::string& macText) {
        const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                        [&](const DeviceRow& row) { return row[1] == macText; });
        if (found != m_rows.end()) {
            if ((*found)[kColumnGivenName] == m_selectedId) {
                m_selectedId.clear();
            }
            m_rows.erase(found);
        }
    }
    void Clear() {
        m_rows.clear();
        m_selectedId.clear();
    }
    void Select(int position) {
        const bool inRange = position >= 0 && position < static_cast<int>(m_rows.size());
        m_selectedId = inRange ? m_rows[static_cast<std::size_t>(position)][kColumnGivenName] : "";
    }

    void ExpectSameAs(const DeviceList& list) const {
        ASSERT_EQ(list.RowCount(), static_cast<int>(m_rows.size()));
        for (int row = 0; row < list.RowCount(); ++row) {
            for (int column = 0; column < kColumnCount; ++column) {
                ASSERT_EQ(list.CellText(row, column),
                          m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)])
                    << "row " << row << " column " << column;
            }
        }
        int selected = -1;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (!m_selectedId.empty() && m_rows[i][kColumnGivenName] == m_selectedId) {
                selected = static_cast<int>(i);
            }
        }
        EXPECT_EQ(list.SelectedRow(), selected);
        EXPECT_EQ(list.Sort().sortColumn, m_sortColumn);
        EXPECT_EQ(list.Sort().ascending, m_ascending);
        for (int column = 0; column < kColumnCount; ++column) {
            const HeaderArrow arrow = column != m_arrowColumn ? HeaderArrow::None
                                      : m_arrowAscending      ? HeaderArrow::Up
                                                              : HeaderArrow::Down;
            EXPECT_EQ(list.ArrowOn(column), arrow);
        }
    }

private:
    bool Sortable() const { return m_sortColumn >= 0 && m_sortColumn <= 5; }
    void Sort() {
        if (!Sortable()) {
            return;
        }
        const auto column = static_cast<std::size_t>(m_sortColumn);
        const auto compare = m_sortColumn == kColumnIp         ? CompareIp
                             : m_sortColumn == kColumnMac      ? CompareMac
                             : m_sortColumn == kColumnSerialNo ? CompareSerial
                                                               : CompareText;
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](const auto& a, const auto& b) {
            return compare(a[column], b[column], m_ascending) < 0;
        });
    }

    std::vector<DeviceRow> m_rows;
    int m_sortColumn = -1;
    bool m_ascending = false;
    int m_arrowColumn = -1;
    bool m_arrowAscending = false;
    std::string m_selectedId;
};

// Small pools, so that many rows tie on the sort column and the place of a new row among its
// equals shows.
DeviceRow RandomRow(std::mt19937& random, int id) {
    const auto pick = [&](const std::vector<std::string>& pool) {
        return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
    };
    const std::string ip =
        std::uniform_int_distribution<int>(0, 20)(random) == 0
            ? "garbage"
            : "10.0." + std::to_string(random() % 3) + "." + std::to_string(random() % 12);
    const std::string mac =
        "00:00:00:0" + std::to_string(random() % 2) + ":00:" + pick({"00", "01", "0a", "10", "ff"});
    DeviceRow row{ip,
                  mac,
                  pick({"alpha", "Zeta", "Unit", "Unit 2", ""}),
                  "row" + std::to_string(id),
                  pick({"1.0", "1.10", "1.9"}),
                  pick({"0", "9", "10", "4294967295", "2147483648", "n/a"}),
                  pick({std::string(kArchText08), std::string(kArchText32)})};
    return row;
}

TEST(DeviceListModelTest, RandomOperationsMatchInsertOnTopThenStableSort) {
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        DeviceList list;
        MirrorObserver mirror(list);
        list.SetObserver(&mirror);
        ReferenceList reference;
        int nextId = 0;
        for (int step = 0; step < 1500; ++step) {
            const int action = std::uniform_int_distribution<int>(0, 99)(random);
            if (action < 60) {
                const DeviceRow row = RandomRow(random, nextId++);
                Insert(list, row);
                reference.Insert(row);
            } else if (action < 75) {
                const int column = std::uniform_int_distribution<int>(0, 6)(random);
                list.OnHeaderClick(column);
                reference.Click(column);
            } else if (action < 88) {
                MacAddress mac{0, 0, 0, static_cast<std::uint8_t>(random() % 2), 0, 0};
                const std::uint8_t lastOctets[] = {0x00, 0x01, 0x0a, 0x10, 0xff};
                mac[5] = lastOctets[random() % 5];
                list.DeleteRowByMac(mac);
                reference.DeleteByMac(std::string(FormatMacText(mac).View()));
            } else if (action < 98) {
                const int position =
                    std::uniform_int_distribution<int>(-1, list.RowCount())(random);
                list.SelectRow(position);
                reference.Select(position);
            } else {
                list.DeleteAllRows();
                reference.Clear();
            }
            reference.ExpectSameAs(list);
            ASSERT_EQ(mirror.ids, Ids(list)) << "step " << step;
            if (::testing::Test::HasFailure()) {
                FAIL() << "step " << step;
            }
        }
        list.SetObserver(nullptr);
    }
}

}  // namespace
}  // namespace kestrelink
