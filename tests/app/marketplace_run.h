#pragma once
// quorvane.exe in a folder of its own, pointed at a loopback marketplace in
// this test program, and the steps of a run as a user takes them: import the
// list file, choose the package file, press 生成数据包, wait for the summary.
// The host map is read once by the program, so every program started here
// inherits this process's QUORVANE_HOST_MAP.
#include "tests/app/package_pictures.h"
#include "tests/app/program_in_folder.h"
#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace quorvane::test {

inline Marketplace& marketplace() {
    static Marketplace market;
    static const bool mapSet = SetEnvironmentVariableA("QUORVANE_HOST_MAP", market.hostMap().c_str()) != 0;
    EXPECT_TRUE(mapSet);
    return market;
}

// The item-data service answers each item after its own delay, so the items
// finish, and their rows stand, in an order the test chooses.
inline void delayItemDataAnswers(std::map<std::string, int> delayMs) {
    marketplace().server().script(std::string(kItemDataPath), [delayMs](const RecordedRequest& request) {
        const std::string id = formValue(request.body, "_id");
        for (const MarketplaceItem* item : marketplaceItems()) {
            if (id != item->id) continue;
            const std::vector<unsigned char> page = readFixture(std::string("marketplace/") + item->page);
            Answer answer = okAnswer(std::string(page.begin(), page.end()), {"Content-Type: text/html"});
            const auto delay = delayMs.find(id);
            answer.delayBeforeHeaders = std::chrono::milliseconds(delay == delayMs.end() ? 0 : delay->second);
            return answer;
        }
        Answer missing;
        missing.status = 404;
        missing.reason = "Not Found";
        return missing;
    });
}

class MarketplaceRun {
public:
    explicit MarketplaceRun(std::string_view folderName, std::optional<std::string_view> optionsIni = {},
                            std::optional<std::string_view> apiAccess = {})
        : app_(withMarketplace(folderName), optionsIni, apiAccess) {}

    ProgramInFolder& app() { return app_; }
    HWND operator[](std::string_view component) const { return app_[component]; }
    std::string packagePath() const { return app_.file("package.csv"); }
    std::string log() const { return textOf(app_["编辑框2"]); }

    // The fixture list through 导入列表 and the package file through 更改.
    void prepare() {
        const std::vector<unsigned char> list = readFixture("marketplace/item_list.txt");
        ASSERT_NO_FATAL_FAILURE(importList(std::string(list.begin(), list.end()), marketplaceItems().size()));
        ASSERT_NO_FATAL_FAILURE(choosePackageFile());
    }

    // A list file of this content through 导入列表, which gives this many rows.
    void importList(const std::string& content, std::size_t rows) {
        ASSERT_NE(app_.main(), nullptr);
        ASSERT_TRUE(writeWholeFile(app_.file("item_list.txt"), content));
        ASSERT_EQ(app_.importList(app_.file("item_list.txt")), "已经成功导入宝贝列表！");
        ASSERT_TRUE(waitFor([&] { return listRowCount(app_["超级列表框1"]) == static_cast<int>(rows); }))
            << "the list file was not imported";
    }

    // packagePath() through 更改.
    void choosePackageFile() {
        pressButton(app_["添加到列表2"]);
        ASSERT_TRUE(app_.program().answerFileDialog(packagePath()));
        ASSERT_TRUE(waitFor([&] { return textOf(app_["编辑框3"]) == packagePath(); })) << textOf(app_["编辑框3"]);
    }

    void start() { pressButton(app_["开始"]); }

    // The run summary when it opens within the time.
    HWND waitForSummary(int milliseconds = 30000) { return app_.program().waitForWindow("复制完成！", milliseconds); }

    template <typename Condition>
    static bool waitFor(Condition condition, int milliseconds = 10000) {
        for (int waited = 0; waited < milliseconds; waited += 50) {
            if (condition()) return true;
            Sleep(50);
        }
        return condition();
    }

private:
    // The marketplace and its host map stand before the program starts.
    static std::string_view withMarketplace(std::string_view folderName) {
        marketplace();
        return folderName;
    }

    ProgramInFolder app_;
};

// Expected package contents are fixtures computed from the marketplace's
// pages apart from the program.
inline std::string expectedPackage(const std::string& name) {
    const std::vector<unsigned char> bytes = readFixture("marketplace/" + name);
    return std::string(bytes.begin(), bytes.end());
}

inline int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// The rows of a package after its header lines, sorted: the order of the
// rows follows the order in which items finished.
inline std::vector<std::string> sortedRows(const std::string& package, int headerLines) {
    std::vector<std::string> rows;
    int line = 0;
    for (std::size_t at = 0; at < package.size(); ++line) {
        const std::size_t end = package.find("\r\n", at);
        if (end == std::string::npos) break;
        if (line >= headerLines) rows.push_back(package.substr(at, end + 2 - at));
        at = end + 2;
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

inline void expectRunning(MarketplaceRun& run) {
    for (const char* name : {"开始", "添加到列表", "添加到列表1", "添加到列表2", "超级列表框1", "按钮6", "按钮7"})
        EXPECT_FALSE(isEnabled(run[name])) << name;
    EXPECT_TRUE(isEnabled(run["暂停按钮"]));
    EXPECT_TRUE(isEnabled(run["停止按钮"]));
}

inline void expectIdle(MarketplaceRun& run) {
    for (const char* name : {"开始", "添加到列表", "添加到列表1", "添加到列表2", "超级列表框1", "按钮6", "按钮7"})
        EXPECT_TRUE(isEnabled(run[name])) << name;
    EXPECT_FALSE(isEnabled(run["暂停按钮"]));
    EXPECT_FALSE(isEnabled(run["停止按钮"]));
}

}  // namespace quorvane::test
