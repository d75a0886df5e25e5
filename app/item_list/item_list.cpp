#include "app/item_list/item_list.h"

namespace quorvane {

void ItemList::append(ItemListRow row) {
    rows_.push_back(std::move(row));
    selected_.push_back(false);
}

void ItemList::replaceRows(std::vector<ItemListRow> rows) {
    rows_ = std::move(rows);
    selected_.assign(rows_.size(), false);
    current_ = -1;
}

void ItemList::clear() { replaceRows({}); }

void ItemList::setSelected(int position, bool selected) {
    if (position >= 0 && position < count()) selected_[static_cast<std::size_t>(position)] = selected;
}

bool ItemList::isSelected(int position) const {
    return position >= 0 && position < count() && selected_[static_cast<std::size_t>(position)];
}

std::vector<int> ItemList::selectedPositions() const {
    std::vector<int> positions;
    for (int k = 0; k < count(); ++k)
        if (selected_[static_cast<std::size_t>(k)]) positions.push_back(k);
    return positions;
}

void ItemList::setCurrentRow(int position) { current_ = (position >= 0 && position < count()) ? position : -1; }

const ItemListRow* ItemList::currentRowData() const {
    return current_ == -1 ? nullptr : &rows_[static_cast<std::size_t>(current_)];
}

std::vector<int> ItemList::deleteSelected() {
    const std::vector<int> deleted = selectedPositions();
    std::vector<ItemListRow> kept;
    int newCurrent = -1;
    for (int k = 0, left = 0; k < count(); ++k) {
        if (selected_[static_cast<std::size_t>(k)]) continue;
        if (k == current_) newCurrent = left;
        kept.push_back(std::move(rows_[static_cast<std::size_t>(k)]));
        ++left;
    }
    rows_ = std::move(kept);
    selected_.assign(rows_.size(), false);
    current_ = newCurrent;
    return deleted;
}

}  // namespace quorvane
