#include "collect/package/package_writer.h"

#include "collect/package/package_format.h"
#include "package_items.h"
#include "tests/support/fixtures.h"
#include "text/codepage.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace quorvane {
namespace {

// Files go to a folder of their own under the test's working folder.
std::string outputPath(const std::string& name) {
    static const bool made = CreateDirectoryW(L"collect_writer_out", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    EXPECT_TRUE(made);
    return "collect_writer_out\\" + name;
}

std::string readFile(const std::string& path) {
    std::ifstream in(gbkToWide(path).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool fileExists(const std::string& path) { return GetFileAttributesW(gbkToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

struct Writer {
    PackageWriteOptions options;
    std::vector<std::string> log;
    std::string pathBox = "unchanged";
    int optionReads = 0;

    PackageWriterSeams seams() {
        return {[this] {
                    ++optionReads;
                    return options;
                },
                [this](const std::string& text) { pathBox = text; }, [this](const std::string& m) { log.push_back(m); }};
    }
};

ItemFields itemWithDescription(const std::string& itemId, const std::string& description) {
    ItemFields item = test::secondPackageItem();
    item.itemId = itemId;
    item.description = description;
    return item;
}

// The description field of each row of a written 4.X file, between its quotes.
std::vector<std::string> descriptionsOf(const std::string& file) {
    std::vector<std::string> descriptions;
    const std::string marker = "\"\",,\"";  // 开始时间 quoted and empty, 心情故事 empty
    for (std::size_t at = file.find(marker); at != std::string::npos; at = file.find(marker, at + 1)) {
        const std::size_t start = at + marker.size();
        const std::size_t end = file.find("\",,\"", start);  // 宝贝图片 empty, then 宝贝属性
        if (end == std::string::npos) break;
        descriptions.push_back(file.substr(start, end - start));
        at = end;
    }
    return descriptions;
}

TEST(AppendPackageRow, FiveWorkersAppendWholeRows) {
    constexpr int kWorkers = 5, kRowsEach = 200;
    RunState run;
    run.reset(kWorkers * kRowsEach);
    const std::string row = *buildPackageRow(test::firstPackageItem(), 5);
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&run] {
            for (int i = 0; i < kRowsEach; ++i) EXPECT_TRUE(appendPackageRow(test::firstPackageItem(), 5, run));
        });
    }
    for (std::thread& worker : workers) worker.join();
    EXPECT_EQ(run.SuccessCount, kWorkers * kRowsEach);
    ASSERT_EQ(run.PackageText.size(), row.size() * kWorkers * kRowsEach);
    for (std::size_t at = 0; at < run.PackageText.size(); at += row.size()) {
        ASSERT_EQ(run.PackageText.compare(at, row.size(), row), 0) << "row at " << at;
    }
}

TEST(WriteDataPackage, WritesTheFileInGbkWithItsLogLines) {
    RunState run;
    run.reset(9);
    ASSERT_TRUE(appendPackageRow(test::firstPackageItem(), 5, run));
    ASSERT_TRUE(appendPackageRow(test::secondPackageItem(), 5, run));
    run.FailureCount = 7;

    Writer writer;
    writer.options.packageFormat = 5;
    writer.options.packagePath = outputPath("数据包 五.csv");
    EXPECT_TRUE(writeDataPackage(run, {PackageCaller::LastWorker, 3, 7}, writer.seams()));

    const auto expectedFile = test::readFixture("package_5x.csv");
    EXPECT_EQ(readFile(writer.options.packagePath), std::string(expectedFile.begin(), expectedFile.end()));
    const std::vector<std::string> expected = {
        "  线程：3 第：7/9 个宝贝 下载完成！成功： 2 失败：7 正在写文件...",
        " 文件写成功！",
        " 数据包存放位置" + writer.options.packagePath,
    };
    EXPECT_EQ(writer.log, expected);
    EXPECT_EQ(writer.pathBox, PackagePathHint);
    EXPECT_EQ(writer.optionReads, 1);
}

TEST(WriteDataPackage, RunWithoutRowsWritesTheHeaderAlone) {
    for (int format : {4, 5}) {
        RunState run;
        run.reset(2);
        run.FailureCount = 2;
        Writer writer;
        writer.options.packageFormat = format;
        writer.options.packagePath = outputPath("empty.csv");
        EXPECT_TRUE(writeDataPackage(run, {PackageCaller::LastWorker, 1, 0}, writer.seams()));
        EXPECT_EQ(readFile(writer.options.packagePath), format == 4 ? PackageHeader4X : PackageHeader5X);
        EXPECT_EQ(writer.log.front(), "  线程：1 第：0/2 个宝贝 下载完成！成功： 0 失败：2 正在写文件...");
    }
}

TEST(WriteDataPackage, FailedWriteIsReportedAndLeavesNoFile) {
    RunState run;
    run.reset(1);
    ASSERT_TRUE(appendPackageRow(test::firstPackageItem(), 4, run));
    for (const std::string& path : {outputPath("no such folder\\x.csv"), std::string("")}) {
        Writer writer;
        writer.options.packageFormat = 4;
        writer.options.packagePath = path;
        EXPECT_FALSE(writeDataPackage(run, {PackageCaller::StopHandler}, writer.seams()));
        const std::vector<std::string> expected = {" 文件写失败！", " 数据包存放位置" + path};
        EXPECT_EQ(writer.log, expected);
        EXPECT_EQ(writer.pathBox, PackagePathHint);
        if (!path.empty()) {
            EXPECT_FALSE(fileExists(path));
        }
    }
}

TEST(WriteDataPackage, LockedFileIsAFailedWrite) {
    const std::string path = outputPath("locked.csv");
    HANDLE held = CreateFileW(gbkToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    RunState run;
    run.reset(1);
    Writer writer;
    writer.options.packagePath = path;
    EXPECT_FALSE(writeDataPackage(run, {PackageCaller::StopHandler}, writer.seams()));
    EXPECT_EQ(writer.log.front(), " 文件写失败！");
    CloseHandle(held);
}

TEST(WriteDataPackage, PostProcessingByCallerAndOptions) {
    const auto last = PackageCaller::LastWorker;
    const auto stop = PackageCaller::StopHandler;
    const auto redirect = HyperlinkHandling::Redirect;
    const auto remove = HyperlinkHandling::Remove;
    const auto keep = HyperlinkHandling::Keep;
    struct Case {
        const char* name;
        PackageCaller caller;
        bool tables;
        HyperlinkHandling links;
        std::vector<std::string> descriptions;  // as the items hold them
        std::vector<std::string> written;       // as the file holds them
        std::vector<std::string> messages;      // the clean-up's log lines
    };
    const std::string tableStart = "  根据设置，正在进行去除促销表格处理……";
    const std::string tableEnd = "  促销表格处理完毕";
    const std::string linkStart = "  根据设置，正在进行描述超链接处理……";
    const std::string linkEnd = "  描述超链接处理完毕";
    const Case cases[] = {
        {"tables in either case", last, true, keep,
         {"a<TABLE border=\"\"1\"\"><tr><td>x</td></tr></TABLE>b<table>y</table>c"},
         {"abc"}, {tableStart, tableEnd}},
        {"tables left when the option is off", last, false, keep, {"a<table>y</table>b"}, {"a<table>y</table>b"}, {}},
        {"stop handler keeps tables", stop, true, keep, {"a<table>y</table>b"}, {"a<table>y</table>b"}, {}},
        {"unclosed table stays in its row", last, true, keep,
         {"a<TABLE class=\"\"x\"\">open", "b<table>y</table>c", "d</TABLE>e"},
         {"a<TABLE class=\"\"x\"\">open", "bc", "d</TABLE>e"}, {tableStart, tableEnd}},
        {"links removed", last, false, remove,
         {"<a href=\"\"http://x.example/\"\">go</a> and <A HREF=\"\"y\"\">y</A>"}, {"go and y"}, {linkStart, linkEnd}},
        {"links redirected", last, false, redirect,
         {"<a href=\"\"http://x.example/\"\">go</a><a href=\"\"\"\">e</a>"},
         {"<a href=\"\"A$1\\(x)?:\"\">go</a><a href=\"\"A$1\\(x)?:\"\">e</a>"}, {linkStart, linkEnd}},
        {"kept links", last, false, keep, {"<a href=\"\"h\"\">k</a>"}, {"<a href=\"\"h\"\">k</a>"}, {}},
        {"upper-case HREF for the last worker", last, false, remove, {"<A HREF=\"\"h\"\">k</A>"}, {"k"},
         {linkStart, linkEnd}},
        {"upper-case HREF left by the stop handler", stop, false, remove, {"<A HREF=\"\"h\"\">k</A>"},
         {"<A HREF=\"\"h\"\">k</A>"}, {}},
        {"lower-case href for the stop handler", stop, false, remove, {"<a href=\"\"h\"\">k</a>"}, {"k"},
         {linkStart, linkEnd}},
        {"no table, no link: no steps", last, true, remove, {"plain"}, {"plain"}, {}},
    };
    for (const Case& c : cases) {
        RunState run;
        run.reset(static_cast<int>(c.descriptions.size()));
        for (std::size_t i = 0; i < c.descriptions.size(); ++i) {
            ASSERT_TRUE(appendPackageRow(itemWithDescription(std::to_string(i + 1), c.descriptions[i]), 4, run));
        }
        Writer writer;
        writer.options.packageFormat = 4;
        writer.options.removePromotionTables = c.tables;
        writer.options.hyperlinks = c.links;
        writer.options.replacementAddress = "A$1\\(x)?:";
        writer.options.packagePath = outputPath("clean.csv");
        ASSERT_TRUE(writeDataPackage(run, {c.caller, 1, 1}, writer.seams())) << c.name;

        EXPECT_EQ(descriptionsOf(readFile(writer.options.packagePath)), c.written) << c.name;

        // Without the lines every write ends with (the summary line is the last worker's only).
        const std::size_t tail = c.caller == last ? 3 : 2;
        ASSERT_GE(writer.log.size(), tail) << c.name;
        const std::vector<std::string> messages(writer.log.begin(), writer.log.end() - tail);
        EXPECT_EQ(messages, c.messages) << c.name;
    }
}

TEST(WriteDataPackage, LastWorkerKeepsItsCleanedTextStopHandlerWritesACopy) {
    for (PackageCaller caller : {PackageCaller::LastWorker, PackageCaller::StopHandler}) {
        RunState run;
        run.reset(1);
        ASSERT_TRUE(appendPackageRow(itemWithDescription("1", "<a href=\"\"h\"\">k</a>"), 5, run));
        const std::string before = run.PackageText;
        Writer writer;
        writer.options.hyperlinks = HyperlinkHandling::Remove;
        writer.options.packagePath = outputPath("copy.csv");
        ASSERT_TRUE(writeDataPackage(run, {caller, 1, 1}, writer.seams()));
        if (caller == PackageCaller::LastWorker) {
            EXPECT_EQ(run.PackageText.find("href"), std::string::npos);
            EXPECT_NE(run.PackageText.find(QuotePlaceholder), std::string::npos);
        } else {
            EXPECT_EQ(run.PackageText, before);
        }
    }
}

TEST(WriteDataPackage, StopWhileWorkersAppendWritesWholeRows) {
    RunState run;
    run.reset(100000);
    const std::string row = *buildPackageRow(test::firstPackageItem(), 5);
    ASSERT_TRUE(appendPackageRow(test::firstPackageItem(), 5, run));
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop) appendPackageRow(test::firstPackageItem(), 5, run);
    });
    Writer writer;
    writer.options.packagePath = outputPath("stop.csv");
    const bool written = writeDataPackage(run, {PackageCaller::StopHandler}, writer.seams());
    stop = true;
    worker.join();
    ASSERT_TRUE(written);

    const std::string rows = readFile(writer.options.packagePath).substr(PackageHeader5X.size());
    const std::string fileRow = packageFileText(row, 5).substr(PackageHeader5X.size());
    ASSERT_FALSE(rows.empty());
    ASSERT_EQ(rows.size() % fileRow.size(), 0u);
    for (std::size_t at = 0; at < rows.size(); at += fileRow.size()) {
        ASSERT_EQ(rows.compare(at, fileRow.size(), fileRow), 0) << "row at " << at;
    }
}

TEST(WriteDataPackage, ACraftedValueIsCleanedWithTheRest) {
    // Many table starts and no end: a backtracking engine gives up on this
    // value and would leave its closed table in place.
    std::string open;
    while (open.size() < 200000) open += "<TABLE class=x>cell ";
    RunState run;
    run.reset(3);
    ASSERT_TRUE(appendPackageRow(itemWithDescription("1", "a<table>x</table>b"), 4, run));
    ASSERT_TRUE(appendPackageRow(itemWithDescription("2", "e<table>z</table>f" + open), 4, run));
    ASSERT_TRUE(appendPackageRow(itemWithDescription("3", "c<table>y</table>d"), 4, run));

    Writer writer;
    writer.options.packageFormat = 4;
    writer.options.removePromotionTables = true;
    writer.options.packagePath = outputPath("heavy.csv");
    ASSERT_TRUE(writeDataPackage(run, {PackageCaller::LastWorker, 2, 3}, writer.seams()));

    const std::vector<std::string> written = descriptionsOf(readFile(writer.options.packagePath));
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[0], "ab");
    EXPECT_TRUE(written[1] == "ef" + open);  // not printed: 200 KB
    EXPECT_EQ(written[2], "cd");
    ASSERT_GE(writer.log.size(), 2u);
    EXPECT_EQ(writer.log[0], "  根据设置，正在进行去除促销表格处理……");
    EXPECT_EQ(writer.log[1], "  促销表格处理完毕");
}

}  // namespace
}  // namespace quorvane
