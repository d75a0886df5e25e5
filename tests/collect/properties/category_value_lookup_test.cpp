// The category value lookups against the regular-expression object they stand
// in for: on every text below both give the same matches.
#include "collect/properties/category_value_lookup.h"

#include "tests/collect/properties/category_json.h"
#include "text/com.h"
#include "text/regexp.h"
#include "text/regexp_literals.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>

namespace quorvane {

void PrintTo(const ValueObjectMatch& match, std::ostream* out) {
    *out << "{" << match.pid << ", " << match.vidPart << "}";
}

namespace {

struct Lookup {
    std::string alias, name;
};

class CategoryValueLookupTest : public ::testing::Test {
protected:
    std::vector<ValueObjectMatch> objectNamed(const std::string& json, const Lookup& lookup) {
        regExp_.create("name_alias\":\"" + escapedForRegExp(lookup.alias) + "\",\"pid\":(\\d*?),\"prop_name\":\"" +
                       escapedForRegExp(lookup.name) + std::string(kNamedValueTail));
        std::vector<ValueObjectMatch> matches;
        for (int i = 1, count = regExp_.execute(json); i <= count; ++i)
            matches.push_back({regExp_.subMatchText(i, 1), regExp_.subMatchText(i, 2)});
        return matches;
    }

    std::vector<std::string> objectVids(const std::string& json, const std::string& opening) {
        regExp_.create(escapedForRegExp(opening) + std::string(kAnyNameValueTail));
        std::vector<std::string> vids;
        for (int i = 1, count = regExp_.execute(json); i <= count; ++i) vids.push_back(regExp_.subMatchText(i, 1));
        return vids;
    }

    void expectSameAsObject(const std::string& json, const std::vector<Lookup>& lookups,
                            const std::vector<std::string>& openings) {
        SCOPED_TRACE(json);
        for (const Lookup& lookup : lookups) {
            SCOPED_TRACE(lookup.alias + " / " + lookup.name);
            EXPECT_EQ(valueObjectsNamed(json, lookup.alias, lookup.name), objectNamed(json, lookup));
        }
        for (const std::string& opening : openings) {
            SCOPED_TRACE(opening);
            EXPECT_EQ(valueObjectVids(json, opening), objectVids(json, opening));
        }
    }

    ComScope com_;
    RegExpA regExp_;
};

TEST_F(CategoryValueLookupTest, TrickyDataReadsAsTheObjectReadsIt) {
    const std::string usual = test::categoryJson({
        {"品牌", 20000, {{"轻羽", 3275069}, {"other\\/其他", 3246379}}},
        {"型号", 1632501, {{"QY-1688", 2311001}}, false, false, true, false, {20000, 3275069}},
        {"型号", 1632502, {{"QY-1688", 2312001}}},
        {"尺码", 20509, {{"XL", 301}, {"XL?", 302}, {"a|b", 303}, {"(大)", 304}}},
    });
    const std::vector<Lookup> usualLookups = {{"轻羽", "品牌"}, {"other\\/其他", "品牌"}, {"QY-1688", "型号"},
                                              {"XL?", "尺码"},  {"XL", "尺码"},           {"a|b", "尺码"},
                                              {"(大)", "尺码"}, {"xl", "尺码"},           {"轻羽", "型号"}};
    const std::vector<std::string> usualOpenings = {"name_alias\":\"QY-1688\",\"pid\":1632502,\"prop_name\":\"",
                                                    "name_alias\":\"XL?\",\"pid\":20509,\"prop_name\":\"",
                                                    "pid\":20509,\"prop_name\":\"", "pid\":1632501,\"prop_name\":\"",
                                                    "pid\":,\"prop_name\":\""};
    expectSameAsObject(usual, usualLookups, usualOpenings);

    const char* kOpening = "name_alias\":\"V\",\"pid\":1,\"prop_name\":\"";
    struct Case {
        const char* why;
        std::string json;
    };
    const Case cases[] = {
        {"letter case of the keys",
         R"({"NAME_ALIAS":"v","PID":7,"Prop_Name":"n","SORT_ORDER":1,"Status":"x","VID":9})"},
        {"a line end in each lazy part",
         "name_alias\":\"V\",\"pid\":1,\"prop_name\":\"N\",\"sort_order\":\n1,\"status\":\"x\",\"vid\":2}"
         "name_alias\":\"V\",\"pid\":1,\"prop_name\":\"N\",\"sort_order\":1,\"status\":\"\r\",\"vid\":3}"
         "name_alias\":\"V\",\"pid\":1,\"prop_name\":\"N\",\"sort_order\":1,\"status\":\"x\",\"vid\":4}"},
        {"a vid without digits, with other text before its brace, and a good one after",
         "name_alias\":\"V\",\"pid\":1,\"prop_name\":\"N\",\"sort_order\":,\"status\":\"\",\"vid\":}"
         ",\"status\":\"\",\"vid\":5x},\"vid\":6}"},
        {"a pid that is no number",
         "name_alias\":\"V\",\"pid\":1a,\"prop_name\":\"N\",\"sort_order\":,\"status\":\"\",\"vid\":6}"},
        {"an opening inside the lazy part of the one before",
         "name_alias\":\"V\",\"pid\":1,\"prop_name\":\"N\",\"sort_order\":"
         "name_alias\":\"V\",\"pid\":2,\"prop_name\":\"N\",\"sort_order\":,\"status\":\"\",\"vid\":7}"},
        {"an opening that fails before one that matches",
         "name_alias\":\"V\",\"pid\":1,\"prop_name\":\"N\",\"sort_order\":,\"status\":\"\n"
         "name_alias\":\"V\",\"pid\":3,\"prop_name\":\"N\",\"sort_order\":,\"status\":\"\",\"vid\":8}"},
        {"the lazy parts stop at their first literal",
         "name_alias\":\"V\",\"pid\":1,\"prop_name\":\"N\",\"sort_order\":\",\"sort_order\":,\"status\":\",\"status\":"
         "\""
         "\",\"vid\":1},\"vid\":2}\",\"vid\":3}"},
        {"the parts from the crafted data",
         std::string(kOpening) + R"(","sort_order":,"status":"""vid"x,"status":""","vid":9})"},
        {"double-byte characters whose second byte is a quote's neighbour",
         "name_alias\":\"\x81\x5c\",\"pid\":1,\"prop_name\":\"\x81\x7c\",\"sort_order\":\x81\x7d,\"status\":"
         "\"\x81\x5b\","
         "\"vid\":1}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        expectSameAsObject(c.json, {{"V", "N"}, {"v", "n"}, {"\x81\x5c", "\x81\x7c"}},
                           {kOpening, "name_alias\":\"V\",\"pid\":3,\"prop_name\":\"",
                            "name_alias\":\"v\",\"pid\":7,\"prop_name\":\""});
    }
}

// Data made at random: value objects whose parts are each kept, dropped, or
// joined by a piece that the patterns turn on.
TEST_F(CategoryValueLookupTest, RandomDataReadsAsTheObjectReadsIt) {
    const std::string parts[] = {"name_alias\":\"V\",\"pid\":",
                                 "1",
                                 ",\"prop_name\":\"",
                                 "N",
                                 "\",\"sort_order\":",
                                 "2",
                                 ",\"status\":\"",
                                 "x",
                                 "\",\"vid\":",
                                 "3",
                                 "}"};
    const std::string pieces[] = {"\",\"sort_order\":",
                                  ",\"status\":\"",
                                  "\",\"vid\":",
                                  "\"vid\"",
                                  "}",
                                  "\n",
                                  "x",
                                  "\"",
                                  ":",
                                  "中",
                                  "NAME_ALIAS\":\"v\",\"PID\":",
                                  "4"};
    std::mt19937 random(20261212);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> objects(1, 4), change(0, 9);
    for (int n = 0; n < 1500; ++n) {
        std::string json;
        for (int k = objects(random); k > 0; --k) {
            for (const std::string& part : parts) {
                const int roll = change(random);
                if (roll == 0) continue;
                if (roll == 1) json += pieces[piece(random)];
                json += part;
            }
        }
        expectSameAsObject(json, {{"V", "N"}}, {"name_alias\":\"V\",\"pid\":1,\"prop_name\":\""});
        if (HasFailure()) return;
    }
}

// What took the object seconds on 64 KB (the first pattern) and on 8 KB (the
// second), here on 4 MB.
TEST_F(CategoryValueLookupTest, CraftedDataCostsNoTime) {
    std::string named = R"(name_alias":"V","pid":1,"prop_name":"N","sort_order":)";
    std::string anyName = R"(name_alias":"V","pid":1,"prop_name":")";
    while (named.size() < (4u << 20)) named += R"(,"status":"""vid"x)";
    while (anyName.size() < (4u << 20)) anyName += R"(","sort_order":,"status":"""vid"x)";
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(valueObjectsNamed(named, "V", "N").empty());
    EXPECT_TRUE(valueObjectVids(anyName, R"(name_alias":"V","pid":1,"prop_name":")").empty());
    // Generous for a loaded machine: this takes a fraction of it.
    EXPECT_LT(GetTickCount64() - start, 2000u);
}

}  // namespace
}  // namespace quorvane
