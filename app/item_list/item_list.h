#pragma once
// The rows of 超级列表框1 with their selection and current row. Rows are
// identified by their position only: names repeat.
#include <string>
#include <vector>

namespace quorvane {

struct ItemListRow {
    std::string name;     // column 0 "名称"
    std::string price;    // column 1 "价格"
    std::string address;  // column 2 "宝贝地址"
    std::string itemId;   // column 3 "ID"

    bool operator==(const ItemListRow&) const = default;
};

class ItemList {
public:
    const std::vector<ItemListRow>& rows() const { return rows_; }
    int count() const { return static_cast<int>(rows_.size()); }
    const ItemListRow& row(int position) const { return rows_.at(static_cast<std::size_t>(position)); }

    void append(ItemListRow row);
    void replaceRows(std::vector<ItemListRow> rows);  // selection and current row are cleared
    void clear();

    // Positions outside the list are ignored.
    void setSelected(int position, bool selected);
    bool isSelected(int position) const;
    std::vector<int> selectedPositions() const;  // top to bottom

    // -1 when there is none (a right click on an empty area).
    void setCurrentRow(int position);
    int currentRow() const { return current_; }
    const ItemListRow* currentRowData() const;

    // Deletes exactly the selected rows; gives their former positions, top to
    // bottom, for the list view to follow.
    std::vector<int> deleteSelected();

    // The text of the row counter 透明标签4.
    std::string counterText() const { return std::to_string(rows_.size()); }

private:
    std::vector<ItemListRow> rows_;
    std::vector<bool> selected_;
    int current_ = -1;
};

}  // namespace quorvane
