#include "cable/CableTable.h"

#include "TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using testing::ElementsAre;
using Rows = std::vector<std::vector<std::string>>;

namespace {

class CRecordingObserver : public ICableTableObserver {
public:
    std::vector<std::string> calls;

    void OnTableReset() override { calls.push_back("reset"); }
    void OnRowInserted(int row) override { calls.push_back("inserted " + std::to_string(row)); }
    void OnRowDeleted(int row) override { calls.push_back("deleted " + std::to_string(row)); }
    void OnCellChanged(int row, int column) override {
        calls.push_back("cell " + std::to_string(row) + "," + std::to_string(column));
    }
    void OnSelectionChanged(int row) override { calls.push_back("selected " + std::to_string(row)); }
};

CCableTable ThreeRows() { return MakeTable({{"a", "1", "2", "3"}, {"b", "4", "5", "6"}, {"c", "7", "8", "9"}}); }

}  // namespace

TEST(CableTableTest, InsertedRowIsTheOneSelectedAndOthersMoveDown) {
    CCableTable table = ThreeRows();
    CRecordingObserver observer;
    table.SetObserver(&observer);
    table.SelectRow(0);
    EXPECT_EQ(table.InsertRow(1, "new"), 1);
    EXPECT_EQ(table.GetSelectedRow(), 1);
    EXPECT_EQ(CellsOf(table)[1], (std::vector<std::string>{"new", "", "", ""}));
    EXPECT_EQ(table.GetCellText(2, 0), "b");
    EXPECT_EQ(table.AppendRow("d", " 1", "", "x "), 4);
    EXPECT_EQ(table.GetSelectedRow(), 4);
    EXPECT_THAT(observer.calls, ElementsAre("selected 0", "inserted 1", "selected 1", "inserted 4", "selected 4"));
}

TEST(CableTableTest, CellsKeepTheirBytesWhenNeighboursChange) {
    const std::string odd("z\0\xA0", 3);
    CCableTable table = MakeTable({{" lead", "", "trail ", odd}});
    table.SetCellText(0, 1, "a much longer velocity text than before");
    table.SetCellText(0, 0, "");
    EXPECT_EQ(CellsOf(table)[0],
              (std::vector<std::string>{"", "a much longer velocity text than before", "trail ", odd}));
    table.SetCellText(0, 1, "v");
    table.SetCellText(0, 2, "");
    EXPECT_EQ(CellsOf(table)[0], (std::vector<std::string>{"", "v", "", odd}));
    EXPECT_THAT(table.GetRowTextViews(0), ElementsAre("", "v", "", odd));
    table.SetCellText(0, 3, "");
    table.SetCellText(0, 2, "loss");
    EXPECT_THAT(table.GetRowTextViews(0), ElementsAre("", "v", "loss", ""));
}

// A cell that grows moves its row within the table's storage, one that shrinks stays where it is,
// and the space that rows leave behind is taken back by copying the rest. Random changes, each
// checked against a plain model, then a shrink that leaves megabytes behind.
TEST(CableTableTest, CellsSurviveEveryWayTheirStorageChanges) {
    std::mt19937 random(11);
    const auto randomText = [&random] {
        const std::size_t lengths[] = {0, 1, 5, 12, 127, 128, 300, 2000};
        std::string text(lengths[random() % std::size(lengths)], '\0');
        for (char& c : text) {
            c = static_cast<char>(random());
        }
        return text;
    };
    CCableTable table;
    Rows model;
    for (int step = 0; step < 1000; ++step) {
        const int count = table.GetItemCount();
        const int row = count > 0 ? static_cast<int>(random() % static_cast<unsigned>(count)) : 0;
        const unsigned action = count == 0 ? 0 : random() % 8;
        if (action < 2) {
            const int index = static_cast<int>(random() % static_cast<unsigned>(count + 1));
            const std::string name = randomText();
            table.InsertRow(index, name);
            model.insert(model.begin() + index, {name, "", "", ""});
        } else if (action < 7) {
            const int column = static_cast<int>(random() % 4);
            const std::string text = randomText();
            table.SetCellText(row, column, text);
            model[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
        } else {
            table.DeleteRow(row);
            model.erase(model.begin() + row);
        }
        ASSERT_EQ(CellsOf(table), model) << "step " << step;
    }

    table = ThreeRows();
    table.SetCellText(1, 2, std::string(5 << 20, 'x'));
    table.AppendRow("d", "10", "11", "12");
    table.SetCellText(1, 2, "short");
    EXPECT_EQ(CellsOf(table),
              (Rows{{"a", "1", "2", "3"}, {"b", "4", "short", "6"}, {"c", "7", "8", "9"}, {"d", "10", "11", "12"}}));
}

TEST(CableTableTest, DeletingKeepsTheSameRowSelectedOrNone) {
    CCableTable table = ThreeRows();
    table.AppendRow("d", "", "", "");
    CRecordingObserver observer;
    table.SelectRow(2);
    table.SetObserver(&observer);
    table.DeleteRow(3);  // below the selected row: no change to announce
    EXPECT_EQ(table.GetSelectedRow(), 2);
    table.DeleteRow(1);  // above the selected row
    EXPECT_EQ(table.GetSelectedRow(), 1);
    EXPECT_EQ(table.GetCellText(1, 0), "c");
    table.DeleteRow(1);  // the selected row
    EXPECT_EQ(table.GetSelectedRow(), -1);
    table.SelectRow(-1);  // unchanged: not announced
    table.SelectRow(0);
    table.SelectRow(0);
    table.DeleteAllRows();
    EXPECT_EQ(table.GetItemCount(), 0);
    EXPECT_EQ(table.GetSelectedRow(), -1);
    EXPECT_THAT(observer.calls,
                ElementsAre("deleted 3", "deleted 1", "selected 1", "deleted 1", "selected -1", "selected 0", "reset"));
}

TEST(CableTableTest, OutOfRangeThrowsAndChangesNothing) {
    CCableTable table = ThreeRows();
    table.SelectRow(1);
    CRecordingObserver observer;
    table.SetObserver(&observer);
    EXPECT_THROW(table.InsertRow(4, "x"), std::out_of_range);
    EXPECT_THROW(table.InsertRow(-1, "x"), std::out_of_range);
    EXPECT_THROW(table.SetCellText(3, 0, "x"), std::out_of_range);
    EXPECT_THROW(table.SetCellText(0, 4, "x"), std::out_of_range);
    EXPECT_THROW(table.SetCellText(0, -1, "x"), std::out_of_range);
    EXPECT_THROW(table.GetCellText(-1, 0), std::out_of_range);
    EXPECT_THROW(table.GetRowTextViews(3), std::out_of_range);
    EXPECT_THROW(table.GetRowTextViews(-1), std::out_of_range);
    EXPECT_THROW(table.DeleteRow(3), std::out_of_range);
    EXPECT_THROW(table.SelectRow(3), std::out_of_range);
    EXPECT_THROW(table.SelectRow(-2), std::out_of_range);
    EXPECT_TRUE(observer.calls.empty());
    EXPECT_EQ(table.GetSelectedRow(), 1);
    EXPECT_EQ(CellsOf(table), CellsOf(ThreeRows()));
}

// Swapping twice gives each table back its own rows and selection, each observer told once a swap,
// and a table moved from (which holds no rows at all) swaps as an empty one.
TEST(CableTableTest, SwapRowsExchangesRowsAndSelectionInOneResetEach) {
    CCableTable table = ThreeRows();
    table.SelectRow(1);
    CCableTable other = MakeTable({{"x", "y", "z", "w"}});
    CRecordingObserver observer;
    CRecordingObserver otherObserver;
    table.SetObserver(&observer);
    other.SetObserver(&otherObserver);
    table.SwapRows(other);
    EXPECT_EQ(CellsOf(table), (std::vector<std::vector<std::string>>{{"x", "y", "z", "w"}}));
    EXPECT_EQ(table.GetSelectedRow(), 0);
    EXPECT_EQ(CellsOf(other), CellsOf(ThreeRows()));
    EXPECT_EQ(other.GetSelectedRow(), 1);
    EXPECT_THAT(observer.calls, ElementsAre("reset"));
    EXPECT_THAT(otherObserver.calls, ElementsAre("reset"));
    table.SwapRows(other);
    EXPECT_EQ(CellsOf(table), CellsOf(ThreeRows()));
    EXPECT_EQ(table.GetSelectedRow(), 1);
    table.SwapRows(table);
    EXPECT_EQ(table.GetItemCount(), 3);

    CCableTable movedFrom = MakeTable({{"a", "b", "c", "d"}});
    CCableTable taker(std::move(movedFrom));
    table.SwapRows(movedFrom);
    EXPECT_EQ(table.GetItemCount(), 0);
    EXPECT_EQ(table.GetSelectedRow(), -1);
    EXPECT_EQ(movedFrom.GetItemCount(), 3);
    table.AppendRow("n", "1", "2", "3");
    EXPECT_EQ(table.GetItemCount(), 1);
    table.SetObserver(nullptr);
    other.SetObserver(nullptr);
}

TEST(CableTableTest, ReplaceWithTakesRowsAndSelectionInOneReset) {
    CCableTable table = ThreeRows();
    CCableTable other = MakeTable({{"x", "y", "z", "w"}});
    CRecordingObserver observer;
    CRecordingObserver otherObserver;
    table.SetObserver(&observer);
    other.SetObserver(&otherObserver);
    table.ReplaceWith(std::move(other));
    EXPECT_EQ(CellsOf(table), (std::vector<std::vector<std::string>>{{"x", "y", "z", "w"}}));
    EXPECT_EQ(table.GetSelectedRow(), 0);
    EXPECT_EQ(other.GetItemCount(), 0);
    EXPECT_EQ(other.GetSelectedRow(), -1);
    EXPECT_THAT(observer.calls, ElementsAre("reset"));
    EXPECT_THAT(otherObserver.calls, ElementsAre("reset"));

    CCableTable moved(std::move(table));
    EXPECT_EQ(moved.GetItemCount(), 1);
    EXPECT_EQ(table.GetItemCount(), 0);
    table.InsertRow(0, "reused");
    EXPECT_EQ(table.GetCellText(0, 0), "reused");
}
