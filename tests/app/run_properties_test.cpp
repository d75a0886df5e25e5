// The properties of a Taobao and a Tmall item in whole runs under the
// options that change them, saved or only ticked: each run's rows are the
// rows of the default run (run_package_5x.csv) with the fields of the option
// set's table changed, and the request log shows which services each run
// asked.
#include "tests/app/marketplace_run.h"
#include "tests/support/description_services.h"
#include "tests/support/property_services.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

// The fields of a CSV line as they stand, quotes included.
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

std::string quoted(const std::string& value) {
    std::string text = "\"";
    for (char c : value) text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + "\"";
}

// The row of an item in a 5.X package, by its num_id.
std::vector<std::string> rowOf(const std::string& package, const std::string& itemId) {
    constexpr std::size_t kNumId = 36;
    for (const std::string& line : sortedRows(package, 3)) {
        std::vector<std::string> fields = rawFields(line.substr(0, line.size() - 2));
        if (fields.size() > kNumId && fields[kNumId] == itemId) return fields;
    }
    return {};
}

// The 5.X fields an option changes, by their places in the row.
enum Field : std::size_t { kCateProps = 21, kPicture = 28, kSkuProps = 30, kPropAlias = 34, kCustomValues = 49 };

struct ItemChanges {
    const MarketplaceItem* item;
    std::vector<std::pair<Field, std::string>> fields;
};

struct OptionSet {
    const char* name;
    const char* testName;
    const char* option;  // the options.ini line, or "" to tick the box unsaved before the run
    std::vector<ItemChanges> changes;
};

class RunPropertiesTest : public ::testing::TestWithParam<OptionSet> {};

TEST_P(RunPropertiesTest, TheOptionsChangeTheirFieldsOnly) {
    const OptionSet& set = GetParam();
    const std::string list = expectedPackage("item_list.txt");
    const std::string twoItems = list.substr(0, list.find("\r\n", list.find("\r\n") + 2) + 2);
    marketplace().server().clearRequests();
    MarketplaceRun run(std::string("属性选项") + set.name,
                       "[DL_PIC]\r\n" + std::string(set.option) + "\r\n[SAVE]\r\ntype=5\r\n");
    ASSERT_NO_FATAL_FAILURE(run.importList(twoItems, 2));
    ASSERT_NO_FATAL_FAILURE(run.choosePackageFile());
    if (!*set.option) {
        pressButton(run[set.name]);
        ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isChecked(run[set.name]); }));
    }
    run.start();
    ASSERT_NE(run.waitForSummary(), nullptr) << run.log();

    const std::optional<std::string> package = comparablePackage(run.packagePath());
    ASSERT_TRUE(package);
    const std::string defaults = expectedPackage("run_package_5x.csv");
    for (const MarketplaceItem* item : {&kTaobaoItem, &kTmallItem}) {
        SCOPED_TRACE(item->id);
        std::vector<std::string> expected = rowOf(defaults, item->id);
        ASSERT_EQ(expected.size(), 50u);
        for (const ItemChanges& changes : set.changes)
            if (changes.item == item)
                for (const auto& [field, value] : changes.fields) expected[field] = quoted(value);
        EXPECT_EQ(rowOf(*package, item->id), expected);
    }

    // Per item: its data, the mobile detail service and the tools service
    // for its category (a run of its own starts with an empty cache), the
    // Taobao item's stock, and the descriptions; nothing of the fallbacks.
    std::map<std::string, int> asked;
    int pictures = 0;
    for (const RecordedRequest& request : marketplace().server().requests()) {
        const std::string path = request.target.substr(0, request.target.find('?'));
        // The main window's web views ask for its start and help pages.
        if (path == "/start.htm" || path == "/help.htm") continue;
        if (servedPicture(std::string(kPictureHost) + path)) {
            ++pictures;
        } else {
            ++asked[path];
        }
    }
    EXPECT_EQ(asked, (std::map<std::string, int>{{std::string(kItemDataPath), 2},
                                                 {std::string(kStockPath), 1},
                                                 {std::string(kMobileDetailPath), 2},
                                                 {std::string(kToolsPropsPath), 2},
                                                 {std::string(kDescriptionPath), 1},
                                                 {std::string(kTmallDescriptionPath), 1},
                                                 {std::string(kWirelessDescriptionPath), 2}}));
    // Each of the two items' main, sale-property and description pictures
    // once, the one the Taobao description names twice twice: the Taobao
    // item 3 + 2 + 6, the Tmall item 3 + 2 + 4.
    EXPECT_EQ(pictures, 11 + 9);
}

const ItemChanges kCutTmallAliases{&kTmallItem,
                                   {{kPropAlias, "1627207:28320:雪山白;20509:28315:170/M;20509:28316:175/L(建议;"},
                                    {kCustomValues, "1627207:3232481:星空蓝渐变限量款;"}}};

INSTANTIATE_TEST_SUITE_P(
    Options, RunPropertiesTest,
    ::testing::Values(
        OptionSet{"选择框1", "ShortAliases", "zly=1", {kCutTmallAliases}},
        OptionSet{"选择框2",
                  "NoSaleProperties",
                  "xsby=1",
                  {{&kTaobaoItem, {{kSkuProps, ""}, {kPropAlias, ""}, {kCustomValues, ""}}},
                   {&kTmallItem, {{kSkuProps, ""}, {kPropAlias, ""}, {kCustomValues, ""}}}}},
        OptionSet{"选择框3", "NoAliases", "", {{&kTmallItem, {{kPropAlias, ""}}}}},
        // The saved layout keeps the main pictures' form; only the
        // sale-property pictures follow the radio button as it stands.
        OptionSet{
            "单选框1",
            "SalePropertyPicturesIn4XForm",
            "",
            {{&kTaobaoItem,
              {{kPicture, "{NAME}:1:0:|;{NAME}:1:1:|;{NAME}:1:0:1627207:28341|;{NAME}:1:0:1627207:28338|;"}}},
             {&kTmallItem,
              {{kPicture,
                "{NAME}:1:0:|;{NAME}:1:1:|;{NAME}:1:2:|;{NAME}:1:0:1627207:28341|;{NAME}:1:0:1627207:3232481|;"}}}}},
        OptionSet{"选择框5",
                  "StandardColours",
                  "",
                  {{&kTaobaoItem,
                    {{kCateProps,
                      "1627207:28341;1627207:28320;20509:28315;20509:28316;20000:3246379;20021:105255;"
                      "122216348:573570674;20603:29453;122216608:3267959;122216608:3267960;1631398:573570674;"
                      "21541:573570674;122276315:573570674;13021751:573570674;"},
                     {kSkuProps,
                      "138.00:::1627207:28320;20509:28316;138.00:35::1627207:28320;20509:28315;"
                      "128.00:31::1627207:28341;20509:28316;128.00:20::1627207:28341;20509:28315;"},
                     {kPropAlias, "1627207:28320:藏青''经典'';"},
                     {kPicture, "{NAME}:1:0:|;{NAME}:1:1:|;{NAME}:2:0:1627207:28341|;{NAME}:2:0:1627207:28320|;"},
                     {kCustomValues, ""}}},
                   {&kTmallItem,
                    {{kCateProps,
                      "1627207:28341;1627207:28320;1627207:28324;20509:28315;20509:28316;20000:3275069;"
                      "1632501:2311001;122216589:3233431;122216525:3340066;122216586:573570674;122216347:3323080;"
                      "13021751:573570674;"},
                     {kPropAlias,
                      "1627207:28320:雪山白;20509:28315:170/M;20509:28316:175/L(建议140-160斤);"
                      "1627207:28324:星空蓝渐变限量款式;"},
                     {kPicture,
                      "{NAME}:1:0:|;{NAME}:1:1:|;{NAME}:1:2:|;{NAME}:2:0:1627207:28341|;{NAME}:2:0:1627207:28324|;"},
                     {kCustomValues, ""}}}}}),
    [](const auto& info) { return std::string(info.param.testName); });

}  // namespace
}  // namespace quorvane::test
