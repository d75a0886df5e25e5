// The category cache against the loopback services: which source a category's
// data comes from, what each source is asked, what the options folder holds
// afterwards. The host map is read once per process, so this program sets it
// before any request is made.
#include "collect/properties/category_cache.h"

#include "text/codepage.h"
#include "text/files.h"
#include "text/com.h"

#include "tests/support/marketplace.h"
#include "tests/support/property_services.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <optional>
#include <thread>

namespace quorvane {
namespace {

using test::Answer;
using test::propertyFixture;

const bool mapSet = test::routeHostsToSharedMarketplace();

constexpr const char* kCid = "50010850";
constexpr const char* kItemId = "12345";

// 2016-09-08 07:00:00, in week 37.
SYSTEMTIME now() {
    SYSTEMTIME time{};
    time.wYear = 2016;
    time.wMonth = 9;
    time.wDay = 8;
    time.wHour = 7;
    return time;
}

std::wstring testFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"quorvane_category_cache\\";
}

// The names of the files in the folder; only files are ever made there.
std::vector<std::string> filesIn(const std::wstring& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(wideToGbk(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void emptyFolder(const std::wstring& folder) {
    for (const std::string& name : filesIn(folder)) DeleteFileW((folder + gbkToWide(name)).c_str());
}

std::optional<std::string> fileText(const std::wstring& path) {
    Bytes bytes;
    if (!readFileBytes(path, bytes)) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

void writeFile(const std::wstring& path, const std::string& content) { ASSERT_TRUE(writeWholeFile(path, content)); }

// The file's last write this many days before now().
void setAge(const std::wstring& path, double days) {
    SYSTEMTIME local = now(), utc;
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    FILETIME time;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &time));
    ULARGE_INTEGER ticks{{time.dwLowDateTime, time.dwHighDateTime}};
    ticks.QuadPart -= static_cast<ULONGLONG>(days * 864000000000.0);
    time = {ticks.LowPart, ticks.HighPart};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
}

// A JSON text of exactly this many bytes.
std::string paddedJson(std::size_t size) {
    const std::string head = R"({"item_props":{"item_prop":[]},"pad":")";
    return head + std::string(size - head.size() - 2, 'x') + "\"}";
}

std::string toolsData() { return propertyFixture("category_50010850.json"); }
std::string archivedData() { return propertyFixture("category_50010850_archived.json"); }
std::string outsideData() { return propertyFixture("category_50010850_outside.json"); }

Answer ok(std::string body) { return test::okAnswer(std::move(body)); }
Answer notFound() {
    Answer answer;
    answer.status = 404;
    answer.reason = "Not Found";
    return answer;
}

class CategoryCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mapSet);
        ASSERT_TRUE(createFolder(testFolder()));
        emptyFolder(testFolder());
        setLocalClock(now);
        server().clearRequests();
    }
    void TearDown() override {
        setLocalClock({});
        emptyFolder(testFolder());
        RemoveDirectoryW(testFolder().c_str());
        test::scriptPropertyServices(server(), [](Answer answer) { return answer; });
    }

    test::LoopbackServer& server() { return test::sharedMarketplace().server(); }
    std::wstring cacheFile() const { return testFolder() + gbkToWide(kCid) + L".txt"; }

    void serve(std::string_view path, Answer answer) { server().script(std::string(path), std::move(answer)); }

    int requestsTo(std::string_view path) {
        int n = 0;
        for (const auto& request : server().requests()) n += request.target.starts_with(std::string(path) + "?");
        return n;
    }

    ItemFields load(const std::string& cid, bool newest = false) {
        ItemFields item;
        item.itemId = kItemId;
        item.cid = cid;
        const OptionBoxes boxes{[newest](std::string_view box) { return newest && box == "选择框7"; }};
        loadCategoryProperties(item, {testFolder(), &lock_}, boxes);
        return item;
    }

    std::mutex lock_;
    ComScope com_;
};

enum class Data { Tools, Archive, Outside, Kept, None };

struct Asked {
    int tools, archive, outside, report;
    bool operator==(const Asked&) const = default;
};

TEST_F(CategoryCacheTest, EachSourceInTurnAndWhatItLeavesInTheCache) {
    const std::string kept700 = paddedJson(700);
    const std::string badFile = propertyFixture("tools_bad_gateway.html");
    Answer late = ok(toolsData());
    late.delayBeforeHeaders = std::chrono::milliseconds(3000);
    struct Case {
        const char* why;
        std::optional<std::string> file;  // the cache file before, and its age in days
        double age;
        bool newest;  // 选择框7
        Answer tools, archive, outside;
        Data data;  // where categoryJson comes from
        Asked asked;
        std::optional<std::string> fileAfter;
    };
    const Case cases[] = {
        {"no file: the tools service",
         std::nullopt,
         0,
         false,
         ok(toolsData()),
         notFound(),
         notFound(),
         Data::Tools,
         {1, 0, 0, 0},
         toolsData()},
        {"700 bytes, 29 days old: used",
         kept700,
         29,
         false,
         ok(toolsData()),
         notFound(),
         notFound(),
         Data::Kept,
         {0, 0, 0, 0},
         kept700},
        {"31 days old: downloaded again",
         kept700,
         31,
         false,
         ok(toolsData()),
         notFound(),
         notFound(),
         Data::Tools,
         {1, 0, 0, 0},
         toolsData()},
        {"699 bytes: downloaded again",
         paddedJson(699),
         1,
         false,
         ok(toolsData()),
         notFound(),
         notFound(),
         Data::Tools,
         {1, 0, 0, 0},
         toolsData()},
        {"选择框7: a fresh file downloaded again",
         kept700,
         1,
         true,
         ok(toolsData()),
         notFound(),
         notFound(),
         Data::Tools,
         {1, 0, 0, 0},
         toolsData()},
        {"选择框7: a bad download replaces a good file, then the archive",
         toolsData(),
         1,
         true,
         ok(badFile),
         ok(propertyFixture("category_50010850.zip")),
         notFound(),
         Data::Archive,
         {1, 1, 0, 0},
         archivedData()},
        {"a fresh file holding 502 Bad Gateway: the archive",
         badFile,
         1,
         false,
         ok(toolsData()),
         ok(propertyFixture("category_50010850.zip")),
         notFound(),
         Data::Archive,
         {0, 1, 0, 0},
         archivedData()},
        {"a bad tools answer: the archive",
         std::nullopt,
         0,
         false,
         ok(badFile),
         ok(propertyFixture("category_50010850.zip")),
         notFound(),
         Data::Archive,
         {1, 1, 0, 0},
         archivedData()},
        {"a tools answer too short, no archive: gzip and the report",
         std::nullopt,
         0,
         false,
         ok("{}"),
         notFound(),
         ok(propertyFixture("category_50010850.gz")),
         Data::Outside,
         {1, 1, 1, 1},
         outsideData() + '\0'},
        {"an error page for an archive: gzip",
         std::nullopt,
         0,
         false,
         notFound(),
         ok(badFile),
         ok(propertyFixture("category_50010850.gz")),
         Data::Outside,
         {1, 1, 1, 1},
         outsideData() + '\0'},
        {"the tools service too slow: the archive",
         std::nullopt,
         0,
         false,
         late,
         ok(propertyFixture("category_50010850.zip")),
         notFound(),
         Data::Archive,
         {1, 1, 0, 0},
         archivedData()},
        {"every source failing: nothing, an empty file",
         std::nullopt,
         0,
         false,
         notFound(),
         notFound(),
         notFound(),
         Data::None,
         {1, 1, 1, 1},
         ""},
        {"an answer that is no gzip: nothing",
         std::nullopt,
         0,
         false,
         notFound(),
         notFound(),
         ok("not a gzip stream"),
         Data::None,
         {1, 1, 1, 1},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        emptyFolder(testFolder());
        server().clearRequests();
        if (c.file) {
            writeFile(cacheFile(), *c.file);
            setAge(cacheFile(), c.age);
        }
        serve(test::kToolsPropsPath, c.tools);
        serve(test::kCategoryFilePath, c.archive);
        serve(test::kCategoryDataPath, c.outside);
        test::ScopedRequestLimit limit(1000);
        const ItemFields item = load(kCid, c.newest);

        const std::map<Data, std::string> expected = {{Data::Tools, toolsData()},
                                                      {Data::Archive, archivedData()},
                                                      {Data::Outside, outsideData()},
                                                      {Data::Kept, c.file.value_or("")},
                                                      {Data::None, ""}};
        EXPECT_EQ(item.categoryJson, utf8TextToGbk(expected.at(c.data)));
        EXPECT_EQ((Asked{requestsTo(test::kToolsPropsPath), requestsTo(test::kCategoryFilePath),
                         requestsTo(test::kCategoryDataPath), requestsTo(test::kCategoryReportPath)}),
                  c.asked);
        EXPECT_EQ(fileText(cacheFile()), c.fileAfter);
        EXPECT_EQ(filesIn(testFolder()), std::vector<std::string>{std::string(kCid) + ".txt"});
    }
}

TEST_F(CategoryCacheTest, TheServicesAreAskedWithTheCategoryAndTheWeeksFileName) {
    serve(test::kToolsPropsPath, notFound());
    serve(test::kCategoryFilePath, notFound());
    serve(test::kCategoryDataPath, notFound());
    load(kCid);
    EXPECT_EQ(server().lastRequest(test::kToolsPropsPath).target, "/apitools/ajax_props.do?act=props&cid=50010850");
    EXPECT_EQ(server().lastRequest(test::kToolsPropsPath).header("Host"), "tools.quorvane.net");
    // RC4 of "50010850.txt.zip" under the key "37", computed apart.
    EXPECT_EQ(server().lastRequest(test::kCategoryFilePath).target,
              "/quorvane_api/down.php?un=0C777CA74263C74A92C381DF9A61D2D5");
    EXPECT_EQ(server().lastRequest(test::kCategoryFilePath).header("Host"), "files.quorvane.net");
    EXPECT_EQ(server().lastRequest(test::kCategoryDataPath).target, "/cat2.aspx?cid=50010850");
    EXPECT_EQ(server().lastRequest(test::kCategoryDataPath).header("Host"), "categories.quorvane.net");
    EXPECT_EQ(server().lastRequest(test::kCategoryReportPath).target, "/quorvane_api/mem.php?id=12345&cid=9950010850");
    EXPECT_EQ(server().lastRequest(test::kCategoryReportPath).header("Host"), "files.quorvane.net");
}

TEST_F(CategoryCacheTest, AnEmptyCategoryIdNamesTheFileTxtAndAsksWithNothingAfterCid) {
    serve(test::kToolsPropsPath, notFound());
    serve(test::kCategoryFilePath, notFound());
    serve(test::kCategoryDataPath, notFound());
    EXPECT_EQ(load("").categoryJson, "");
    EXPECT_EQ(server().lastRequest(test::kToolsPropsPath).target, "/apitools/ajax_props.do?act=props&cid=");
    EXPECT_EQ(server().lastRequest(test::kCategoryFilePath).target, "/quorvane_api/down.php?un=173334E25C219B0A");
    EXPECT_EQ(server().lastRequest(test::kCategoryDataPath).target, "/cat2.aspx?cid=");
    EXPECT_EQ(server().lastRequest(test::kCategoryReportPath).target, "/quorvane_api/mem.php?id=12345&cid=99");
    EXPECT_EQ(filesIn(testFolder()), std::vector<std::string>{".txt"});
}

TEST_F(CategoryCacheTest, ACategoryIdThatIsNotDigitsAsksNothingAndTouchesNoFile) {
    for (const char* cid : {"..\\50010850", "5001 0850", "50010850&x=1", "123456789012345678901"}) {
        SCOPED_TRACE(cid);
        writeFile(testFolder() + L"kept.txt", "kept");
        EXPECT_EQ(load(cid).categoryJson, "");
        EXPECT_TRUE(server().requests().empty());
        EXPECT_EQ(filesIn(testFolder()), std::vector<std::string>{"kept.txt"});
    }
}

TEST_F(CategoryCacheTest, AHostileArchiveGivesItsOneCategoryFileAndWritesNothingElse) {
    serve(test::kToolsPropsPath, notFound());
    serve(test::kCategoryFilePath, ok(propertyFixture("category_hostile.zip")));
    const std::wstring outside = testFolder() + L"..\\escaped.txt";
    DeleteFileW(outside.c_str());
    EXPECT_EQ(load(kCid).categoryJson, utf8TextToGbk(archivedData()));
    EXPECT_EQ(filesIn(testFolder()), std::vector<std::string>{std::string(kCid) + ".txt"});
    EXPECT_FALSE(fileExists(outside));
    EXPECT_FALSE(fileExists(L"C:\\escaped.txt"));
    EXPECT_FALSE(fileExists(testFolder() + L"sub"));
}

// Answers once count requests have come, all at the same moment, so that
// the workers go on together.
test::LoopbackServer::Responder togetherAfter(int count, Answer answer) {
    struct Gate {
        std::mutex lock;
        std::condition_variable opened;
        int arrived = 0;
    };
    auto gate = std::make_shared<Gate>();
    return [gate, count, answer](const test::RecordedRequest&) {
        std::unique_lock lock(gate->lock);
        ++gate->arrived;
        gate->opened.notify_all();
        gate->opened.wait_for(lock, std::chrono::seconds(5), [&] { return gate->arrived >= count; });
        return answer;
    };
}

TEST_F(CategoryCacheTest, FiveWorkersOnOneCategoryLeaveOneCompleteFile) {
    struct Case {
        const char* why;
        bool fromTools;
        std::string data;
        std::string file;
    };
    const Case cases[] = {
        {"all from the tools service, written under the lock", true, toolsData(), toolsData()},
        {"all through the gzip fallback, written without the lock at the same time", false, outsideData(),
         outsideData() + '\0'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        emptyFolder(testFolder());
        if (c.fromTools) {
            Answer slow = ok(toolsData());
            slow.delayBeforeHeaders = std::chrono::milliseconds(100);
            serve(test::kToolsPropsPath, slow);
            serve(test::kCategoryDataPath, notFound());
        } else {
            serve(test::kToolsPropsPath, notFound());
            server().script(std::string(test::kCategoryDataPath),
                            togetherAfter(5, ok(propertyFixture("category_50010850.gz"))));
        }
        serve(test::kCategoryFilePath, notFound());
        std::vector<std::string> loaded(5);
        std::vector<std::thread> workers;
        for (int n = 0; n < 5; ++n)
            workers.emplace_back([&, n] {
                ComScope com;
                loaded[n] = load(kCid).categoryJson;
            });
        for (std::thread& worker : workers) worker.join();
        for (const std::string& json : loaded) EXPECT_EQ(json, utf8TextToGbk(c.data));
        EXPECT_EQ(filesIn(testFolder()), std::vector<std::string>{std::string(kCid) + ".txt"});
        EXPECT_EQ(fileText(cacheFile()), c.file);
    }
}

}  // namespace
}  // namespace quorvane
