#include "app/item_list/item_list_file.h"

#include "app/options/file_store.h"
#include "text/codepage.h"
#include "text/search.h"

namespace quorvane {

namespace {

constexpr std::string_view kFieldSeparator = "||";
constexpr std::string_view kEscapedLineTag = "%";

struct Escape {
    std::string_view character;
    std::string_view code;
};
// "%" first when escaping, so the codes themselves are never escaped again.
constexpr Escape kEscapes[] = {{"%", "%25"}, {"\r", "%0D"}, {"\n", "%0A"}, {"|", "%7C"}};

std::string escaped(std::string_view field) {
    std::string text(field);
    for (const auto& [character, code] : kEscapes) text = replaceText(text, character, code);
    return text;
}

// In one pass from the left: "%257C" is "%7C", never "|".
std::string unescaped(std::string_view field) {
    std::string text;
    for (std::size_t at = 0; at < field.size();) {
        const Escape* escape = nullptr;
        for (const Escape& e : kEscapes)
            if (field.substr(at).starts_with(e.code)) escape = &e;
        text += escape ? escape->character : field.substr(at, 1);
        at += escape ? escape->code.size() : 1;
    }
    return text;
}

std::string joinedFields(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line.append(i == 0 ? "" : kFieldSeparator).append(fields[i]);
    return line;
}

std::vector<std::string> fileFields(const ItemListRow& row) { return {row.name, row.itemId, row.price, row.address}; }

// The plain line reads back as the row.
bool fitsPlainLine(const ItemListRow& row, const std::string& line) {
    if (line.find_first_of("\r\n") != std::string::npos) return false;
    return splitText(line, kFieldSeparator) == fileFields(row);
}

std::string lineOf(const ItemListRow& row) {
    const std::string plain = joinedFields(fileFields(row));
    if (fitsPlainLine(row, plain)) return plain;
    std::vector<std::string> fields = {std::string(kEscapedLineTag)};
    for (const std::string& field : fileFields(row)) fields.push_back(escaped(field));
    return joinedFields(fields);
}

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
        if (fields.size() == 5 && fields[0] == kEscapedLineTag) {
            fields.erase(fields.begin());
            for (std::string& field : fields) field = unescaped(field);
        }
        if (fields.size() != 4) continue;
        rows.push_back({std::move(fields[0]), std::move(fields[2]), std::move(fields[3]), std::move(fields[1])});
    }
    return rows;
}

std::string formatItemListFile(const std::vector<ItemListRow>& rows) {
    std::string text;
    for (const auto& row : rows) text.append(lineOf(row)).append("\r\n");
    return text;
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
