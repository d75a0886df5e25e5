// The item list file: which lines the import keeps, what the export writes,
// and a round trip through a file.
#include "app/item_list/item_list_file.h"

#include "text/codepage.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvane {

// Readable failures: rows as their four columns.
void PrintTo(const ItemListRow& row, std::ostream* out) {
    *out << "{" << row.name << " | " << row.price << " | " << row.address << " | " << row.itemId << "}";
}
namespace {

// "亅" is 81 7C: its trail byte is "|", so a byte-wise search would see "||"
// starting inside the character.
const std::string kTrailBar = "\x81\x7C";

struct ParseCase {
    const char* what;
    std::string text;
    std::vector<ItemListRow> rows;
};

TEST(ParseItemListFile, KeepsOnlyLinesOfExactlyFourFields) {
    const ItemListRow dress{"连衣裙", "99.00", "http://item.taobao.com/item.htm?id=12", "12"};
    const ParseCase cases[] = {
        {"one line", "连衣裙||12||99.00||http://item.taobao.com/item.htm?id=12\r\n", {dress}},
        {"no line end at the end", "连衣裙||12||99.00||http://item.taobao.com/item.htm?id=12", {dress}},
        {"LF only, empty lines skipped",
         "\n连衣裙||12||99.00||http://item.taobao.com/item.htm?id=12\n\r\n\n", {dress}},
        {"three fields", "a||1||2\r\n", {}},
        {"a missing last field", "a||1||2||\r\n", {}},
        {"five fields: a name with || inside", "a||b||1||2||u\r\n", {}},
        {"empty fields inside are fields", "||1||||u\r\n", {{"", "", "u", "1"}}},
        {"trail byte | inside a name", kTrailBar + "||5||1.5||http://a\r\n", {{kTrailBar, "1.5", "http://a", "5"}}},
        {"order of columns", "n||id||p||addr\r\nn2||id2||p2||addr2\r\n",
         {{"n", "p", "addr", "id"}, {"n2", "p2", "addr2", "id2"}}},
        {"an escaped line", "%||a%0D%0Ab%7C%7Cc||1||%25||u\r\n", {{"a\r\nb||c", "%", "u", "1"}}},
        {"codes are read once, from the left", "%||%257C||1||%2||%7\r\n", {{"%7C", "%2", "%7", "1"}}},
        {"a % name of a plain line is a name", "%||1||2||u\r\n", {{"%", "2", "u", "1"}}},
        {"an escaped line of another count", "%||a||1||2||u||v\r\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseItemListFile(c.text), c.rows) << c.what;
}

TEST(FormatItemListFile, WritesNameIdPriceAddressALine) {
    const std::vector<ItemListRow> rows = {{"连衣裙", "99.00", "http://a", "12"}, {"T恤 ", "5", "http://b", "13"}};
    EXPECT_EQ(formatItemListFile(rows), "连衣裙||12||99.00||http://a\r\nT恤 ||13||5||http://b\r\n");
    EXPECT_EQ(formatItemListFile({}), "");
}

TEST(FormatItemListFile, RowsThePlainFormCannotCarryAreEscaped) {
    struct Case {
        const char* why;
        ItemListRow row;
        std::string line;
    };
    const Case cases[] = {
        {"a plain row", {"连衣裙 100%棉", "99.00", "http://a", "12"}, "连衣裙 100%棉||12||99.00||http://a"},
        {"a single | inside", {"a|b", "1", "u", "2"}, "a|b||2||1||u"},
        {"a trail byte | beside a separator", {kTrailBar, "1", "u", "2"}, kTrailBar + "||2||1||u"},
        {"a line break", {"a\r\nb", "1", "u", "2"}, "%||a%0D%0Ab||2||1||u"},
        {"|| inside", {"a||b", "1", "u", "2"}, "%||a%7C%7Cb||2||1||u"},
        {"a | ending the name", {"a|", "1", "u", "2"}, "%||a%7C||2||1||u"},
        {"a | opening a field reads back as it is", {"a", "|1", "u", "2"}, "a||2|||1||u"},
        {"blanks in front of the file's first name", {" \xA1\xA1" "a", "1", "u", "2"}, " \xA1\xA1" "a||2||1||u"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatItemListFile({c.row}), c.line + "\r\n") << c.why;
}

TEST(ItemListFile, ExportThenImportGivesTheSameRows) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string folder = wideToGbk(temp) + "item-list-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(gbkToWide(folder).c_str(), nullptr));
    const std::string path = folder + "\\list.txt";

    const std::vector<ItemListRow> rows = {
        {"  开头有空格", "1.00", "http://a", "1"},
        {"名字||里有分隔符", "2.00", "http://b", "2"},
        {"换\r\n行|", "|4.00\n", "http://e ", "4"},
        {"%7C 100%", "5.00", "http://f", "5"},
        {kTrailBar + "表", "3.00", "https://c/\xD5\x5C", "3"},
        {"", "", "http://d", ""},
    };
    ASSERT_TRUE(writeItemListFile(path, rows));
    std::vector<ItemListRow> read = {{"earlier", "", "", ""}};
    ASSERT_TRUE(readItemListFile(path, read));
    EXPECT_EQ(read, rows);

    std::vector<ItemListRow> kept = {{"kept", "", "", ""}};
    EXPECT_FALSE(readItemListFile(folder + "\\missing.txt", kept));
    EXPECT_EQ(kept.size(), 1u);
    EXPECT_FALSE(writeItemListFile(folder + "\\missing\\list.txt", rows));

    DeleteFileW(gbkToWide(path).c_str());
    RemoveDirectoryW(gbkToWide(folder).c_str());
}

}  // namespace
}  // namespace quorvane
