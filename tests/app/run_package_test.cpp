// A whole run through the program against the loopback marketplace: the list
// file imported, 生成数据包 pressed, the package compared byte for byte in
// both layouts and its picture folder file by file; the item without a title
// fails alone and stays in the list.
#include "tests/app/marketplace_run.h"
#include "tests/support/description_services.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

constexpr const char* kPathHint = "点‘更改’可设置数据包保存位置，如不设置，默认保存在桌面！";

struct Layout {
    const char* options;
    const char* expected;
    int headerLines;
};

// The description pictures of the two items that have them, by their path
// in the picture folder: the item's folder from its title, the file named
// by its address; and the file each comes from.
const std::map<std::string, std::string> kDescriptionPictureFiles = {
    {"原创手工编织羊毛围巾&披肩冬季加厚保暖男女同款\\3d7c3e44f09153a6.jpg", "nuanyang_desc_1.jpg"},
    {"原创手工编织羊毛围巾&披肩冬季加厚保暖男女同款\\0c70da367c2cfedf.png", "nuanyang_desc_2.png"},
    {"原创手工编织羊毛围巾&披肩冬季加厚保暖男女同款\\1bb55cad4228c5ab.gif", "nuanyang_desc_bg.gif"},
    {"原创手工编织羊毛围巾&披肩冬季加厚保暖男女同款\\9e08dc17c94e1acd.jpg", "nuanyang_w_1.jpg"},
    {"原创手工编织羊毛围巾&披肩冬季加厚保暖男女同款\\f554ac6132522a8e.gif", "nuanyang_w_2.gif"},
    {"轻羽男士连帽羽绒服暖冬新款\\d6001c45540225de.jpg", "qingyu_d_1.jpg"},
    {"轻羽男士连帽羽绒服暖冬新款\\7d2d0ba6529e472a.jpg", "qingyu_d_1.jpg_60x60.jpg"},
    {"轻羽男士连帽羽绒服暖冬新款\\ab8114c17557627e.png", "qingyu_d_bg.png"},
    {"轻羽男士连帽羽绒服暖冬新款\\3b150e522f71613b.png", "qingyu_w_1.png"},
};

// Each item's main and sale-property pictures in the order of its picture
// field; the Taobao item's second main picture is missing and has no entry.
const std::map<std::string, std::vector<std::string>> kPackagePictureFiles = {
    {kTaobaoItem.id,
     {"nuanyang_main_1.jpg", "nuanyang_main_3.png", "nuanyang_swatch_black.jpg", "nuanyang_swatch_navy.gif"}},
    {kTmallItem.id,
     {"qingyu_main_1.jpg", "qingyu_main_2.png", "qingyu_main_3.gif", "qingyu_swatch_black.jpg",
      "qingyu_swatch_blue.png"}},
    {kItemDataItem.id, {}},
};

std::string pictureFixture(const std::string& name) { return fixtureText("marketplace/pictures/" + name); }

// The picture folder holds exactly the description pictures and the .tbi
// files that the package's rows name.
void expectPictureFolder(const std::string& packagePath, int headerLines) {
    const std::optional<std::string> package = readFile(packagePath);
    ASSERT_TRUE(package);
    std::map<std::string, std::string> expected;
    for (const auto& [path, file] : kDescriptionPictureFiles) expected[path] = pictureFixture(file);
    for (const std::string& row : sortedRows(*package, headerLines)) {
        const auto item =
            std::find_if(kPackagePictureFiles.begin(), kPackagePictureFiles.end(),
                         [&](const auto& entry) { return row.find("," + entry.first + ",") != std::string::npos; });
        ASSERT_NE(item, kPackagePictureFiles.end()) << row;
        const std::vector<std::string> names = pictureNames(row);
        ASSERT_EQ(names.size(), item->second.size()) << item->first;
        for (std::size_t i = 0; i < names.size(); ++i) expected[names[i] + ".tbi"] = pictureFixture(item->second[i]);
    }
    const std::map<std::string, std::string> files = filesUnder(pictureFolderOf(packagePath));
    EXPECT_EQ(files.size(), expected.size());
    for (const auto& [path, bytes] : expected) {
        const auto file = files.find(path);
        if (file == files.end()) {
            ADD_FAILURE() << "missing " << path;
        } else {
            EXPECT_TRUE(file->second == bytes) << path;
        }
    }
    for (const auto& [path, bytes] : files) EXPECT_TRUE(expected.contains(path)) << "unexpected " << path;
}

class RunPackageTest : public ::testing::TestWithParam<Layout> {};

TEST_P(RunPackageTest, ListBecomesThePackageAndTheFailedItemStays) {
    MarketplaceRun run("整个采集", GetParam().options);
    run.prepare();
    run.start();
    HWND summary = run.waitForSummary();
    ASSERT_NE(summary, nullptr) << run.log();

    const int headerLines = GetParam().headerLines;
    EXPECT_EQ(withRowsSorted(comparablePackage(run.packagePath()), headerLines),
              withRowsSorted(expectedPackage(GetParam().expected), headerLines));
    expectPictureFolder(run.packagePath(), headerLines);
    EXPECT_EQ(textOf(findComponent(summary, "透明标签4")), "下载总数： 4");
    EXPECT_EQ(textOf(findComponent(summary, "透明标签2")), "成功下载： 3");
    EXPECT_EQ(textOf(findComponent(summary, "透明标签3")), "下载失败： 1");
    EXPECT_TRUE(isShown(findComponent(summary, "按钮1")));

    const auto rows = listRows(run["超级列表框1"]);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][3], kNoTitleItem.id);
    EXPECT_EQ(textOf(run["透明标签4"]), "1");
    EXPECT_EQ(textOf(run["编辑框3"]), kPathHint);
    expectIdle(run);

    const std::string log = run.log();
    for (const std::string& line : {
             std::string("  准备开始采集宝贝……\r\n"),
             std::string("  开始下载 第：1/4 个宝贝:原创手工编织羊毛围巾 冬季加厚保暖\r\n"),
             std::string("  开始获取 第：2/4 个宝贝   基本信息！\r\n"),
             std::string("  获取成功 第：1/4 个宝贝   基本信息！\r\n"),
             std::string("  开始获取 第：1/4  个宝贝   描述信息！\r\n"),
             std::string("  成功获取 第：2/4  个宝贝   描述信息！\r\n"),
             std::string("  正在下载第:1/4 个宝贝 描述图片 3/3\r\n"),
             std::string("  正在下载第:2/4 个宝贝 描述图片 1/1\r\n"),
             std::string("  开始下载 第：2/4  个宝贝   宝贝主图数据！\r\n"),
             std::string("  正在下载 第：3/3  张 宝贝主图数据... \r\n"),
             std::string("  第：2/3  张 宝贝主图数据下载失败，未写入数据包！\r\n"),
             std::string("  下载完毕 第：1/4  个宝贝   宝贝主图数据！\r\n"),
             std::string("  开始下载 第：3/4  个宝贝   销售属性图片数据！\r\n"),
             std::string("  正在下载 第：2/2  张 销售属性图片数据... \r\n"),
             std::string("  下载完毕 第：2/4  个宝贝   销售属性图片数据！\r\n"),
             std::string(" 第：4/4 个宝贝 下载完成！\r\n"),
             std::string(" 个宝贝 下载完成！成功： 3 失败：1 正在写文件...\r\n"),
             std::string(" 文件写成功！\r\n"),
             " 数据包存放位置" + run.packagePath() + "\r\n",
         })
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nnot in\n" << log;
}

INSTANTIATE_TEST_SUITE_P(Layouts, RunPackageTest,
                         ::testing::Values(Layout{"[SAVE]\r\ntype=4\r\n", "run_package_4x.csv", 1},
                                           Layout{"[SAVE]\r\ntype=5\r\n", "run_package_5x.csv", 3}),
                         [](const auto& info) { return info.index == 0 ? "Layout4X" : "Layout5X"; });

}  // namespace
}  // namespace quorvane::test
