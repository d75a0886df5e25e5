// Sale properties and property matching on a small category and page
// snippets given here; the option check boxes are the test's own.
#include "collect/properties/property_matching.h"

#include "tests/collect/properties/category_json.h"
#include "text/com.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>

namespace quorvane {
namespace {

using test::CategoryProperty;

const std::string& category() {
    static const std::string json = test::categoryJson({
        {"品牌", 20000, {{"轻羽", 3275069}, {"other\\/其他", 3246379}}},
        {"型号", 1632501, {{"QY-1688", 2311001}}, false, false, true, false, {20000, 3275069}},
        {"型号", 1632502, {{"QY-1688", 2312001}}, false, false, true, false, {20000, 9999888}},
        {"材质", 20021, {{"棉", 28394}}},
        {"面料材质", 122216348, {{"羊绒", 3323086}}},
        {"尺寸", 20879, {{"10:20", 111}}},
        {"净含量", 20100, {{"500g", 222}}},
        {"货号", 13021751, {}},
        {"保修", 120000, {}},
        {"颜色分类", 1627207, {{"白色", 28320}, {"红色", 28326}, {"黑色", 28341}}, true, true, true, false},
        {"尺码", 20509, {{"M", 28315}, {"L", 28316}}, true, false, false, true},
        {"长度(cm)", 1631398, {{"180", 3244121}}, true, false, true, false},
        {"版型", 20601, {{"XL", 301}, {"XL?", 302}, {"a|b", 303}}},
    });
    return json;
}

std::string tmallItem(const std::string& pair, const std::string& shown) {
    return "<li data-value=\"" + pair + "\" title=\"" + shown + "\"><a href=\"#\" role=\"button\"><span>" + shown +
           "</span></a></li>\n";
}

std::string taobaoItem(const std::string& pair, const std::string& shown) {
    return "<li data-value=\"" + pair + "\" title=\"" + shown + "\"><a href=\"javascript:;\"><span>" + shown +
           "</span></a></li>\n";
}

// The form whose anchor and text stand on lines of their own.
std::string taobaoItemOverLines(const std::string& pair, const std::string& shown) {
    return "<li data-value=\"" + pair + "\">\n<a href=\"javascript:;\">\n<span>" + shown + "</span>\n</a>\n</li>\n";
}

OptionBoxes boxes(std::set<std::string> checked) {
    return {[checked](std::string_view box) { return checked.contains(std::string(box)); }};
}

struct Rows {
    std::string cateProps, propAlias, custom, inputPids, inputValues, skuProps;
};

struct MatchCase {
    const char* why;
    bool isTmall;
    std::string page;
    std::string propertyList;
    Rows expected;
    std::set<std::string> checked = {};
    bool withCategory = true;
};

class PropertyMatchingTest : public ::testing::Test {
protected:
    ComScope com_;
    WorkerRegexes regexes_;
};

TEST_F(PropertyMatchingTest, PageValuesAndPropertiesBecomeTheCategoryPairs) {
    const MatchCase cases[] = {
        {"a shown text equal to the category's name adds its pair alone",
         true,
         tmallItem("1627207:28341", "黑色"),
         "",
         {"1627207:28341;", "", "", "", "", "S"}},
        {"a shown name of the seller's own is an alias; an unlisted pair a custom value",
         true,
         tmallItem("1627207:28320", "雪山&mdash;白") + tmallItem("1627207:1001", "深红"),
         "",
         {"1627207:28320;1627207:1001;", "1627207:28320:雪山—白;", "1627207:1001:深红;", "", "", "S"}},
        {"entities of a shown text",
         false,
         taobaoItem("1627207:1001", "藏青&quot;经典&quot;&lt;新&gt;&rarr;"),
         "",
         {"1627207:1001;", "", "1627207:1001:藏青''经典''<新>→;", "", "", "S"}},
        {"a Taobao list item over several lines",
         false,
         taobaoItemOverLines("20509:28315", "170/M"),
         "",
         {"20509:28315;", "20509:28315:170/M;", "", "", "", "S"}},
        {"an unbalanced parenthesis in a shown text",
         true,
         tmallItem("1627207:1002", "红(色"),
         "",
         {"1627207:1002;", "", "1627207:1002:红(色;", "", "", "S"}},
        {"a sale property's entries leave the list",
         true,
         "",
         "颜色分类:黑色;颜色分类:红色;材质:棉;",
         {"20021:28394;", "", "", "", "", "S"}},
        {"a standard value with a slash", true, "", "品牌:other/其他;", {"20000:3246379;", "", "", "", "", "S"}},
        {"a value with one colon; of two colons the part up to the second",
         true,
         "",
         "尺寸:10:20;尺寸:10:20:30;",
         {"20879:111;20879:111;", "", "", "", "", "S"}},
        {"a known pid with an unlisted value, inputs newest first",
         true,
         "",
         "面料材质:羊毛;货号:A-1;",
         {"122216348:573570674;13021751:573570674;", "", "", "13021751,122216348,", "A-1,羊毛,", "S"}},
        {"a property the category does not know",
         true,
         "",
         "风格:日系;",
         {"99912345:573570674;", "", "", "99912345,", "日系,", "S"}},
        {"model entries join the brand's value",
         true,
         "",
         "品牌:轻羽;型号:M;系列:S;",
         {"20000:3275069;", "", "", "20000,", "轻羽;系列;S;型号;M,", "S"}},
        {"a name of several properties is looked up under its parent's value",
         true,
         "",
         "品牌:轻羽;型号:QY-1688;",
         {"20000:3275069;1632501:2311001;", "", "", "", "", "S"}},
        {"pid 120000 is not the brand's",
         true,
         "",
         "保修:三年;型号:M;",
         {"120000:573570674;", "", "", "20000,120000,", ";型号;M,三年,", "S"}},
        {"model entries without a brand value are each kept once",
         true,
         "",
         "型号:M;系列:S;",
         {"", "", "", "20000,", ";系列;S;型号;M,", "S"}},
        {"a weight in grams is looked up under 净含量", true, "", "重量(g):500g;", {"20100:222;", "", "", "", "", "S"}},
        {"a name with a parenthesis is searched for the markers as escaped",
         true,
         "",
         "长度(cm):180;",
         {"1631398:3244121;", "", "", "", "", "S"}},
        {"a whole entry is rewritten, never part of a longer one",
         true,
         "",
         "材质:棉;面料材质:棉;",
         {"20021:28394;122216348:573570674;", "", "", "122216348,", "棉,", "S"}},
        {"a value shown among the page's sale values",
         true,
         tmallItem("1627207:28320", "雪山白"),
         "颜色:雪山白;",
         {"1627207:28320;1627207:28320;", "1627207:28320:雪山白;1627207:28320:雪山白;", "", "", "", "S"}},
        {"a Taobao value shown among the page's sale values",
         false,
         taobaoItem("20509:28316", "175/L"),
         "规格:175/L;",
         {"20509:28316;20509:28316;", "20509:28316:175/L;20509:28316:175/L;", "", "", "", "S"}},
        {"values holding pattern syntax match exactly themselves",
         true,
         "",
         "版型:XL?;版型:a|b;版型:X{2};",
         {"20601:302;20601:303;20601:573570674;", "", "", "20601,", "X{2},", "S"}},
        {"a shown text holding pattern syntax is no other value's name",
         true,
         tmallItem("1627207:28320", "白."),
         "",
         {"1627207:28320;", "1627207:28320:白.;", "", "", "", "S"}},
        {"a value holding pattern syntax is found as shown on a Taobao page",
         false,
         taobaoItem("1627207:1008", "XL") + taobaoItem("1627207:1009", "XL?"),
         "款式:XL?;",
         {"1627207:1008;1627207:1009;1627207:1009;", "1627207:1009:XL?;", "1627207:1008:XL;1627207:1009:XL?;", "", "",
          "S"}},
        {"and on a Tmall page",
         true,
         tmallItem("1627207:1008", "XL") + tmallItem("1627207:1009", "XL?"),
         "款式:XL?;",
         {"1627207:1008;1627207:1009;1627207:1009;", "1627207:1009:XL?;", "1627207:1008:XL;1627207:1009:XL?;", "", "",
          "S"}},
        {"equal entries are matched once",
         true,
         "",
         "货号:A;货号:A;",
         {"13021751:573570674;13021751:573570674;", "", "", "13021751,", "A,", "S"}},
        {"entries without a name or a value go", true, "", "材质;;货号:;:x;", {"", "", "", "", "", "S"}},
        {"without category data every value is custom or unknown",
         true,
         tmallItem("1627207:28341", "黑色"),
         "材质:棉;",
         {"1627207:28341;99912345:573570674;", "", "1627207:28341:黑色;", "99912345,", "棉,", "S"},
         {},
         false},
        {"选择框2 clears the SKUs, aliases and custom values",
         true,
         tmallItem("1627207:28320", "雪山白") + tmallItem("1627207:1001", "深红"),
         "",
         {"1627207:28320;1627207:1001;", "", "", "", "", ""},
         {"选择框2"}},
        {"选择框3 clears the aliases",
         true,
         tmallItem("1627207:28320", "雪山白") + tmallItem("1627207:1001", "深红"),
         "",
         {"1627207:28320;1627207:1001;", "", "1627207:1001:深红;", "", "", "S"},
         {"选择框3"}},
        {"选择框1 cuts long aliases",
         true,
         tmallItem("1627207:1001", "星空蓝渐变限量款式"),
         "",
         {"1627207:1001;", "", "1627207:1001:星空蓝渐变限量款;", "", "", "S"},
         {"选择框1"}},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.why);
        ItemFields item;
        item.isTmall = c.isTmall;
        item.pageText = "<ul class=\"J_TSaleProp\">\n" + c.page + "</ul>";
        item.propertyList = c.propertyList;
        item.categoryJson = c.withCategory ? category() : "";
        item.skuProps = "S";
        int unknown = 99912345;
        matchProperties(item, regexes_, boxes(c.checked), [&] { return std::to_string(unknown++); });
        EXPECT_EQ(item.cateProps, c.expected.cateProps);
        EXPECT_EQ(item.propAlias, c.expected.propAlias);
        EXPECT_EQ(item.input_custom_cpv, c.expected.custom);
        EXPECT_EQ(item.inputPids, c.expected.inputPids);
        EXPECT_EQ(item.inputValues, c.expected.inputValues);
        EXPECT_EQ(item.skuProps, c.expected.skuProps);
    }
}

// A line of list items that never show their name in a <span>, as long as
// one page had it, kept the Taobao pattern backtracking for seconds; a
// crafted item of under 1 KB that is no match, for minutes.
TEST_F(PropertyMatchingTest, AHostilePageOfListItemsCostsWellUnderASecond) {
    std::string line;
    while (line.size() < 1221) line += "<li data-value=\"1627207:28341\" title=\"x\"><a href=\"#\">x</a></li>";
    std::string crafted = "<li data-value=\"1627207:28341\" ";
    while (crafted.size() < 1000) crafted += "\" <a ";
    std::string page;
    for (int i = 0; i < 20; ++i) page += line + "\n" + crafted + "</span><span>\n";
    ItemFields item;
    item.pageText = page + taobaoItem("1627207:28320", "白色");
    item.propertyList = "风格:复古;";
    item.categoryJson = category();
    const ULONGLONG start = GetTickCount64();
    matchProperties(item, regexes_, boxes({}), [] { return std::string("99912345"); });
    // Generous for a loaded machine: each of its lines took 15 s.
    EXPECT_LT(GetTickCount64() - start, 1500u);
    EXPECT_EQ(item.cateProps, "1627207:28320;99912345:573570674;");
}

// A line of category data made for the value lookups: each of its openings
// is followed by pieces that the lookup patterns tried in every combination,
// for seconds on 64 KB and minutes on 1 MB.
TEST_F(PropertyMatchingTest, HostileCategoryDataCostsWellUnderASecond) {
    std::string crafted = R"(name_alias":"棉","pid":20021,"prop_name":"材质","sort_order":)"
                          R"(name_alias":"羊毛","pid":122216348,"prop_name":")"
                          R"(pid":1627207,"prop_name":")";
    while (crafted.size() < (1u << 20)) crafted += R"(","sort_order":,"status":"""vid"x)";
    ItemFields item;
    item.pageText = taobaoItem("1627207:1001", "深红");
    item.propertyList = "材质:棉;面料材质:羊毛;";
    item.categoryJson = category() + "\n" + crafted;
    const OptionBoxes options = boxes({"选择框5"});
    const ULONGLONG start = GetTickCount64();
    matchProperties(item, regexes_, options, [] { return std::string("99912345"); });
    finishSaleProperties(item, options);
    // Generous for a loaded machine: this takes a fraction of it.
    EXPECT_LT(GetTickCount64() - start, 2000u);
    EXPECT_EQ(item.cateProps, "1627207:28320;20021:28394;122216348:573570674;");
    EXPECT_EQ(item.propAlias, "1627207:28320:深红;");
}

TEST_F(PropertyMatchingTest, UnknownPidsFallInTheirRange) {
    for (int i = 0; i < 200; ++i) {
        const int pid = std::stoi(randomUnknownPid());
        EXPECT_GE(pid, 99900000);
        EXPECT_LE(pid, 99999999);
    }
}

TEST(CutAliasName, LongAliasesKeepEightCharactersUnder选择框1) {
    struct Case {
        const char* alias;
        bool checked;
        const char* cut;
    };
    const Case cases[] = {
        {"ABCDEFGHIJKLMNOPQRST", true, "ABCDEFGH"},
        {"ABCDEFGHIJKLMNOP", true, "ABCDEFGHIJKLMNOP"},  // 16 bytes stay whole
        {"一二三四五六七八九十", true, "一二三四五六七八"},
        {"175/L(建议140-160斤)", true, "175/L(建议"},
        {"ＡＢＣＤＥＦＧＨＩ", true, "ABCDEFGH"},  // full-width letters come back half-width
        {"ABCDEFGHIJKLMNOPQRST", false, "ABCDEFGHIJKLMNOPQRST"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alias);
        EXPECT_EQ(cutAliasName(c.alias, boxes(c.checked ? std::set<std::string>{"选择框1"} : std::set<std::string>{})),
                  c.cut);
    }
}

struct FinishFields {
    std::string propAlias, custom, cateProps, skuProps, picture, inputValues;
};

TEST_F(PropertyMatchingTest, FinishingMovesColoursAndCustomValuesOntoWholePairs) {
    constexpr const char* kNamedMain = "0123456789abcdef01234567891627975:1:0:|;";
    struct Case {
        const char* why;
        bool colourOption;
        FinishFields in;
        FinishFields out;
    };
    const Case cases[] = {
        {"colour pid 1627975 becomes 1627207 in four fields",
         true,
         {"1627975:28320:白;", "1627975:9:x;", "1627975:28320;11627975:5;", "9.00:1::1627975:28320;",
          std::string(kNamedMain) + "N:2:0:1627975:28320|;", "1627975,"},
         {"1627207:28320:白;", "1627975:9:x;", "1627207:28320;11627975:5;", "9.00:1::1627207:28320;",
          std::string(kNamedMain) + "N:2:0:1627207:28320|;", "1627975,"}},
        {"and 1626984 too",
         true,
         {"1626984:1:a;", "", "1626984:1;", "", "", ""},
         {"1627207:1:a;", "", "1627207:1;", "", "", ""}},
        {"a colour pid only in another field moves nothing",
         true,
         {"", "", "1627975:1;", "", "", ""},
         {"", "", "1627975:1;", "", "", ""}},
        {"a custom value takes the first free standard value",
         true,
         {"", "1627207:1001:深红;", "1627207:28320;1627207:1001;", "9.00:1::1627207:1001;", "N:2:0:1627207:1001|;", ""},
         {"1627207:28326:深红;", "", "1627207:28320;1627207:28326;", "9.00:1::1627207:28326;", "N:2:0:1627207:28326|;",
          ""}},
        {"1627207:1001 is not part of 1627207:10012",
         true,
         {"", "1627207:1001:深红;", "1627207:1001;1627207:10012;", "9.00:1::1627207:10012;", "", ""},
         {"1627207:28320:深红;", "", "1627207:28320;1627207:10012;", "9.00:1::1627207:10012;", "", ""}},
        {"two custom values take two standard values",
         true,
         {"", "1627207:1001:深红;1627207:1002:浅蓝;", "1627207:1001;1627207:1002;", "", "", ""},
         {"1627207:28320:深红;1627207:28326:浅蓝;", "", "1627207:28320;1627207:28326;", "", "", ""}},
        {"a shown text holding an entity's \";\" moves whole",
         true,
         {"", "1627207:1001:黑&amp;白;1627207:1002:浅蓝;", "1627207:1001;1627207:1002;", "", "", ""},
         {"1627207:28320:黑&amp;白;1627207:28326:浅蓝;", "", "1627207:28320;1627207:28326;", "", "", ""}},
        {"no free standard value: the custom value stays",
         true,
         {"a:b:c;", "1627207:1001:深红;", "1627207:28320;1627207:28326;1627207:28341;1627207:1001;", "", "", ""},
         {"a:b:c;", "1627207:1001:深红;", "1627207:28320;1627207:28326;1627207:28341;1627207:1001;", "", "", ""}},
        {"without 选择框5 only the entities change",
         false,
         {"1627975:1:&quot;a&quot; &lt;b&gt;;", "1627207:1001:深红;", "1627975:1;1627207:1001;", "", "",
          "&quot;x&quot;,&gt;y&lt;,"},
         {"1627975:1:''a'' <b>;", "1627207:1001:深红;", "1627975:1;1627207:1001;", "", "", "''x'',>y<,"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ItemFields item;
        item.categoryJson = category();
        item.propAlias = c.in.propAlias;
        item.input_custom_cpv = c.in.custom;
        item.cateProps = c.in.cateProps;
        item.skuProps = c.in.skuProps;
        item.picture = c.in.picture;
        item.inputValues = c.in.inputValues;
        finishSaleProperties(item, boxes(c.colourOption ? std::set<std::string>{"选择框5"} : std::set<std::string>{}));
        EXPECT_EQ(item.propAlias, c.out.propAlias);
        EXPECT_EQ(item.input_custom_cpv, c.out.custom);
        EXPECT_EQ(item.cateProps, c.out.cateProps);
        EXPECT_EQ(item.skuProps, c.out.skuProps);
        EXPECT_EQ(item.picture, c.out.picture);
        EXPECT_EQ(item.inputValues, c.out.inputValues);
    }
}

}  // namespace
}  // namespace quorvane
