#pragma once
// The item list file of "导入列表" and "导出列表": one row per line as
// name||item id||price||address, CR LF after every line, GBK.
#include "app/item_list/item_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Lines end at LF (a CR before it is dropped); a line that does not split into
// exactly four fields at "||" is skipped.
std::vector<ItemListRow> parseItemListFile(std::string_view text);

// Trimmed of blanks and full-width blanks at both ends; the final CR LF stays.
std::string formatItemListFile(const std::vector<ItemListRow>& rows);

// False when the file cannot be read; rows are then left as they were.
[[nodiscard]] bool readItemListFile(const std::string& path, std::vector<ItemListRow>& rows);
[[nodiscard]] bool writeItemListFile(const std::string& path, const std::vector<ItemListRow>& rows);

}  // namespace quorvane
