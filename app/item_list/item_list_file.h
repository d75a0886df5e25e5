#pragma once
// The item list file of "导入列表" and "导出列表": one row per line as
// name||item id||price||address, CR LF after every line, GBK. Names and
// prices come from pages and may hold what that line cannot carry (a line
// break, "||", a "|" beside a separator); such a row is written as an
// escaped line: "%||" in front of its four fields, in which "%", CR, LF and
// "|" stand as %25, %0D, %0A and %7C. Every other row keeps the plain line
// that stored files hold.
#include "app/item_list/item_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Lines end at LF (a CR before it is dropped); a line that does not split into
// exactly four fields at "||", or into an escaped line's five, is skipped.
std::vector<ItemListRow> parseItemListFile(std::string_view text);

// Parsing the text gives back exactly rows.
std::string formatItemListFile(const std::vector<ItemListRow>& rows);

// False when the file cannot be read; rows are then left as they were.
[[nodiscard]] bool readItemListFile(const std::string& path, std::vector<ItemListRow>& rows);
[[nodiscard]] bool writeItemListFile(const std::string& path, const std::vector<ItemListRow>& rows);

}  // namespace quorvane
