// The wrap rule of captions and the lines of a wrapping label, in the
// interface font. Widths are given in the font's own text extents, so the
// cases hold whatever font stands in for 宋体.
#include "app/runtime/caption_layout.h"
#include "app/runtime/interface_font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::ui {
namespace {

class CaptionLayoutTest : public ::testing::Test {
protected:
    CaptionLayoutTest() : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, interfaceFont())) {}
    ~CaptionLayoutTest() override {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }

    int extent(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    HDC dc_;
    HGDIOBJ old_;
};

TEST_F(CaptionLayoutTest, CaptionsWrapWhereTwoLinesFitOrTheTextBreaksItsLines) {
    struct Case {
        const char* why;
        int height;
        std::wstring text;
        bool wraps;
    };
    const Case cases[] = {
        {"one line of room", 24, L"生成数据包", false},
        {"room for two lines", 30, L"查看上传教程及解决上传中的问题", true},
        {"a line break in a low label", 16, L"一\r\n二", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(captionWraps(c.height, c.text), c.wraps);
    }
}

TEST_F(CaptionLayoutTest, LabelLinesBreakChineseAnywhereAndMoveLatinWordsWhole) {
    struct Case {
        const char* why;
        std::wstring text;
        int width;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {"Chinese breaks before the character that overflows", L"甲乙丙丁", extent(L"甲乙丙"), {L"甲乙丙", L"丁"}},
        {"a text that fits stays one line", L"甲乙丙丁", extent(L"甲乙丙丁"), {L"甲乙丙丁"}},
        {"a word moves whole and the blank before it goes", L"ab cd", extent(L"ab c"), {L"ab", L"cd"}},
        {"an address after Chinese moves whole", L"如：http://a.b", extent(L"如：http://a.b") - 1,
         {L"如：", L"http://a.b"}},
        {"a word that fills a line alone is cut", L"aaaaaaaa", extent(L"aaaa"), {L"aaaa", L"aaaa"}},
        {"the text's own line breaks, empty lines kept", L"一\r\n\r\n二", extent(L"一"), {L"一", L"", L"二"}},
        {"no room still shows every character", L"甲乙", 0, {L"甲", L"乙"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(labelLines(dc_, c.text, c.width), c.lines);
    }
}

TEST_F(CaptionLayoutTest, LabelLinesLieOneEmApart) {
    // 9 points at 96 dots an inch, the em of the 宋体 the layouts were drawn for.
    EXPECT_EQ(labelLinePitch(dc_), 12);
}

}  // namespace
}  // namespace quorvane::ui
