#include "collect/package/package_format.h"

#include "collect/package/package_writer.h"
#include "package_items.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <future>

namespace quorvane {
namespace {

std::string fixtureText(const std::string& name) {
    const auto bytes = test::readFixture(name);
    return std::string(bytes.begin(), bytes.end());
}

std::string withoutHeader(const std::string& fileText, int format) {
    return fileText.substr((format == 4 ? PackageHeader4X : PackageHeader5X).size());
}

TEST(PackageFormat, HeadersByteForByte) {
    EXPECT_EQ(PackageHeader4X, fixtureText("package_header_4x.csv"));
    EXPECT_EQ(PackageHeader5X, fixtureText("package_header_5x.csv"));
}

TEST(PackageFormat, RowsOfBothLayouts) {
    struct Case {
        int format;
        const char* fixture;
    };
    for (const Case& c : {Case{4, "package_4x.csv"}, Case{5, "package_5x.csv"}}) {
        RunState run;
        run.reset(2);
        ASSERT_TRUE(appendPackageRow(test::firstPackageItem(), c.format, run));
        ASSERT_TRUE(appendPackageRow(test::secondPackageItem(), c.format, run));
        EXPECT_EQ(run.SuccessCount, 2);
        EXPECT_EQ(packageFileText(run.PackageText, c.format), fixtureText(c.fixture)) << c.fixture;
    }
}

TEST(PackageFormat, PackageTextKeepsPlaceholders) {
    const std::string row = *buildPackageRow(test::secondPackageItem(), 4);
    EXPECT_EQ(row.rfind("|*|第二件|*|,1512,|*||*|,0,", 0), 0u) << row;
    EXPECT_EQ(row.find('"'), std::string::npos);
}

// Each value alone in a quoted field: what the file holds for it.
TEST(PackageFormat, QuotedValuesStayOneField) {
    struct Case {
        const char* value;
        const char* field;
    };
    const Case cases[] = {
        {"plain", "\"plain\""},
        {"a\"b", "\"a\"\"b\""},                      // a lone quote is doubled
        {"a\"\"b", "\"a\"\"b\""},                    // a quote doubled by the extraction stays
        {"\"\"\"", "\"\"\"\"\"\""},                  // an odd run gets one more
        {"end\"", "\"end\"\"\""},
        {"|*|", "\"|*|\""},                          // the placeholder's text is not a quote
        {"x|*", "\"x|*\""},                          // nor with the closing placeholder beside it
        {"*|y", "\"*|y\""},
        {"||", "\"||\""},
        {"|;a|;", "\"|;a|;\""},
        {"", "\"\""},
    };
    for (const Case& c : cases) {
        const std::string packageText =
            std::string(QuotePlaceholder) + quotedPackageValue(c.value) + std::string(QuotePlaceholder) + ",1\r\n";
        EXPECT_EQ(withoutHeader(packageFileText(packageText, 5), 5), std::string(c.field) + ",1\r\n") << c.value;
    }
}

// The food-safety field stands bare between 新品 and the quoted, empty 尺码库.
TEST(PackageFormat, BareTextThatWouldSplitTheRowIsQuoted) {
    struct Case {
        const char* value;
        const char* field;
    };
    const Case cases[] = {
        {"配料表:水;", "配料表:水;"},
        {"配料表:水,糖;", "\"配料表:水,糖;\""},
        {"配料表:\"水\";", "\"配料表:\"\"水\"\";\""},
        {"配料表:水\r糖;", "\"配料表:水\r糖;\""},
        {"配料表:水\n糖;", "\"配料表:水\n糖;\""},
    };
    for (const Case& c : cases) {
        ItemFields item = test::secondPackageItem();
        item.foodparame = c.value;
        const std::string file = withoutHeader(packageFileText(*buildPackageRow(item, 5), 5), 5);
        EXPECT_NE(file.find(",0,0," + std::string(c.field) + ",\"\","), std::string::npos) << file;
    }
}

TEST(PackageFormat, RewriteSeesEachQuotedValueOnce) {
    const std::string packageText = *buildPackageRow(test::firstPackageItem(), 5);
    std::vector<std::string> values;
    const std::string same = rewriteQuotedValues(packageText, [&](std::string_view value) {
        values.emplace_back(value);
        return std::string(value);
    });
    EXPECT_EQ(same, packageText);
    ASSERT_EQ(values.size(), 19u);  // the quoted fields of a 5.X row
    EXPECT_EQ(values[0], "测试宝贝, 含逗号");
    EXPECT_EQ(values[5], "<p class=\"\"intro\"\">描述||说明</p>");
    EXPECT_EQ(values[8], "http://img.example/a.jpg:1:0:||;");
}

// Bare page values are written as the page gives them unless they would
// break the row; the ids must be digits.
TEST(PackageFormat, BareValuesFailTheItemOnlyWhenTheyWouldBreakTheRow) {
    struct Case {
        const char* itemId;
        const char* cid;
        const char* price;
        const char* num;
        UnsafeBareField unsafe;  // column "" when the row is written
    };
    const Case cases[] = {
        {"520000000001", "50010850", "99.00", "15", {}},
        {"520000000001", "", "", "", {}},  // markers missing from the page
        {"1", "1", "699.00 - 799.00", "1", {}},  // a price range as the page shows it
        {"1", "1", "5.", "10件", {}},
        {"1", "1", "-5", "-1", {}},
        {"1", "1", "1||2", "3|4", {}},  // bars survive the file's un-doubling
        {"", "1", "12", "1", {"数字ID", "不是数字"}},
        {"5200a", "1", "12", "1", {"数字ID", "不是数字"}},
        {"52,1", "1", "12", "1", {"数字ID", "不是数字"}},
        {"520&x=1", "1", "12", "1", {"数字ID", "不是数字"}},
        {"1", "50010850\"", "12", "1", {"宝贝类目", "不是数字"}},
        {"1", " 1", "12", "1", {"宝贝类目", "不是数字"}},  // it names a cache file
        {"1", "1", "12,00", "1", {"宝贝价格", "含逗号"}},
        {"1", "1", "12\"", "1", {"宝贝价格", "含双引号"}},
        {"1", "1", "12", "1\r\n", {"宝贝数量", "含换行符"}},
        {"1", "1", "12", "1\n", {"宝贝数量", "含换行符"}},
        {"1", "1", "12", "|*|1", {"宝贝数量", "含引号占位符|*|"}},
        {"1", "1", "12,00", "1\r", {"宝贝价格", "含逗号"}},  // the first unsafe value is named
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.itemId) + " " + c.cid + " " + c.price + " " + c.num);
        ItemFields item = test::secondPackageItem();
        item.itemId = c.itemId;
        item.cid = c.cid;
        item.price = c.price;
        item.num = c.num;
        const std::optional<UnsafeBareField> unsafe = unsafeBareField(item);
        EXPECT_EQ(unsafe.value_or(UnsafeBareField{}), c.unsafe);

        RunState run;
        run.reset(1);
        const bool written = c.unsafe.column.empty();
        EXPECT_EQ(appendPackageRow(item, 5, run), written);
        EXPECT_EQ(run.SuccessCount, written ? 1 : 0);
        if (written) {
            const std::string fields =
                std::string(",") + c.cid + ",\"\",1,\"上海\",\"上海\",1," + c.price + ",0," + c.num + ",7,";
            EXPECT_NE(withoutHeader(packageFileText(run.PackageText, 5), 5).find(fields), std::string::npos)
                << run.PackageText;
        } else {
            EXPECT_TRUE(run.PackageText.empty());
        }
    }
}

TEST(PackageFormat, TheRowAndWhatTheCallerRecordsAreOneStep) {
    RunState run;
    run.reset(2);
    std::vector<int> seen;
    // The callback sees the row and its count already, and no other thread
    // can take the run lock meanwhile.
    const auto record = [&] {
        const bool lockFree = std::async(std::launch::async, [&] {
                                  const bool taken = run.lock.try_lock();
                                  if (taken) run.lock.unlock();
                                  return taken;
                              }).get();
        EXPECT_FALSE(lockFree);
        seen.push_back(run.SuccessCount);
    };
    ASSERT_TRUE(appendPackageRow(test::firstPackageItem(), 5, run, record));
    ItemFields untitled = test::secondPackageItem();
    untitled.title.clear();
    EXPECT_FALSE(appendPackageRow(untitled, 5, run, record));
    EXPECT_EQ(seen, std::vector<int>{1});
}

// A stop claims the run's end and writes what the text holds then; a worker
// still computing must not add a row the file will not hold.
TEST(PackageFormat, NoRowIsAddedOnceTheRunEndIsClaimed) {
    RunState run;
    run.reset(2);
    ASSERT_TRUE(appendPackageRow(test::firstPackageItem(), 5, run));
    const std::string written = run.PackageText;
    run.runEndClaimed = true;
    bool recorded = false;
    EXPECT_FALSE(appendPackageRow(test::secondPackageItem(), 5, run, [&] { recorded = true; }));
    EXPECT_EQ(run.PackageText, written);
    EXPECT_EQ(run.SuccessCount, 1);
    EXPECT_FALSE(recorded);
}

TEST(PackageFormat, EmptyTitleGivesNoRow) {
    ItemFields item = test::firstPackageItem();
    item.title.clear();
    RunState run;
    run.reset(1);
    EXPECT_FALSE(appendPackageRow(item, 4, run));
    EXPECT_TRUE(run.PackageText.empty());
    EXPECT_EQ(run.SuccessCount, 0);
}

}  // namespace
}  // namespace quorvane
