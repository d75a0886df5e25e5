// Description pictures in whole runs of the program: the trial item, whose
// description names a picture of every kind that fails, under each saved
// failure policy and with the download off; and a stop while one of its
// pictures is still coming in.
#include "tests/app/marketplace_run.h"
#include "tests/support/description_services.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

constexpr const char* kTrialList =
    "暖阳手作 羊毛围巾试用装||527018364909||39.00||https://item.taobao.com/item.htm?id=527018364909\r\n";
constexpr std::size_t kDescription = 20;
constexpr std::size_t kWireless = 47;

// The picture folder's files, by their paths; {L} is "file:///" and the
// item's folder in the texts.
const std::string kItemFolder = "暖阳手作羊毛围巾试用装";
const std::string kOkFile = kItemFolder + "\\4793e06079939496.jpg";
const std::string kSnifflessFile = kItemFolder + "\\ca0359d04da75d78.jpg";

const char* const kWebDescription =
    R"(<p><img src=""http://img.example-mall.cn/trial/ok.jpg""><img src=""http://img.example-mall.cn/trial/blank.gif"">)"
    R"(<img src=""http://img.example-mall.cn/trial/gone.jpg""><img src=""http://img.example-mall.cn/trial/empty.jpg"">)"
    R"(<img src=""http://img.example-mall.cn/trial/slow.jpg""><img src=""http://img.example-mall.cn/trial/sniffless.jpg""></p>)"
    R"(<table background=""http://img.example-mall.cn/trial/bg_gone.gif""><tr><td>试用装</td></tr></table>)";
const char* const kKeptDescription =
    R"(<p><img src=""{L}\4793e06079939496.jpg""><img src=""http://img.example-mall.cn/trial/blank.gif"">)"
    R"(<img src=""http://img.example-mall.cn/trial/gone.jpg""><img src=""http://img.example-mall.cn/trial/empty.jpg"">)"
    R"(<img src=""http://img.example-mall.cn/trial/slow.jpg""><img src=""{L}\ca0359d04da75d78.jpg""></p>)"
    R"(<table background=""http://img.example-mall.cn/trial/bg_gone.gif""><tr><td>试用装</td></tr></table>)";
const char* const kDeletedDescription =
    R"(<p><img src=""{L}\4793e06079939496.jpg""><img src=""""><img src=""""><img src=""""><img src="""">)"
    R"(<img src=""{L}\ca0359d04da75d78.jpg""></p><table background=""""><tr><td>试用装</td></tr></table>)";
const char* const kWebWireless =
    "<wapDesc><img>http://img.example-mall.cn/trial/w_gone.jpg</img><txt>试用装</txt></wapDesc>";
const char* const kDeletedWireless = "<wapDesc><img></img><txt>试用装</txt></wapDesc>";

struct PolicyRun {
    const char* name;
    const char* pictureOptions;  // the [DL_PIC] lines
    const char* description;
    const char* wireless;
    bool filesWritten;
    std::vector<std::string> lines;    // in the log
    std::vector<std::string> noLines;  // not in the log
};

std::string replaced(std::string text, const std::string& mark, const std::string& by) {
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, mark.size(), by);
    return text;
}

// A CSV line's fields as they stand, quotes included.
std::vector<std::string> rawFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (;;) {
        std::size_t end = at;
        if (end < line.size() && line[end] == '"') {
            for (++end; end < line.size(); ++end) {
                if (line[end] != '"') continue;
                if (end + 1 < line.size() && line[end + 1] == '"') {
                    ++end;
                    continue;
                }
                ++end;
                break;
            }
        } else {
            end = std::min(line.find(',', at), line.size());
        }
        fields.push_back(line.substr(at, end - at));
        if (end >= line.size()) return fields;
        at = end + 1;
    }
}

class RunPicturePolicies : public ::testing::TestWithParam<PolicyRun> {};

TEST_P(RunPicturePolicies, TheTrialItemsTextsAndFiles) {
    const PolicyRun& c = GetParam();
    // A slow picture times out at once; the others answer at once.
    ASSERT_TRUE(SetEnvironmentVariableA("QUORVANE_REQUEST_LIMIT_MS", "1500"));
    MarketplaceRun run(std::string("描述图片") + c.name,
                       "[DL_PIC]\r\n" + std::string(c.pictureOptions) + "[SAVE]\r\ntype=5\r\n");
    ASSERT_NO_FATAL_FAILURE(run.importList(kTrialList, 1));
    ASSERT_NO_FATAL_FAILURE(run.choosePackageFile());
    run.start();
    ASSERT_NE(run.waitForSummary(60000), nullptr) << run.log();

    const std::optional<std::string> package = comparablePackage(run.packagePath());
    ASSERT_TRUE(package);
    const std::vector<std::string> rows = sortedRows(*package, 3);
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<std::string> fields = rawFields(rows[0].substr(0, rows[0].size() - 2));
    ASSERT_EQ(fields.size(), 50u);
    const std::string local = "file:///" + std::string(kPictureFolderMark) + "\\" + kItemFolder;
    EXPECT_EQ(fields[kDescription], "\"" + replaced(c.description, "{L}", local) + "\"");
    EXPECT_EQ(fields[kWireless], "\"" + std::string(c.wireless) + "\"");

    std::map<std::string, std::string> expected;
    if (c.filesWritten) {
        expected[kOkFile] = fixtureText("marketplace/pictures/trial_ok.jpg");
        expected[kSnifflessFile] = fixtureText("marketplace/pictures/trial_fallback.jpg");
    }
    EXPECT_EQ(filesUnder(pictureFolderOf(run.packagePath())), expected);
    const std::string log = run.log();
    for (const std::string& line : c.lines) EXPECT_NE(log.find(line), std::string::npos) << line << "\nnot in\n" << log;
    for (const std::string& line : c.noLines) EXPECT_EQ(log.find(line), std::string::npos) << line << "\nin\n" << log;
}

INSTANTIATE_TEST_SUITE_P(
    Policies, RunPicturePolicies,
    ::testing::Values(
        PolicyRun{"保持不变",
                  "download=真\r\nfall=1\r\n",
                  kKeptDescription,
                  kWebWireless,
                  true,
                  {"  正在下载第:1/1 个宝贝 描述图片 6/6\r\n", "  正在下载第:1/1 个宝贝 描述图片 1/1\r\n"},
                  {"字节集为0"}},
        PolicyRun{"删除图片",
                  "download=真\r\nfall=2\r\n",
                  kDeletedDescription,
                  kDeletedWireless,
                  true,
                  {"  第:1/1 个宝贝 描述图片 字节集为0 已经删除 2/6\r\n",
                   "  第:1/1 个宝贝 描述图片 字节集为0 已经删除 5/6\r\n",
                   "  第:1/1 个宝贝 描述图片 字节集为0 已经删除 1/1\r\n"},
                  {"正在重新下载", " 已经删除 1/6\r\n", " 已经删除 6/6\r\n"}},
        PolicyRun{"重新下载",
                  "download=真\r\nfall=3\r\n",
                  kDeletedDescription,
                  kDeletedWireless,
                  true,
                  {"  第:1/1 个宝贝 描述图片 字节集为0 正在重新下载 2/6\r\n",
                   "  第:1/1 个宝贝 描述图片 字节集为0 重新下载失败===已经删除图片 1/1\r\n"},
                  {" 已经删除 2/6\r\n", "重新下载失败===已经删除图片 2/6"}},
        PolicyRun{
            "不下载", "download=假\r\nfall=3\r\n", kWebDescription, kWebWireless, false, {}, {"个宝贝 描述图片"}}),
    [](const auto& info) { return std::to_string(info.index); });

// Stopped while the slow picture comes in a few bytes a second: the run
// ends at once, and the folder holds only the picture that had come.
TEST(RunPictures, AStopWhilePicturesDownloadEndsPromptlyWithoutAPartialFile) {
    // No limit of the test's own: the picture would keep its request busy.
    ASSERT_TRUE(SetEnvironmentVariableA("QUORVANE_REQUEST_LIMIT_MS", nullptr));
    MarketplaceRun run("图片中止", "[DL_PIC]\r\ndownload=真\r\nfall=3\r\n[SAVE]\r\ntype=5\r\n");
    ASSERT_NO_FATAL_FAILURE(run.importList(kTrialList, 1));
    ASSERT_NO_FATAL_FAILURE(run.choosePackageFile());
    run.start();
    ASSERT_TRUE(
        MarketplaceRun::waitFor([&] { return run.log().find(" 个宝贝 描述图片 5/6\r\n") != std::string::npos; }, 30000))
        << run.log();
    Sleep(1000);
    pressButton(run["停止按钮"]);
    auto box = run.app().program().waitForMessageBox("是否将已完成的宝贝生成数据包！");
    ASSERT_TRUE(box);
    const DWORD start = GetTickCount();
    answerMessageBox(box->window, IDYES);
    ASSERT_NE(run.waitForSummary(5000), nullptr) << run.log();
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(filesUnder(pictureFolderOf(run.packagePath())),
              (std::map<std::string, std::string>{{kOkFile, fixtureText("marketplace/pictures/trial_ok.jpg")}}));
    // The item did not finish: the package holds the header alone.
    const std::optional<std::string> package = readFile(run.packagePath());
    ASSERT_TRUE(package);
    EXPECT_EQ(occurrences(*package, "\r\n"), 3);
}

}  // namespace
}  // namespace quorvane::test
