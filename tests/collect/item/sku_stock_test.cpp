// The SKU stock reader against the regular-expression object it stands in
// for: on every answer below both give the same stock.
#include "collect/item/sku_stock.h"

#include "text/com.h"
#include "text/regexp.h"
#include "text/regexp_literals.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>

namespace quorvane {
namespace {

class SkuStockTest : public ::testing::Test {
protected:
    std::optional<std::string> objectStock(const std::string& answer, const std::string& key) {
        regExp_.create(escapedForRegExp(key) + std::string(kSkuStockTail));
        if (regExp_.execute(answer) == 0) return std::nullopt;
        return regExp_.subMatchText(1, 1);
    }

    void expectSameAsObject(const std::string& answer, std::initializer_list<std::string> keys) {
        SCOPED_TRACE(answer);
        for (const std::string& key : keys) {
            SCOPED_TRACE(key);
            EXPECT_EQ(skuStock(answer, key), objectStock(answer, key));
        }
    }

    ComScope com_;
    RegExpA regExp_;
};

TEST_F(SkuStockTest, TrickyAnswersReadAsTheObjectReadsThem) {
    struct Case {
        const char* why;
        std::string answer;
    };
    const Case cases[] = {
        {"the usual answer",
         R"({"sku":{";1627207:28320;":{"oversold":false,"stock":12},";1627207:28341;":{"stock":"0"}}})"},
        {"a stock over lines and blanks", ";1627207:28320;\":{\n  \"stock\" :\r\n \"7\"\n}"},
        {"a stock followed by a comma gives way to a later one", R"(;1:2;":{"stock":5,"x":1},";3:4;":{"stock":6})"},
        {"no digits: the group is empty before the last brace or quote", R"(;1:2;":{"stock":"", "a" : x} y)"},
        {"no digits: the group is empty before a quote", R"(;1:2;":{"stock":"" x)"},
        {"no brace or quote after the stock's digits", ";1:2;\":{\"stock\":5 ;3:4;\":{\"stock\" 8 z"},
        {"a stock before the key counts for nothing", R"("stock":1};1:2;":{"a":2})"},
        {"the key's second copy", R"(;1:2;":{"a":1};1:2;":{"stock":3})"},
        {"letter case", R"(;A:B;":{"STOCK":4})"},
        {"a stock word right after another", R"(;1:2;":{"stock"stock":9})"},
        {"text that ends among non-digits", R"(;1:2;":{"stock")"},
        {"double-byte characters", ";\x81\x5c:\x81\x7d;\":{\"stock\":\"\x81\x7d\"3\"}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        expectSameAsObject(c.answer, {"1627207:28320", "1627207:28341", "1:2", "3:4", "a:b", "", "\x81\x5c:\x81\x7d"});
    }
}

TEST_F(SkuStockTest, AKeyIsPlainText) {
    const std::string answer = R"(;1x2;":{"stock":1};1.2;":{"stock":2};(1|2);":{"stock":3})";
    EXPECT_EQ(skuStock(answer, "1.2"), "2");
    EXPECT_EQ(skuStock(answer, "(1|2)"), "3");
    EXPECT_EQ(skuStock(answer, "1?2"), std::nullopt);
}

// Answers made at random of the pieces the pattern turns on.
TEST_F(SkuStockTest, RandomAnswersReadAsTheObjectReadsThem) {
    const std::string pieces[] = {";1:2;\":{", "\"stock\"", "\"STOCK\"", ":", "12", "3", "}",
                                  "\"",        " ",         "\n",        "x", "中", ","};
    std::mt19937 random(20261213);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 16);
    for (int n = 0; n < 1500; ++n) {
        std::string answer;
        for (int i = length(random); i > 0; --i) answer += pieces[piece(random)];
        expectSameAsObject(answer, {"1:2"});
        if (HasFailure()) return;
    }
}

// What took the object seconds on 64 KB, here on 4 MB.
TEST_F(SkuStockTest, ACraftedAnswerCostsNoTime) {
    std::string answer;
    while (answer.size() < (4u << 20)) answer += R"(1:2;":{x)";
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(skuStock(answer, "1:2"), std::nullopt);
    // Generous for a loaded machine: this takes a fraction of it.
    EXPECT_LT(GetTickCount64() - start, 2000u);
}

}  // namespace
}  // namespace quorvane
