#include "net/device_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "net/intake.h"
#include "tests/support/reference_list.h"

namespace kestrelink {
namespace {

// The given-name cell carries each test row's identity, so that rows with equal sort keys can
// still be told apart.
DeviceRow Row(std::string ip, std::string mac, std::string id) {
    return {std::move(ip), std::move(mac), "", std::move(id), "1.0", "0", std::string(kArchText08)};
}

void Insert(DeviceList& list, const DeviceRow& row) {
    RowCells cells;
    std::copy(row.begin(), row.end(), cells.begin());
    list.InsertRow(cells);
}

std::vector<std::string> Ids(const DeviceList& list) {
    std::vector<std::string> ids;
    for (int row = 0; row < list.RowCount(); ++row) {
        ids.push_back(list.CellText(row, kColumnGivenName));
    }
    return ids;
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

TEST(DeleteRowByMacTest, OnlyTheExactLowerCaseTextMatches) {
    DeviceList list;
    Insert(list, Row("10.0.0.1", "00:1A:2B:3C:4D:5E", "upper-case cell"));
    Insert(list, Row("10.0.0.2", "00:1a:2b:3c:4d:5f", "neighbour"));
    list.DeleteRowByMac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E});
    EXPECT_EQ(Ids(list), (std::vector<std::string>{"neighbour", "upper-case cell"}));
}

// Short lists and long ones, whose rows are freed on a thread of their own, empty the same way.
TEST(DeleteAllRowsTest, LeavesAnEmptyListThatTakesTheSameRowsAgain) {
    for (const int rows : {3, 20000}) {
        SCOPED_TRACE(rows);
        DeviceList list;
        for (int round = 0; round < 2; ++round) {
            for (int n = 0; n < rows; ++n) {
                const std::string ip =
                    "10.0." + std::to_string(n / 256) + "." + std::to_string(n % 256);
                Insert(list, Row(ip, "00:00:00:00:00:01", std::to_string(n)));
            }
            ASSERT_EQ(list.RowCount(), rows);
            list.SelectRow(1);
            list.DeleteAllRows();
            EXPECT_EQ(list.RowCount(), 0);
            EXPECT_EQ(list.SelectedRow(), -1);
            EXPECT_FALSE(list.HasRowWithIp("10.0.0.1"));
        }
    }
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
    void RowsAboutToChange() override {
        ASSERT_FALSE(m_changing);
        m_changing = true;
    }
    void RowsChanged(std::span<const int> newPositions) override {
        ASSERT_TRUE(m_changing);
        m_changing = false;
        ASSERT_EQ(newPositions.size(), ids.size());
        std::vector<std::optional<std::string>> changed(
            static_cast<std::size_t>(m_list.RowCount()));
        for (std::size_t old = 0; old < ids.size(); ++old) {
            const int position = newPositions[old];
            if (position == -1) {
                continue;
            }
            ASSERT_GE(position, 0);
            ASSERT_LT(position, m_list.RowCount());
            ASSERT_FALSE(changed[static_cast<std::size_t>(position)]) << "two rows in one place";
            changed[static_cast<std::size_t>(position)] = ids[old];
        }
        // Rows that no old position leads to are new: read them from the list.
        ids.clear();
        for (std::size_t row = 0; row < changed.size(); ++row) {
            ids.push_back(
                changed[row].value_or(m_list.CellText(static_cast<int>(row), kColumnGivenName)));
        }
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
    bool m_changing = false;
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

// The MACs of random rows, as the six bytes that DeleteRowByMac takes and as their cell text.
struct RandomMac {
    MacAddress bytes;
    std::string_view text;
};
constexpr RandomMac kRandomMacs[] = {
    {{0, 0, 0, 0, 0, 0x01}, "00:00:00:00:00:01"}, {{0, 0, 0, 0, 0, 0x0a}, "00:00:00:00:00:0a"},
    {{0, 0, 0, 0, 0, 0x10}, "00:00:00:00:00:10"}, {{0, 0, 0, 0, 0, 0xff}, "00:00:00:00:00:ff"},
    {{0, 0, 0, 1, 0, 0x00}, "00:00:00:01:00:00"}, {{0, 0, 0, 1, 0, 0x0a}, "00:00:00:01:00:0a"},
};

const RandomMac& PickMac(std::mt19937& random) {
    return kRandomMacs[random() % std::size(kRandomMacs)];
}

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
    DeviceRow row{ip,
                  std::string(PickMac(random).text),
                  pick({"alpha", "Zeta", "Unit", "Unit 2", ""}),
                  "row" + std::to_string(id),
                  pick({"1.0", "1.10", "1.9"}),
                  pick({"0", "9", "10", "4294967295", "2147483648", "n/a"}),
                  pick({std::string(kArchText08), std::string(kArchText32)})};
    return row;
}

// Runs of steps are also taken as batches, each told to the mirror as one change: the rows and
// their order must be the ones the same steps give one at a time.
TEST(DeviceListModelTest, RandomOperationsMatchInsertOnTopThenStableSort) {
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        DeviceList list;
        MirrorObserver mirror(list);
        list.SetObserver(&mirror);
        testing::ReferenceList reference;
        int nextId = 0;
        int batchLeft = 0;
        for (int step = 0; step < 1500; ++step) {
            if (batchLeft == 0 && random() % 8 == 0) {
                list.BeginBatch();
                batchLeft = std::uniform_int_distribution<int>(1, 40)(random);
            }
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
                const RandomMac& mac = PickMac(random);
                list.DeleteRowByMac(mac.bytes);
                reference.DeleteByMac(mac.text);
            } else if (action < 98) {
                const int position =
                    std::uniform_int_distribution<int>(-1, list.RowCount())(random);
                list.SelectRow(position);
                reference.Select(position);
            } else {
                list.DeleteAllRows();
                reference.Clear();
            }
            if (batchLeft > 0 && --batchLeft == 0) {
                list.EndBatch();
            }
            ASSERT_EQ(reference.DifferenceFrom(list), "") << "step " << step;
            if (batchLeft == 0) {
                ASSERT_EQ(mirror.ids, Ids(list)) << "step " << step;
            }
            if (::testing::Test::HasFailure()) {
                FAIL() << "step " << step;
            }
        }
        if (batchLeft > 0) {
            list.EndBatch();
            EXPECT_EQ(mirror.ids, Ids(list));
        }
        list.SetObserver(nullptr);
    }
}

}  // namespace
}  // namespace kestrelink

namespace kestrelink {
namespace {

struct KeepCase {
    const char* name;
    bool keep;
    DeviceRow offered;  // taken in over rows a, b, c listed top to bottom
    std::vector<std::string> order;
};

class KeepUnchangedRowsTest : public ::testing::TestWithParam<KeepCase> {};

TEST_P(KeepUnchangedRowsTest, OnlyAnUnchangedRowStaysWhereItIs) {
    DeviceList list;
    Insert(list, Row("10.0.0.3", "00:00:00:00:00:03", "c"));
    Insert(list, Row("10.0.0.2", "00:00:00:00:00:02", "b"));
    Insert(list, Row("10.0.0.1", "00:00:00:00:00:01", "a"));
    list.SetKeepUnchangedRows(GetParam().keep);

    TakeInAnnouncement(list, std::make_unique<PreparedRow>(GetParam().offered));

    EXPECT_EQ(Ids(list), GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(
    DeviceList, KeepUnchangedRowsTest,
    ::testing::Values(
        KeepCase{"NotKept", false, Row("10.0.0.3", "00:00:00:00:00:03", "c"), {"c", "a", "b"}},
        KeepCase{"Unchanged", true, Row("10.0.0.3", "00:00:00:00:00:03", "c"), {"a", "b", "c"}},
        KeepCase{"NameChanged", true, Row("10.0.0.3", "00:00:00:00:00:03", "c2"), {"c2", "a", "b"}},
        KeepCase{
            "AddressChanged", true, Row("10.0.0.9", "00:00:00:00:00:03", "c"), {"c", "a", "b"}},
        KeepCase{
            "NewDevice", true, Row("10.0.0.4", "00:00:00:00:00:04", "d"), {"d", "a", "b", "c"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeepUnchangedRowsTest, TwoRowsOfOneMacAreNeverTakenAsUnchanged) {
    DeviceList list;
    Insert(list, Row("10.0.0.1", "00:00:00:00:00:01", "a"));
    Insert(list, Row("10.0.0.2", "00:00:00:00:00:01", "a"));
    list.SetKeepUnchangedRows(true);
    EXPECT_FALSE(list.ShowsUnchanged(PreparedRow(Row("10.0.0.2", "00:00:00:00:00:01", "a"))));
    list.DeleteRowByMacText("00:00:00:00:00:01");
    EXPECT_TRUE(list.HasRowWithMac("00:00:00:00:00:01"));
    EXPECT_FALSE(list.HasRowWithMac("00:00:00:00:00:02"));
}

}  // namespace
}  // namespace kestrelink
