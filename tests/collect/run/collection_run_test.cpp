// Whole runs of the five workers against the loopback marketplace. The host
// map is read once per process, so this program sets it before any request.
#include "collect/run/collection_run.h"

#include "text/codepage.h"

#include "tests/support/marketplace.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <sstream>
#include <stdexcept>

namespace quorvane {
namespace {


const bool mapSet = test::routeHostsToSharedMarketplace();

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A run with recording seams; the package goes to a file of its own.
struct RecordedRun {
    std::mutex lock;
    std::vector<std::string> log;
    std::vector<int> selected;
    std::promise<RunOutcome> ended;
    int endings = 0;
    std::string path;
    std::wstring cacheFolder;
    std::shared_ptr<CollectionRun> run;

    RecordedRun(const std::vector<CollectionRow>& rows, const std::string& name,
                const std::function<void(CollectionSeams&)>& adjust = {}) {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        path = std::string(folder) + name + ".csv";
        DeleteFileA(path.c_str());
        CollectionSeams seams;
        seams.log = [this](const std::string& message) {
            std::lock_guard guard(lock);
            log.push_back(message);
        };
        seams.rowCopied = [this](int row) {
            std::lock_guard guard(lock);
            selected.push_back(row);
        };
        seams.packageFormat = [] { return 5; };
        cacheFolder = gbkToWide(std::string(folder) + name + "_options\\");
        CreateDirectoryW(cacheFolder.c_str(), nullptr);
        seams.categoryCacheFolder = cacheFolder;
        seams.writer.readOptions = [this] {
            PackageWriteOptions options;
            options.packagePath = path;
            return options;
        };
        seams.writer.setPackagePathText = [](const std::string&) {};
        seams.writer.log = seams.log;
        seams.runEnded = [this](const RunOutcome& outcome) {
            bool first = false;
            {
                std::lock_guard guard(lock);
                first = endings++ == 0;
            }
            if (first) ended.set_value(outcome);
        };
        if (adjust) adjust(seams);
        run = std::make_shared<CollectionRun>(rows, ApiAccessList{{"2300099", "salt-99"}}, seams);
        run->state().PackageFolder = folder;
        run->state().PackageBaseName = name;
    }

    // The seams point here: no thread of the run may still be in one.
    ~RecordedRun() {
        EXPECT_TRUE(run->endForExit(10000));
        // The run's category cache: files only.
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((cacheFolder + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW((cacheFolder + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(cacheFolder.c_str());
    }

    std::string allLog() {
        std::lock_guard guard(lock);
        std::string text;
        for (const auto& line : log) text += line + "\n";
        return text;
    }
};

std::vector<CollectionRow> rowsOf(std::initializer_list<const test::MarketplaceItem*> items) {
    std::vector<CollectionRow> rows;
    for (const auto* item : items) rows.push_back({std::string("宝贝") + item->id, item->id});
    return rows;
}

class CollectionRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mapSet);
        test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(0));
    }
    void TearDown() override { test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(0)); }
};

TEST_F(CollectionRunTest, EveryRowIsTakenOnceAndTheLastWorkerWritesThePackage) {
    const auto rows = rowsOf({&test::kTaobaoItem, &test::kTmallItem, &test::kNoTitleItem, &test::kTaobaoItem,
                              &test::kTmallItem, &test::kTaobaoItem, &test::kTmallItem});
    RecordedRun recorded(rows, "collection_run_all");
    recorded.run->start();
    auto ended = recorded.ended.get_future();
    ASSERT_EQ(ended.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    const RunOutcome outcome = ended.get();
    ASSERT_TRUE(recorded.run->waitUntilWorkersLeft(5000));

    EXPECT_EQ(outcome.total, 7);
    EXPECT_EQ(outcome.succeeded, 6);
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_TRUE(outcome.packageWritten);
    EXPECT_EQ(outcome.copiedRows, (std::vector<int>{0, 1, 3, 4, 5, 6}));
    for (int k = 1; k <= 7; ++k) {
        SCOPED_TRACE(k);
        const std::string item = "第：" + std::to_string(k) + "/7 个宝贝";
        int starts = 0, ends = 0;
        for (const std::string& line : recorded.log) {
            starts += line.starts_with("线程：") && line.find("  开始下载 " + item + ":") != std::string::npos;
            // The item-end line has one blank before the worker part; the writer's summary two.
            ends += line.starts_with(" 线程：") && line.ends_with(" " + item + " 下载完成！");
        }
        EXPECT_EQ(starts, 1);
        EXPECT_EQ(ends, 1);
    }
    EXPECT_EQ(recorded.endings, 1);
    const std::string package = readWhole(recorded.path);
    EXPECT_EQ(occurrences(package, "\r\n"), 3 + 6);  // the header's three lines and one row per copied item
    EXPECT_EQ(recorded.run->state().SuccessCount, 6);
}

TEST_F(CollectionRunTest, AnEmptyRunEndsAtOnce) {
    RecordedRun recorded({}, "collection_run_empty");
    recorded.run->start();
    auto ended = recorded.ended.get_future();
    ASSERT_EQ(ended.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(ended.get().total, 0);
}

TEST_F(CollectionRunTest, APausedRunTakesNothingUntilItGoesOn) {
    RecordedRun recorded(rowsOf({&test::kTaobaoItem, &test::kTmallItem}), "collection_run_pause");
    recorded.run->pause();
    recorded.run->start();
    Sleep(500);
    EXPECT_EQ(recorded.allLog(), "");
    recorded.run->resume();
    auto ended = recorded.ended.get_future();
    ASSERT_EQ(ended.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_EQ(ended.get().succeeded, 2);
}

TEST_F(CollectionRunTest, StoppingAbandonsTheRequestsInFlight) {
    struct Case {
        bool writePackage;
    };
    for (const Case c : {Case{true}, Case{false}}) {
        SCOPED_TRACE(c.writePackage);
        test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(20000));
        RecordedRun recorded(rowsOf({&test::kTaobaoItem, &test::kTmallItem, &test::kTaobaoItem}),
                             c.writePackage ? "collection_run_stop_yes" : "collection_run_stop_no");
        recorded.run->start();
        Sleep(300);
        const DWORD start = GetTickCount();
        ASSERT_TRUE(recorded.run->stop(c.writePackage));
        // The caller (the interface thread) does not wait for the workers.
        EXPECT_LT(GetTickCount() - start, 500u);
        auto ended = recorded.ended.get_future();
        ASSERT_EQ(ended.wait_for(std::chrono::seconds(3)), std::future_status::ready);
        const RunOutcome outcome = ended.get();
        EXPECT_TRUE(recorded.run->waitUntilWorkersLeft(1000));
        EXPECT_EQ(outcome.ending, c.writePackage ? RunEnding::StopWithPackage : RunEnding::StopWithoutPackage);
        EXPECT_EQ(outcome.packageWritten, c.writePackage);
        EXPECT_EQ(outcome.succeeded, 0);
        EXPECT_EQ(outcome.failed, 3);
        EXPECT_TRUE(outcome.copiedRows.empty());
        const std::string package = readWhole(recorded.path);
        if (c.writePackage) {
            EXPECT_EQ(occurrences(package, "\r\n"), 3);  // the header alone
        } else {
            EXPECT_EQ(package, "");
        }
        // The run's end is taken: a second stop does nothing.
        EXPECT_FALSE(recorded.run->stop(true));
        EXPECT_EQ(recorded.endings, 1);
    }
}

TEST_F(CollectionRunTest, AStopAfterTheRunEndedDoesNothing) {
    RecordedRun recorded(rowsOf({&test::kTaobaoItem}), "collection_run_late_stop");
    recorded.run->start();
    auto ended = recorded.ended.get_future();
    ASSERT_EQ(ended.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_EQ(ended.get().ending, RunEnding::LastWorker);
    EXPECT_FALSE(recorded.run->stop(true));
    EXPECT_TRUE(recorded.run->endForExit(1000));
    EXPECT_EQ(recorded.endings, 1);
}

TEST_F(CollectionRunTest, ExitEndsARunInFlightWithoutAPackage) {
    test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(20000));
    RecordedRun recorded(rowsOf({&test::kTaobaoItem, &test::kTmallItem}), "collection_run_exit");
    recorded.run->start();
    Sleep(300);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(recorded.run->endForExit(3000));
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(readWhole(recorded.path), "");
}

// An exception inside an item's steps fails that item only: the worker goes
// on, the run ends, and the log says what happened.
TEST_F(CollectionRunTest, AnExceptionInAnItemFailsThatItemOnly) {
    auto calls = std::make_shared<std::atomic<int>>(0);
    RecordedRun recorded(rowsOf({&test::kTaobaoItem, &test::kTmallItem, &test::kTaobaoItem}),
                         "collection_run_exception", [calls](CollectionSeams& seams) {
                             seams.packageFormat = [calls]() -> int {
                                 if (calls->fetch_add(1) == 0) throw std::runtime_error("layout unknown");
                                 return 5;
                             };
                         });
    recorded.run->start();
    auto ended = recorded.ended.get_future();
    ASSERT_EQ(ended.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    const RunOutcome outcome = ended.get();
    EXPECT_EQ(outcome.succeeded, 2);
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_NE(recorded.allLog().find(" 个宝贝 出错：layout unknown"), std::string::npos) << recorded.allLog();
}

TEST_F(CollectionRunTest, ATimedOutItemFailsAlone) {
    test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(1500));
    // Outlives the run, whose workers ask for it at each request.
    test::ScopedRequestLimit limit(500);
    RecordedRun recorded(rowsOf({&test::kTaobaoItem}), "collection_run_timeout");
    recorded.run->start();
    auto ended = recorded.ended.get_future();
    ASSERT_EQ(ended.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    const RunOutcome outcome = ended.get();
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_TRUE(outcome.copiedRows.empty());
    EXPECT_NE(recorded.allLog().find("第：1/1 个宝贝 下载完成！"), std::string::npos);
}

}  // namespace
}  // namespace quorvane
