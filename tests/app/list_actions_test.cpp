// The list's buttons and menu actions against a recording stand-in for the
// desktop: messages, clipboard texts and shell calls.
#include "app/item_list/list_actions.h"
#include "app/item_list/package_path.h"
#include "app/item_list/workbook_export.h"

#include "app/item_list/item_list_file.h"
#include "text/codepage.h"
#include "text/files.h"
#include "text/com.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvane {

// Readable failures: rows as their four columns.
void PrintTo(const ItemListRow& row, std::ostream* out) {
    *out << "{" << row.name << " | " << row.price << " | " << row.address << " | " << row.itemId << "}";
}

void PrintTo(const PackagePath& path, std::ostream* out) {
    *out << "{" << path.pathBoxText << " | " << path.packageFolder << " | " << path.packageBaseName << " | "
         << path.accepted << "}";
}
namespace {

struct Message {
    std::string title, text;
    bool operator==(const Message&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Message& m) { return out << m.title << " " << m.text; }
};

class RecordingServices : public ListActionServices {
public:
    void showMessage(const std::string& title, const std::string& text) override { messages.push_back({title, text}); }
    bool setClipboardText(const std::string& text) override {
        clipboard.push_back(text);
        return true;
    }
    bool openWithShell(const std::string& target) override {
        opened.push_back(target);
        return true;
    }
    void processPendingEvents() override {}

    std::vector<Message> messages;
    std::vector<std::string> clipboard, opened;
};

ItemList twoRows() {
    ItemList list;
    list.append({"连衣裙", "99.00", "http://item.taobao.com/item.htm?id=12", "12"});
    list.append({"T恤", "5.00", "https://detail.tmall.com/item.htm?id=13", "13"});
    return list;
}

class ListFiles : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = wideToGbk(temp) + "list-actions-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(gbkToWide(folder_).c_str(), nullptr);
        path_ = folder_ + "\\list.txt";
    }
    void TearDown() override {
        DeleteFileW(gbkToWide(path_).c_str());
        RemoveDirectoryW(gbkToWide(folder_).c_str());
    }
    std::string folder_, path_;
};

TEST_F(ListFiles, ExportAndImportReportWhatHappened) {
    RecordingServices services;
    ItemList empty;
    EXPECT_FALSE(exportItemList(empty, path_, services));
    EXPECT_TRUE(services.messages.empty());

    ItemList list = twoRows();
    EXPECT_TRUE(exportItemList(list, path_, services));
    EXPECT_TRUE(exportItemList(list, path_, services));  // an existing file is replaced
    EXPECT_FALSE(exportItemList(list, folder_ + "\\no\\such.txt", services));
    const Message exported{"信息：", "宝贝列表已经成功导出！"};
    ASSERT_EQ(services.messages.size(), 3u);
    EXPECT_EQ(services.messages[0], exported);
    EXPECT_EQ(services.messages[1], exported);
    EXPECT_EQ(services.messages[2].title, "信息：");
    EXPECT_NE(services.messages[2], exported);

    services.messages.clear();
    ItemList imported;
    imported.append({"earlier", "", "", ""});
    EXPECT_TRUE(importItemList(imported, path_, services));
    EXPECT_EQ(imported.rows(), list.rows());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0], (Message{"温馨提示：", "已经成功导入宝贝列表！"}));
}

TEST_F(ListFiles, ImportOfAnUnreadableFileKeepsTheList) {
    RecordingServices services;
    ItemList list = twoRows();
    list.setSelected(1, true);
    EXPECT_FALSE(importItemList(list, folder_ + "\\missing.txt", services));
    EXPECT_EQ(list.rows(), twoRows().rows());
    EXPECT_TRUE(list.isSelected(1));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].title, "温馨提示：");
    EXPECT_NE(services.messages[0].text, "已经成功导入宝贝列表！");
}

TEST_F(ListFiles, ImportOfAFileWithoutValidLinesEmptiesTheList) {
    ASSERT_TRUE(writeWholeFile(gbkToWide(path_), "名字||里有分隔符||2||1||u\r\n没有分隔符\r\n"));
    RecordingServices services;
    ItemList list = twoRows();
    EXPECT_TRUE(importItemList(list, path_, services));
    EXPECT_EQ(list.count(), 0);
}

TEST(SingleRowActions, UseTheCurrentRowAndDoNothingWithoutOne) {
    RecordingServices services;
    ItemList list = twoRows();
    copyItemName(list, services);
    copyItemAddress(list, services);
    openItemInBrowser(list, services);
    EXPECT_TRUE(services.clipboard.empty());
    EXPECT_TRUE(services.opened.empty());
    EXPECT_TRUE(services.messages.empty());

    list.setSelected(0, true);  // selection alone does not make a current row
    list.setCurrentRow(1);
    copyItemName(list, services);
    copyItemAddress(list, services);
    openItemInBrowser(list, services);
    EXPECT_EQ(services.clipboard, (std::vector<std::string>{"T恤", "https://detail.tmall.com/item.htm?id=13"}));
    EXPECT_EQ(services.opened, (std::vector<std::string>{"https://detail.tmall.com/item.htm?id=13"}));
}

TEST(OpenInBrowser, OpensOnlyWebAddresses) {
    const std::pair<const char*, bool> cases[] = {
        {"http://item.taobao.com/item.htm?id=1", true},
        {"HTTPS://detail.tmall.com/item.htm?id=1", true},
        {"https://a.cn/\xD5\x5C", true},
        {"http://", false},
        {"https:/a.cn", false},
        {"file:///C:/windows/system32/calc.exe", false},
        {"C:\\windows\\system32\\cmd.exe", false},
        {"javascript:alert(1)", false},
        {" http://a.cn", false},
        {"http://a.cn\" -x", false},  // a blank inside: no address of ours has one
        {"", false},
    };
    for (const auto& [address, opens] : cases) {
        EXPECT_EQ(isWebAddress(address), opens) << address;
        RecordingServices services;
        ItemList list;
        list.append({"n", "1", address, "1"});
        list.setCurrentRow(0);
        openItemInBrowser(list, services);
        EXPECT_EQ(services.opened.size(), opens ? 1u : 0u) << address;
        EXPECT_EQ(services.messages.size(), opens ? 0u : 1u) << address;
    }
}

TEST(Workbook, HoldsHeadersThenNamePriceAndAddressOfEachRow) {
    const std::vector<WorkbookCell> expected = {
        {1, 1, "宝贝名称"}, {1, 2, "宝贝价格"}, {1, 3, "宝贝地址"},
        {2, 1, "连衣裙"},   {2, 2, "99.00"},    {2, 3, "http://item.taobao.com/item.htm?id=12"},
        {3, 1, "T恤"},      {3, 2, "5.00"},     {3, 3, "https://detail.tmall.com/item.htm?id=13"},
    };
    EXPECT_EQ(workbookCells(twoRows().rows()), expected);
    EXPECT_TRUE(workbookPath().ends_with("/temp.xls"));
    EXPECT_EQ(workbookPath().find("\\/"), std::string::npos);  // no "\" left before the "/"
}

TEST(Workbook, WithoutExcelTheUserIsTold) {
    ComScope com;
    RecordingServices services;
    EXPECT_EQ(openListInExcel(twoRows(), workbookPath(), services), WorkbookResult::NoExcel);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].title, "提示");
    EXPECT_TRUE(services.opened.empty());
}

struct PathCase {
    std::string chosen;
    PackagePath expected;
};

TEST(PackagePathChooser, SplitsAtTheLastBackslashAndTheNamesLastDot) {
    const std::string trail5c = "\xD5\x5C";  // "誠": its trail byte is "\"
    const PathCase cases[] = {
        {"D:\\data\\pkg", {"D:\\data\\pkg.csv", "D:\\data\\", "pkg", true}},
        {"D:\\data\\pkg.csv", {"D:\\data\\pkg.csv", "D:\\data\\", "pkg", true}},
        {"D:\\data\\a.b.csv", {"D:\\data\\a.b.csv", "D:\\data\\", "a.b", true}},
        // A "." in a folder name is not the file's extension.
        {"D:\\my.data\\pkg", {"D:\\my.data\\pkg.csv", "D:\\my.data\\", "pkg", true}},
        {"D:\\data\\" + trail5c, {"D:\\data\\" + trail5c + ".csv", "D:\\data\\", trail5c, true}},
        {"D:\\" + trail5c + "\\pkg.csv", {"D:\\" + trail5c + "\\pkg.csv", "D:\\" + trail5c + "\\", "pkg", true}},
        {"D:\\data\\.csv", {"", "D:\\data\\", "", false}},
        {"pkg", {"pkg.csv", "", "pkg", true}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitPackagePath(c.chosen), c.expected) << c.chosen;
}

TEST(PackagePathChooser, RefusalIsShown) {
    RecordingServices services;
    EXPECT_TRUE(choosePackagePath("D:\\data\\pkg", services).accepted);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_FALSE(choosePackagePath("D:\\data\\.csv", services).accepted);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0], (Message{"提示", "请检查文件名是否正确！"}));
}

}  // namespace
}  // namespace quorvane
