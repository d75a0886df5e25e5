// Where the pages and descriptions name their pictures, how a reference is
// rewritten, and which answers count as a picture that did not come.
#include "collect/descriptions/picture_references.h"
#include "collect/pictures/item_pictures.h"
#include "collect/pictures/picture_check.h"

#include "text/com.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(IsFailedPicture, NoBytesTheBlankPictureOrA404) {
    Bytes blank(BlankPicture.begin(), BlankPicture.end());
    Bytes longerThanBlank = blank;
    longerThanBlank.push_back(0);
    Bytes shorterThanBlank(blank.begin(), blank.end() - 1);
    struct Case {
        const char* why;
        Bytes bytes;
        bool failed;
    };
    const Case cases[] = {
        {"no bytes", {}, true},
        {"the blank picture", blank, true},
        {"the blank picture and one byte more", longerThanBlank, false},
        {"the blank picture without its last byte", shorterThanBlank, false},
        {"an error page", bytesOf("<html><title>404 Not Found</title></html>"), true},
        {"another error page", bytesOf("<html><title>500 Internal Error</title></html>"), false},
        {"a GIF whose size bytes read 404", bytesOf("GIF89a404\x01\x00"), true},
        {"404 after the first zero byte", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, '4', '0', '4'}, false},
        {"a JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(isFailedPicture(c.bytes), c.failed);
    }
}

TEST(BlankPicture, IsTheMarketplacesPlaceholderGif) {
    const std::string hex =
        "47494638396101000100910000000000ffffffffffff00000021f90401000002002c00000000010001000002025401003b";
    std::string written;
    for (unsigned char byte : BlankPicture) {
        constexpr char kDigits[] = "0123456789abcdef";
        written += kDigits[byte >> 4];
        written += kDigits[byte & 0xf];
    }
    EXPECT_EQ(written, hex);
}

class PictureReferencesTest : public ::testing::Test {
protected:
    ComScope com_;
    RegExpA regExp_;
};

TEST_F(PictureReferencesTest, EachPassFindsItsAddresses) {
    const auto passes = descriptionPicturePasses();
    ASSERT_EQ(passes.size(), 3u);
    struct Case {
        const char* why;
        std::size_t pass;
        const char* text;
        std::vector<std::string> addresses;
    };
    const Case cases[] = {
        {"IMG tags in any case, their quotes doubled",
         0,
         R"(<p><img align=""absmiddle"" src=""http://a/1.jpg"" /><IMG src=""http://a/2.gif""></p>)",
         {"a/1.jpg", "a/2.gif"}},
        {"the same address twice",
         0,
         R"(<img src=""http://a/1.jpg""><img src=""http://a/1.jpg"">)",
         {"a/1.jpg", "a/1.jpg"}},
        {"an IMG with a local or a relative address is not a web picture",
         0,
         R"(<img src=""file:///C:\x.jpg""><img src=""//a/1.jpg""><img src=""HTTP://a/3.jpg"">)",
         {"a/3.jpg"}},
        {"a background is not an IMG", 0, R"(<td background=""http://a/bg.jpg"">)", {}},
        {"wireless img elements",
         1,
         "<wapDesc><img>http://a/1.jpg</img><txt>x</txt><IMG>http://a/2.jpg</IMG></wapDesc>",
         {"a/1.jpg", "a/2.jpg"}},
        {"backgrounds",
         2,
         R"(<td background=""http://a/bg.jpg""><table BACKGROUND=""http://a/t.png"">)",
         {"a/bg.jpg", "a/t.png"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(pictureAddresses(c.text, passes[c.pass], regExp_), c.addresses);
    }
    EXPECT_EQ(passes[0].text, PictureText::Description);
    EXPECT_EQ(passes[1].text, PictureText::WirelessDescription);
    EXPECT_EQ(passes[2].text, PictureText::Description);
    EXPECT_TRUE(passes[0].fileScheme);
    EXPECT_FALSE(passes[1].fileScheme);
    EXPECT_TRUE(passes[2].fileScheme);
}

TEST(ReplacePictureAddress, OnlyWholeAddressesInAnyCase) {
    struct Case {
        const char* why;
        const char* text;
        const char* address;
        const char* result;
    };
    const Case cases[] = {
        {"an address that begins another", R"(src=""http://a.jpg"" src=""http://a.jpg_60x60.jpg"")", "a.jpg",
         R"(src=""L"" src=""http://a.jpg_60x60.jpg"")"},
        {"and the longer one itself", R"(src=""http://a.jpg"" src=""http://a.jpg_60x60.jpg"")", "a.jpg_60x60.jpg",
         R"(src=""http://a.jpg"" src=""L"")"},
        {"every occurrence, letter case ignored", R"(""HTTP://A.jpg"" ""http://a.JPG"")", "a.jpg", R"(""L"" ""L"")"},
        {"a wireless element", "<img>http://a.jpg</img><img>http://a.jpg.png</IMG>", "a.jpg",
         "<img>L</img><img>http://a.jpg.png</IMG>"},
        {"a background's closing", R"(background=""http://a.jpg"" x=""http://a.jpg"")", "a.jpg",
         R"(background=""L"" x=""L"")"},
        {"a style's url(...) closed by a bracket", R"(<IMG src=""http://a/1.jpg""><p style=""background:url(http://a/1.jpg)"">)",
         "a/1.jpg", R"(<IMG src=""L""><p style=""background:url(L)"">)"},
        {"closed by an apostrophe, a blank or a tag", "'http://a.jpg' http://a.jpg <b>http://a.jpg</b>", "a.jpg",
         "'L' L <b>L</b>"},
        {"a query, a fragment or a path goes on", "http://a.jpg?x=1 http://a.jpg#f http://a.jpg/b http://a.jpg&amp;",
         "a.jpg", "http://a.jpg?x=1 http://a.jpg#f http://a.jpg/b http://a.jpg&amp;"},
        {"at the very end", "x http://a.jpg", "a.jpg", "x L"},
        {"GBK text around it stays", R"(图片""http://a.jpg""说明)", "a.jpg", R"(图片""L""说明)"},
        {"a Chinese file name goes on", "http://a/图.jpg", "a/", "http://a/图.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(replacePictureAddress(c.text, c.address, "L"), c.result);
    }
    EXPECT_EQ(replacePictureAddress(R"(""http://a.jpg"")", "a.jpg", ""), R"("""")");
}

TEST_F(PictureReferencesTest, MainPicturesByTheThumbnailMarkersOfEachPageKind) {
    const std::string tmall =
        R"(<ul id="J_UlThumb"><li><a href="#"><img src="//img.x/i1/m1.jpg_60x60q90.jpg"></a></li>)"
        R"(<li><a href="#"><img src="//img.x/i2/m2.png_60x60q90.jpg"></a></li>)"
        R"(<li><img data-src="//img.x/t.jpg_50x50.jpg"></li></ul>)";
    EXPECT_EQ(mainPictureAddresses(tmall, true), (std::vector<std::string>{"//img.x/i1/m1.jpg", "//img.x/i2/m2.png"}));
    EXPECT_EQ(mainPictureAddresses(tmall, false), (std::vector<std::string>{"//img.x/t.jpg"}));
    EXPECT_TRUE(mainPictureAddresses("<html>no pictures</html>", true).empty());
}

TEST_F(PictureReferencesTest, SwatchesGiveTheirPairAndPictureWithoutTheThumbnailSuffix) {
    const std::string page =
        "<li data-value=\"1627207:28341\" title=\"黑色\">\r\n"
        "<a href=\"javascript:;\" style=\"background:url(//img.x/s/black.jpg_30x30.jpg) center no-repeat;\">\r\n"
        "<span>黑色</span></a></li>\r\n"
        "<li data-value=\"1627207:28320\" title=\"白\"><a href=\"#\" "
        "style=\"background:url(//img.x/s/w.png_40x40q90.jpg)"
        " center no-repeat;\"><span>白</span></a></li>\r\n"
        "<LI DATA-VALUE=\"1627207:1\"><A STYLE=\"BACKGROUND:URL(//img.x/s/c.GIF_30x30.jpg) CENTER "
        "NO-REPEAT;\"></A></LI>\r\n"
        "<li data-value=\"20509:28315\"><a href=\"#\"><span>M</span></a></li>\r\n";
    EXPECT_EQ(salePropertyPictures(page, regExp_),
              (std::vector<SalePropertyPicture>{{"1627207:28341", "//img.x/s/black.jpg"},
                                                {"1627207:28320", "//img.x/s/w.png"},
                                                {"1627207:1", "//img.x/s/c.GIF"}}));
}

}  // namespace
}  // namespace quorvane
