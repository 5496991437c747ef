#include "ui/CableListSource.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records what the list is told, one line per change.
class CRecordingList : public IListObserver {
public:
    std::vector<std::string> told;
    void OnTableReset() override { told.push_back("reset"); }
    void OnRowInserted(int row) override { told.push_back("inserted " + std::to_string(row)); }
    void OnRowDeleted(int row) override { told.push_back("deleted " + std::to_string(row)); }
    void OnCellChanged(int row, int column) override {
        told.push_back("cell " + std::to_string(row) + "," + std::to_string(column));
    }
    void OnSelectionChanged(int row) override { told.push_back("selected " + std::to_string(row)); }
};

TEST(CableListSourceTest, ShowsTheTablesRowsCellsAndSelectionAndSelectsInIt) {
    CCableTable table;
    table.AppendRow("RG58", "0.66", "0.5", "100");
    table.AppendRow("LMR400", "0.85", "0.2", "900");
    CCableListSource source(table);
    EXPECT_EQ(source.GetItemCount(), 2);
    EXPECT_EQ(source.GetColumnCount(), table.GetColumnCount());
    EXPECT_EQ(source.GetCellTextView(0, 0), "RG58");
    EXPECT_EQ(source.GetCellTextView(1, 3), "900");
    EXPECT_EQ(source.GetSelectedRow(), 1);
    source.SelectRow(0);
    EXPECT_EQ(table.GetSelectedRow(), 0) << "the user's selection is the table's";
    source.SelectRow(-1);
    EXPECT_EQ(table.GetSelectedRow(), -1);
    EXPECT_THROW(source.SelectRow(2), std::out_of_range);
    EXPECT_THROW(source.GetCellTextView(2, 0), std::out_of_range);
}

TEST(CableListSourceTest, TellsTheListEachChangeOfTheTableUntilDetached) {
    CCableTable table;
    CCableListSource source(table);
    CRecordingList list;
    source.SetObserver(&list);
    table.InsertRow(0, "RG58");
    table.SetCellText(0, 2, "0.5");
    table.InsertRow(1, "LMR400");
    table.DeleteRow(0);
    CCableTable other;
    table.SwapRows(other);
    EXPECT_THAT(list.told, ElementsAre("inserted 0", "selected 0", "cell 0,2", "inserted 1", "selected 1", "deleted 0",
                                       "selected 0", "reset"));

    list.told.clear();
    source.SetObserver(nullptr);
    table.InsertRow(0, "RG6");
    EXPECT_THAT(list.told, IsEmpty());
}

TEST(CableListSourceTest, StopsObservingTheTableWhenItEnds) {
    CCableTable table;
    CRecordingList list;
    {
        CCableListSource source(table);
        source.SetObserver(&list);
    }
    table.InsertRow(0, "RG58");  // would reach the ended source if it were still the observer
    EXPECT_THAT(list.told, IsEmpty());
}

}  // namespace
