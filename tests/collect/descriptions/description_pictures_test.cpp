// The description pictures against the loopback marketplace: the trial
// item's pictures of every kind under each failure policy (texts, files,
// log lines and what was asked), a folder that cannot be made, and a stop
// while a picture downloads.
#include "collect/descriptions/description_pictures.h"

#include "collect/descriptions/descriptions.h"
#include "collect/item/item_page_fields.h"
#include "text/com.h"

#include "tests/support/cancel_event.h"
#include "tests/support/description_services.h"
#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"
#include "tests/support/request_limit_scope.h"
#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>

namespace quorvane {
namespace {

const bool mapSet = test::routeHostsToSharedMarketplace();

constexpr const char* kItemFolder = "暖阳手作羊毛围巾试用装";
constexpr const char* kOkFile = "4793e06079939496.jpg";         // trial/ok.jpg
constexpr const char* kSnifflessFile = "ca0359d04da75d78.jpg";  // trial/sniffless.jpg, as WinINet got it

std::string replaced(std::string text, const std::string& mark, const std::string& by) {
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, mark.size(), by);
    return text;
}

// How often each picture of the trial item was asked for.
std::map<std::string, int> pictureRequests() {
    std::map<std::string, int> asked;
    for (const test::RecordedRequest& request : test::sharedMarketplace().server().requests()) {
        const std::string path = request.target.substr(0, request.target.find('?'));
        if (path.starts_with("/trial/")) ++asked[path.substr(7)];
    }
    return asked;
}

class DescriptionPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mapSet);
        test::sharedMarketplace().server().clearRequests();
    }

    // The trial item with its descriptions as the worker reads them.
    ItemFields trialItem() {
        ItemFields item;
        item.itemId = test::kPictureTrialItem.id;
        item.pageText = itemPageText(test::readFixture(std::string("marketplace/") + test::kPictureTrialItem.page));
        item.title = "暖阳手作 羊毛围巾试用装";
        readDescriptions(item, {});
        return item;
    }

    std::vector<std::string> fetch(ItemFields& item, const std::string& folder, int policy) {
        std::vector<std::string> log;
        const WorkerProgress progress{[&](const std::string& line) { log.push_back(line); }, 2, 1, 1};
        fetchDescriptionPictures(item, {folder, [policy] { return policy; }}, regexes_, progress);
        return log;
    }

    ComScope com_;
    WorkerRegexes regexes_;
};

// The trial item's pictures in the order of its passes: whether each comes.
struct TrialPicture {
    int pass;  // 1 IMG, 2 wireless, 3 background
    int i, n;
    bool comes;
};
constexpr TrialPicture kTrialPictures[] = {
    {1, 1, 6, true},  {1, 2, 6, false}, {1, 3, 6, false}, {1, 4, 6, false},
    {1, 5, 6, false}, {1, 6, 6, true},  {2, 1, 1, false}, {3, 1, 1, false},
};

// The log a policy writes for the trial item's pictures.
std::vector<std::string> trialLog(int policy) {
    std::vector<std::string> log;
    for (const TrialPicture& picture : kTrialPictures) {
        const std::string count = std::to_string(picture.i) + "/" + std::to_string(picture.n);
        log.push_back(" 线程：2  正在下载第:1/1 个宝贝 描述图片 " + count);
        if (picture.comes) continue;
        if (policy == 2) log.push_back(" 线程：2  第:1/1 个宝贝 描述图片 字节集为0 已经删除 " + count);
        if (policy == 3) {
            log.push_back(" 线程：2  第:1/1 个宝贝 描述图片 字节集为0 正在重新下载 " + count);
            if (picture.pass == 3)
                log.push_back(" 线程：2  第:1/1 个宝贝 描述图片 字节集为0 重新下载失败===已经删除图片 " + count);
        }
    }
    return log;
}

// {L} stands for "file:///" and the item's folder.
constexpr const char* kKeptDescription =
    R"(<p><img src=""{L}\4793e06079939496.jpg""><img src=""http://img.example-mall.cn/trial/blank.gif"">)"
    R"(<img src=""http://img.example-mall.cn/trial/gone.jpg""><img src=""http://img.example-mall.cn/trial/empty.jpg"">)"
    R"(<img src=""http://img.example-mall.cn/trial/slow.jpg""><img src=""{L}\ca0359d04da75d78.jpg""></p>)"
    R"(<table background=""http://img.example-mall.cn/trial/bg_gone.gif""><tr><td>试用装</td></tr></table>)";
constexpr const char* kDeletedDescription =
    R"(<p><img src=""{L}\4793e06079939496.jpg""><img src=""""><img src=""""><img src=""""><img src="""">)"
    R"(<img src=""{L}\ca0359d04da75d78.jpg""></p><table background=""""><tr><td>试用装</td></tr></table>)";
constexpr const char* kKeptWireless =
    "<wapDesc><img>http://img.example-mall.cn/trial/w_gone.jpg</img><txt>试用装</txt></wapDesc>";
constexpr const char* kDeletedWireless = "<wapDesc><img></img><txt>试用装</txt></wapDesc>";

struct PolicyCase {
    const char* name;
    int policy;
    const char* description;
    const char* wireless;
    std::map<std::string, int> asked;
};

class DescriptionPicturePolicies : public DescriptionPicturesTest, public ::testing::WithParamInterface<PolicyCase> {};

// A picture comes when its bytes are a picture: the COM answer, or the
// WinINet one when the COM answer is of no known type (sniffless.jpg). No
// bytes (empty.jpg, and slow.jpg past its limit), the blank placeholder and
// a 404 page are failures; only the blank one is of a known type, so only
// it is not asked for a second time at once.
TEST_P(DescriptionPicturePolicies, TextsFilesLinesAndRequests) {
    const PolicyCase& c = GetParam();
    test::ScratchFolder folder(std::string("description_pictures_") + c.name);
    ItemFields item = trialItem();
    test::ScopedRequestLimit limit(1500);
    const std::vector<std::string> log = fetch(item, folder.path(), c.policy);

    const std::string local = "file:///" + folder.path() + "\\" + kItemFolder;
    EXPECT_EQ(item.description, replaced(c.description, "{L}", local));
    EXPECT_EQ(item.wireless_desc, c.wireless);
    EXPECT_EQ(log, trialLog(c.policy));
    EXPECT_EQ(folder.files(),
              (std::map<std::string, std::string>{
                  {std::string(kItemFolder) + "\\" + kOkFile, test::fixtureText("marketplace/pictures/trial_ok.jpg")},
                  {std::string(kItemFolder) + "\\" + kSnifflessFile,
                   test::fixtureText("marketplace/pictures/trial_fallback.jpg")}}));
    EXPECT_EQ(pictureRequests(), c.asked);
}

const std::map<std::string, int> kAskedOnce = {{"ok.jpg", 1},     {"blank.gif", 1},  {"gone.jpg", 2},
                                               {"empty.jpg", 2},  {"slow.jpg", 2},   {"sniffless.jpg", 2},
                                               {"w_gone.jpg", 2}, {"bg_gone.gif", 2}};
const std::map<std::string, int> kAskedAgain = {{"ok.jpg", 1},     {"blank.gif", 2},  {"gone.jpg", 4},
                                                {"empty.jpg", 4},  {"slow.jpg", 4},   {"sniffless.jpg", 2},
                                                {"w_gone.jpg", 4}, {"bg_gone.gif", 4}};

INSTANTIATE_TEST_SUITE_P(
    Policies, DescriptionPicturePolicies,
    ::testing::Values(PolicyCase{"Keep", 1, kKeptDescription, kKeptWireless, kAskedOnce},
                      PolicyCase{"Delete", 2, kDeletedDescription, kDeletedWireless, kAskedOnce},
                      PolicyCase{"RetryThenDelete", 3, kDeletedDescription, kDeletedWireless, kAskedAgain},
                      PolicyCase{"AnyOtherValueKeeps", 7, kKeptDescription, kKeptWireless, kAskedOnce}),
    [](const auto& info) { return std::string(info.param.name); });

// A picture whose file cannot be written is a failed picture: the text never
// points at a file that is not there.
TEST_F(DescriptionPicturesTest, AFileThatCannotBeWrittenFailsItsPicture) {
    test::ScratchFolder folder("description_pictures_unwritable");
    // A file where the item's folder would be.
    const std::wstring blocked = gbkToWide(folder.path() + "\\" + kItemFolder);
    HANDLE file = CreateFileW(blocked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    ItemFields item = trialItem();
    test::ScopedRequestLimit limit(1500);
    fetch(item, folder.path(), 2);
    EXPECT_EQ(item.description,
              R"(<p><img src=""""><img src=""""><img src=""""><img src=""""><img src=""""><img src=""""></p>)"
              R"(<table background=""""><tr><td>试用装</td></tr></table>)");
    EXPECT_EQ(folder.files(), (std::map<std::string, std::string>{{kItemFolder, ""}}));
}

// A stop abandons the picture in flight and asks for no other; what has not
// fully come leaves no file behind.
TEST_F(DescriptionPicturesTest, AStopEndsTheStepAtOnceWithoutAPartialFile) {
    test::ScratchFolder folder("description_pictures_stop");
    ItemFields item;
    item.itemId = test::kPictureTrialItem.id;
    item.title = "暖阳手作 羊毛围巾试用装";
    item.description = R"(<img src=""http://img.example-mall.cn/trial/ok.jpg"">)"
                       R"(<img src=""http://img.example-mall.cn/trial/slow.jpg"">)"
                       R"(<img src=""http://img.example-mall.cn/trial/sniffless.jpg"">)";
    item.wireless_desc = "<wapDesc><img>http://img.example-mall.cn/trial/w_gone.jpg</img></wapDesc>";
    const DWORD start = GetTickCount();
    {
        test::ScopedCancelEvent cancel;
        // The slow picture comes a few bytes a second, for far longer than this.
        cancel.setAfter(2000);
        fetch(item, folder.path(), 3);
    }
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_EQ(pictureRequests(), (std::map<std::string, int>{{"ok.jpg", 1}, {"slow.jpg", 1}}));
    EXPECT_EQ(folder.files(),
              (std::map<std::string, std::string>{{std::string(kItemFolder) + "\\" + kOkFile,
                                                   test::fixtureText("marketplace/pictures/trial_ok.jpg")}}));
}

}  // namespace
}  // namespace quorvane
