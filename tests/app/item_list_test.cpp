// The item list model: deleting the selected rows by position, clearing,
// the current row and the row counter.
#include "app/item_list/item_list.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

std::vector<std::string> idsOf(const ItemList& list) {
    std::vector<std::string> ids;
    for (const auto& row : list.rows()) ids.push_back(row.itemId);
    return ids;
}

ItemList numberedList(std::initializer_list<const char*> names) {
    ItemList list;
    int id = 1;
    for (const char* name : names) {
        list.append({name, "9.90", "http://item/" + std::to_string(id), std::to_string(id)});
        ++id;
    }
    return list;
}

struct DeleteCase {
    const char* what;
    std::vector<const char*> names;
    std::vector<int> selected;
    std::vector<std::string> keptIds;
};

TEST(DeleteSelected, RemovesExactlyTheSelectedPositions) {
    const DeleteCase cases[] = {
        // Same name twice, the second selected: the second goes, not the first.
        {"duplicate names", {"连衣裙", "连衣裙", "T恤"}, {1}, {"1", "3"}},
        {"every duplicate selected", {"a", "a", "a"}, {0, 2}, {"2"}},
        {"nothing selected", {"a", "b"}, {}, {"1", "2"}},
        {"all selected", {"a", "b"}, {0, 1}, {}},
        {"outside positions ignored", {"a", "b"}, {5, -1}, {"1", "2"}},
    };
    for (const auto& c : cases) {
        ItemList list;
        int id = 1;
        for (const char* name : c.names) list.append({name, "", "", std::to_string(id++)});
        for (int position : c.selected) list.setSelected(position, true);
        list.deleteSelected();
        EXPECT_EQ(idsOf(list), c.keptIds) << c.what;
        EXPECT_TRUE(list.selectedPositions().empty()) << c.what;
        EXPECT_EQ(list.counterText(), std::to_string(c.keptIds.size())) << c.what;
    }
}

TEST(DeleteSelected, GivesTheDeletedPositionsAndKeepsTheCurrentRowOnItsItem) {
    ItemList list = numberedList({"a", "b", "c", "d"});
    list.setSelected(2, true);
    list.setSelected(0, true);
    list.setCurrentRow(3);
    EXPECT_EQ(list.deleteSelected(), (std::vector<int>{0, 2}));
    ASSERT_NE(list.currentRowData(), nullptr);
    EXPECT_EQ(list.currentRowData()->itemId, "4");
    EXPECT_EQ(list.currentRow(), 1);

    list.setSelected(1, true);
    list.deleteSelected();
    EXPECT_EQ(list.currentRow(), -1);  // the current row itself went
    EXPECT_EQ(list.currentRowData(), nullptr);
}

TEST(ItemList, ClearAndReplaceDropRowsSelectionAndCurrentRow) {
    ItemList list = numberedList({"a", "b"});
    list.setSelected(1, true);
    list.setCurrentRow(1);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.counterText(), "0");
    EXPECT_EQ(list.currentRowData(), nullptr);

    list.replaceRows({{"x", "1", "http://x", "7"}});
    EXPECT_EQ(list.counterText(), "1");
    EXPECT_FALSE(list.isSelected(0));
    EXPECT_EQ(list.currentRow(), -1);
    list.setCurrentRow(3);  // no such row
    EXPECT_EQ(list.currentRow(), -1);
}

}  // namespace
}  // namespace quorvane
