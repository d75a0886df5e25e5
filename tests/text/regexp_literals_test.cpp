// Plain text in the regular-expression object's terms.
#include "text/regexp_literals.h"

#include "text/codepage.h"
#include "text/com.h"
#include "text/regexp.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

// Each escaped text matches exactly itself in the object, and not the text
// that it would match as pattern syntax.
TEST(EscapedForRegExp, ATextMatchesExactlyItself) {
    ComScope com;
    RegExpA regExp;
    struct Case {
        std::string text;
        std::string asSyntaxMatches;
    };
    const Case cases[] = {
        {"XL?", "X"},
        {"a|b", "a"},
        {"x{2}", "xx"},
        {"x{", "x"},
        {"}", "x"},
        {"^x$", "x"},
        {"\\d", "5"},
        {"a\\", "a"},
        {"a.b", "axb"},
        {"(x)", "x"},
        {"[ab]", "a"},
        {"a+", "aa"},
        {"a*", "a"},
        {"1/2", "12"},
        {"^$\\.*+?()[]{}|/", "x"},
        {"\x81\x5c\x81\x7c\x81\x7b", "x"},  // double-byte characters whose second byte is syntax
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(regExp.create(escapedForRegExp(c.text)));
        ASSERT_EQ(regExp.execute("<" + c.text + ">" + c.asSyntaxMatches), 1);
        EXPECT_EQ(regExp.matchText(1), c.text);
        EXPECT_EQ(regExp.execute(c.asSyntaxMatches), 0);
    }
}

TEST(EscapedForRegExp, TextWithoutSyntaxStaysAsItIs) {
    for (const std::string text : {"白色 170cm", "A-1,B_2;C:3", "&quot;x&lt;", "\x81\x40\x81\x61"})
        EXPECT_EQ(escapedForRegExp(text), text);
}

// Every occurrence is found from each position on, in order and after going
// back, as a plain search finds it.
TEST(ForwardSearch, FindsWhatAPlainSearchFinds) {
    struct Case {
        std::wstring text, word;
    };
    const Case cases[] = {
        {L"aaaaa", L"aa"},
        {L"abababab", L"abab"},
        {L"xabcabcabdx", L"abcabd"},
        {L"StOcK stock", L"stock"},
        {L"ＡΣб ａσБ", L"ａσБ"},
        {L"abc", L"abcd"},
        {L"", L"a"},
        {L"ab", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(wideToGbk(c.text) + " / " + wideToGbk(c.word));
        const auto plain = [&](std::size_t from) {
            for (std::size_t at = from; at <= c.text.size(); ++at)
                if (holdsAt(c.text, at, c.word)) return at;
            return std::wstring::npos;
        };
        ForwardSearch search(c.text, c.word);
        for (std::size_t from = 0; from <= c.text.size() + 1; ++from) EXPECT_EQ(search.next(from), plain(from)) << from;
        EXPECT_EQ(search.next(1), plain(1));
        EXPECT_EQ(search.next(0), plain(0));
    }
}

}  // namespace
}  // namespace quorvane
