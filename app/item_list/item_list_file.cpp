#include "app/item_list/item_list_file.h"

#include "app/options/file_store.h"
#include "text/codepage.h"
#include "text/search.h"

namespace quorvane {

namespace {

constexpr std::string_view kFieldSeparator = "||";

}  // namespace

std::vector<ItemListRow> parseItemListFile(std::string_view text) {
    std::vector<ItemListRow> rows;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (line.ends_with('\r')) line.remove_suffix(1);
        from = end + 1;
        std::vector<std::string> fields = splitText(line, kFieldSeparator);
        if (fields.size() != 4) continue;
        rows.push_back({std::move(fields[0]), std::move(fields[2]), std::move(fields[3]), std::move(fields[1])});
    }
    return rows;
}

std::string formatItemListFile(const std::vector<ItemListRow>& rows) {
    std::string text;
    for (const auto& row : rows) {
        text.append(row.name).append(kFieldSeparator).append(row.itemId).append(kFieldSeparator);
        text.append(row.price).append(kFieldSeparator).append(row.address).append("\r\n");
    }
    return trimText(text);
}

bool readItemListFile(const std::string& path, std::vector<ItemListRow>& rows) {
    Bytes bytes;
    if (!readFileBytes(gbkToWide(path), bytes)) return false;
    rows = parseItemListFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

bool writeItemListFile(const std::string& path, const std::vector<ItemListRow>& rows) {
    return replaceFileContent(gbkToWide(path), formatItemListFile(rows));
}

}  // namespace quorvane
