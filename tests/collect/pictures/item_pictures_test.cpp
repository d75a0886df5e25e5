// The main and sale-property pictures against the loopback marketplace: the
// fixture pages of both kinds, thirty pictures of one item, the radio button
// read for each entry, and pictures that cannot be stored.
#include "collect/pictures/item_pictures.h"

#include "collect/item/item_page_fields.h"
#include "collect/pictures/picture_check.h"
#include "text/com.h"
#include "text/search.h"

#include "tests/support/description_services.h"
#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"
#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace quorvane {
namespace {

const bool mapSet = test::routeHostsToSharedMarketplace();

std::string pictureFixture(const std::string& name) { return test::fixtureText("marketplace/pictures/" + name); }

// The field with each picture name written N.
std::string withNamesMarked(const std::string& field) {
    return std::regex_replace(field, std::regex("[0-9a-f]{32}:"), "N:");
}

std::vector<std::string> namesOf(const std::string& field) {
    std::vector<std::string> names;
    const std::regex name("([0-9a-f]{32}):");
    for (auto it = std::sregex_iterator(field.begin(), field.end(), name); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

class ItemPicturesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mapSet); }

    ItemFields fixtureItem(const test::MarketplaceItem& fixture) {
        ItemFields item;
        item.itemId = fixture.id;
        item.pageText = itemPageText(test::readFixture(std::string("marketplace/") + fixture.page));
        item.isTmall = findLeft(item.pageText, "天猫Tmall") != -1;
        item.title = "标题";
        item.picture = "left from before|;";
        return item;
    }

    std::vector<std::string> fetch(ItemFields& item, const std::string& folder, int format,
                                   std::function<bool(std::string_view)> checked) {
        std::vector<std::string> log;
        const WorkerProgress progress{[&](const std::string& line) { log.push_back(line); }, 4, 2, 3};
        fetchItemPictures(item, {folder, format}, OptionBoxes{std::move(checked)}, regexes_, progress);
        return log;
    }

    // Each entry's file holds the bytes of the picture in its place.
    void expectFiles(const test::ScratchFolder& folder, const std::string& field,
                     const std::vector<std::string>& pictures) {
        const std::vector<std::string> names = namesOf(field);
        ASSERT_EQ(names.size(), pictures.size());
        std::map<std::string, std::string> expected;
        for (std::size_t i = 0; i < names.size(); ++i) expected[names[i] + ".tbi"] = pictureFixture(pictures[i]);
        EXPECT_EQ(folder.files(), expected);
    }

    ComScope com_;
    WorkerRegexes regexes_;
};

TEST_F(ItemPicturesTest, TmallPageInThe5XLayout) {
    test::ScratchFolder folder("item_pictures_tmall");
    ItemFields item = fixtureItem(test::kTmallItem);
    const std::vector<std::string> log = fetch(item, folder.path(), 5, {});
    EXPECT_EQ(withNamesMarked(item.picture), "N:1:0:|;N:1:1:|;N:1:2:|;N:2:0:1627207:28341|;N:2:0:1627207:3232481|;");
    expectFiles(folder, item.picture,
                {"qingyu_main_1.jpg", "qingyu_main_2.png", "qingyu_main_3.gif", "qingyu_swatch_black.jpg",
                 "qingyu_swatch_blue.png"});
    EXPECT_EQ(log, (std::vector<std::string>{
                       " 线程：4  开始下载 第：2/3  个宝贝   宝贝主图数据！",
                       " 线程：4  正在下载 第：1/3  张 宝贝主图数据... ",
                       " 线程：4  正在下载 第：2/3  张 宝贝主图数据... ",
                       " 线程：4  正在下载 第：3/3  张 宝贝主图数据... ",
                       " 线程：4  下载完毕 第：2/3  个宝贝   宝贝主图数据！",
                       " 线程：4  开始下载 第：2/3  个宝贝   销售属性图片数据！",
                       " 线程：4  正在下载 第：1/2  张 销售属性图片数据... ",
                       " 线程：4  正在下载 第：2/2  张 销售属性图片数据... ",
                       " 线程：4  下载完毕 第：2/3  个宝贝   销售属性图片数据！",
                   }));
}

// The missing main picture gets no entry, and the next takes its place.
TEST_F(ItemPicturesTest, TaobaoPageInThe4XLayoutWithAMissingPicture) {
    test::ScratchFolder folder("item_pictures_taobao");
    ItemFields item = fixtureItem(test::kTaobaoItem);
    const std::vector<std::string> log =
        fetch(item, folder.path(), 4, [](std::string_view box) { return box == "单选框1"; });
    EXPECT_EQ(withNamesMarked(item.picture), "N:0:0:|;N:0:1:|;N:1:0:1627207:28341|;N:1:0:1627207:28338|;");
    expectFiles(
        folder, item.picture,
        {"nuanyang_main_1.jpg", "nuanyang_main_3.png", "nuanyang_swatch_black.jpg", "nuanyang_swatch_navy.gif"});
    EXPECT_NE(std::find(log.begin(), log.end(), " 线程：4  第：2/3  张 宝贝主图数据下载失败，未写入数据包！"),
              log.end());
}

TEST_F(ItemPicturesTest, APageWithoutPicturesGivesAnEmptyFieldAndItsLines) {
    test::ScratchFolder folder("item_pictures_none");
    ItemFields item = fixtureItem(test::kItemDataItem);
    const std::vector<std::string> log = fetch(item, folder.path(), 5, {});
    EXPECT_EQ(item.picture, "");
    EXPECT_TRUE(folder.files().empty());
    EXPECT_EQ(log, (std::vector<std::string>{
                       " 线程：4  开始下载 第：2/3  个宝贝   宝贝主图数据！",
                       " 线程：4  下载完毕 第：2/3  个宝贝   宝贝主图数据！",
                       " 线程：4  开始下载 第：2/3  个宝贝   销售属性图片数据！",
                       " 线程：4  下载完毕 第：2/3  个宝贝   销售属性图片数据！",
                   }));
}

// Names within one millisecond, of one title and id, still differ.
TEST_F(ItemPicturesTest, ThirtyPicturesOfOneItemGiveThirtyFiles) {
    test::ScratchFolder folder("item_pictures_thirty");
    ItemFields item;
    item.itemId = "527018364901";
    item.title = "同一标题";
    std::vector<std::string> pictures;
    for (int i = 1; i <= 30; ++i) {
        const std::string path = "/many/p" + std::to_string(i) + ".jpg";
        test::sharedMarketplace().server().script(path, test::okAnswer("\xFF\xD8\xFF\xE0 picture " + std::to_string(i)));
        item.pageText += "<img data-src=\"//" + std::string(test::kPictureHost) + path + "_50x50.jpg\">";
    }
    fetch(item, folder.path(), 5, {});
    const std::vector<std::string> names = namesOf(item.picture);
    ASSERT_EQ(names.size(), 30u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 30u);
    const auto files = folder.files();
    ASSERT_EQ(files.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(files.at(names[static_cast<std::size_t>(i)] + ".tbi"),
                  "\xFF\xD8\xFF\xE0 picture " + std::to_string(i + 1));
        EXPECT_NE(item.picture.find(names[static_cast<std::size_t>(i)] + ":1:" + std::to_string(i) + ":|;"),
                  std::string::npos);
    }
}

// The radio button is read for each sale-property entry, as it stands then.
TEST_F(ItemPicturesTest, EachSwatchEntryTakesTheRadioButtonAsItStands) {
    test::ScratchFolder folder("item_pictures_radio");
    ItemFields item = fixtureItem(test::kTmallItem);
    int asked = 0;
    fetch(item, folder.path(), 5, [&](std::string_view box) { return box == "单选框1" && ++asked == 1; });
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(withNamesMarked(item.picture), "N:1:0:|;N:1:1:|;N:1:2:|;N:1:0:1627207:28341|;N:2:0:1627207:3232481|;");
}

// A picture that cannot be stored gets no entry: no field names a file that
// is not there, is empty, or is an error page.
TEST_F(ItemPicturesTest, PicturesThatCannotBeStoredGetNoEntry) {
    test::ScratchFolder folder("item_pictures_unstored");
    test::sharedMarketplace().server().script("/many/big.jpg", test::okAnswer(std::string(kLargestPictureBytes + 1, 'b')));
    test::sharedMarketplace().server().script("/many/empty.jpg", test::okAnswer(""));
    ItemFields item;
    item.itemId = "527018364901";
    for (const char* path : {"/many/big.jpg", "/many/empty.jpg", "/trial/blank.gif", "/trial/gone.jpg"})
        item.pageText += "<img data-src=\"//" + std::string(test::kPictureHost) + path + "_50x50.jpg\">";
    item.pageText += "<img data-src=\"//a b/c.jpg_50x50.jpg\">";
    const std::vector<std::string> log = fetch(item, folder.path(), 5, {});
    EXPECT_EQ(item.picture, "");
    EXPECT_TRUE(folder.files().empty());
    for (int i = 1; i <= 5; ++i)
        EXPECT_NE(std::find(log.begin(), log.end(),
                            " 线程：4  第：" + std::to_string(i) + "/5  张 宝贝主图数据下载失败，未写入数据包！"),
                  log.end())
            << i;

    // A picture folder that is not there takes no file either.
    ItemFields tmall = fixtureItem(test::kTmallItem);
    fetch(tmall, folder.path() + "\\gone", 5, {});
    EXPECT_EQ(tmall.picture, "");
    EXPECT_TRUE(folder.files().empty());
}

}  // namespace
}  // namespace quorvane
