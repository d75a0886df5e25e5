// The names of the package's pictures and the entries of the picture field.
#include "collect/pictures/picture_field.h"
#include "collect/pictures/picture_names.h"

#include <gtest/gtest.h>

#include <set>

namespace quorvane {
namespace {

TEST(DescriptionPictureFolderName, TheTitleWithoutWhatAFolderNameCannotHold) {
    struct Case {
        const char* why;
        std::string title;
        std::string name;
    };
    const Case cases[] = {
        {"slash, blanks and a colon", "新款/连衣裙 2016: 版", "新款连衣裙2016版"},
        {"every refused character", "a/b\\c.d%e f:g\th*i?j\"k>l<m|n", "abcdefghijklmn"},
        {"doubled quotes of a decoded entity", "轻羽 男士连帽羽绒服 \"\"暖冬\"\" 新款", "轻羽男士连帽羽绒服暖冬新款"},
        {"control characters", "a\001b\037c\177d\r\ne", "abcde"},
        {"a second byte that reads as a backslash stays", "乗亅车", "乗亅车"},
        {"dots only cannot climb out", "..", "527018364901"},
        {"nothing left gives the item id", " / . ", "527018364901"},
        {"an empty title", "", "527018364901"},
        {"a device name", "CON", "_CON"},
        {"a device name in any case, blanks removed first", "c o m 1", "_com1"},
        {"a longer name is no device", "CONSOLE", "CONSOLE"},
        {"COM0 is no device", "COM0", "COM0"},
        {"LPT9", "lpt9", "_lpt9"},
        {"GBK letters stay", "原创手工编织羊毛围巾&披肩 冬季加厚保暖", "原创手工编织羊毛围巾&披肩冬季加厚保暖"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(descriptionPictureFolderName(c.title, "527018364901"), c.name);
    }
}

TEST(DescriptionPictureFolderName, ALongTitleIsCutBetweenCharacters) {
    std::string title = "a";
    for (int i = 0; i < 80; ++i) title += "装";
    const std::string name = descriptionPictureFolderName(title, "1");
    EXPECT_EQ(name.size(), 99u);  // "a" and 49 double-byte characters
    EXPECT_EQ(name, title.substr(0, 99));
    EXPECT_EQ(descriptionPictureFolderName(std::string(150, 'x'), "1"), std::string(100, 'x'));
}

TEST(DescriptionPictureFileName, TheAddressDigestAndTheSniffedType) {
    struct Case {
        const char* why;
        const char* address;
        Bytes bytes;
        const char* name;
    };
    const Case cases[] = {
        {"a JPEG; the name keeps the address's amp;",
         "img.example-mall.cn/a/b.jpg?x=1&amp;y=2",
         {0xFF, 0xD8, 0xFF, 0xE0},
         "ccadf70e31a8711d.jpg"},
        {"a PNG", "a/b.jpg", {0x89, 0x50, 0x4E, 0x47, 0x0D}, "4c6526908f02832e.png"},
        {"a GIF", "a/b.jpg", {'G', 'I', 'F', '8', '9', 'a'}, "4c6526908f02832e.gif"},
        {"an unknown type: its first bytes",
         "a/b.jpg",
         {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50},
         "4c6526908f02832e.0000000C6A.JPG"},
        {"no bytes", "a/b.jpg", {}, "4c6526908f02832e..JPG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(descriptionPictureFileName(c.address, c.bytes), c.name);
    }
    // Only a usual three-letter type keeps the name at its usual length.
    EXPECT_EQ(descriptionPictureFileName("a", {0xFF, 0xD8}).size(), kUsualPictureFileName);
    EXPECT_GT(descriptionPictureFileName("a", {0x49, 0x49}).size(), kUsualPictureFileName);  // tiff
}

TEST(PackagePictureName, ThirtyTwoHexDigitsNeverTwiceTheSame) {
    std::set<std::string> names;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = packagePictureName(i % 2 ? "同款" : "", "527018364901");
        ASSERT_EQ(name.size(), 32u);
        ASSERT_EQ(name.find_first_not_of("0123456789abcdef"), std::string::npos) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 1000u);
}

TEST(PictureFieldEntries, MainPicturesByLayoutSalePropertiesByTheRadioButton) {
    EXPECT_EQ(mainPictureEntry("N1", 0, 4) + mainPictureEntry("N2", 1, 4) + mainPictureEntry("N3", 2, 4),
              "N1:0:0:|;N2:0:1:|;N3:0:2:|;");
    EXPECT_EQ(mainPictureEntry("N1", 0, 5) + mainPictureEntry("N2", 1, 5) + mainPictureEntry("N3", 12, 5),
              "N1:1:0:|;N2:1:1:|;N3:1:12:|;");
    EXPECT_EQ(salePropertyPictureEntry("N", "1627207:28320", true), "N:1:0:1627207:28320|;");
    EXPECT_EQ(salePropertyPictureEntry("N", "1627207:28320", false), "N:2:0:1627207:28320|;");
}

}  // namespace
}  // namespace quorvane
