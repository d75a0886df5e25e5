#include "text/bytes.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/fixtures.h"

namespace quorvane {
namespace {

TEST(BytesToHex, WritesTwoUpperCaseDigitsPerByte) {
    EXPECT_EQ(bytesToHex({}), "");
    EXPECT_EQ(bytesToHex({0x00, 0x0a, 0xff, 0x5c}), "000AFF5C");
}

TEST(PictureTypeOf, FirstMatchingLeadingBytesGiveTheType) {
    const struct {
        Bytes bytes;
        const char* type;
    } cases[] = {
        {{0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a}, "png"},
        {{0xff, 0xd8, 0xff, 0xe0}, "jpg"},
        {{0x47, 0x49, 0x46, 0x38, 0x39, 0x61}, "gif"},
        {{0x0a, 0x05, 0x01}, "pcx"},
        {{0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x20, 0x20}, "ico"},
        {{0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x20, 0x20}, "cur"},
        {{0x00, 0x00, 0x02, 0x00, 0x00, 0x00}, "tga"},
        {{0x52, 0x49, 0x46, 0x46, 0x10, 0, 0, 0, 0x57, 0x45, 0x42, 0x50}, "ani"},  // WEBP is RIFF too
        {{0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0xde}, "123456789A.JPG"},
        {{0x12}, "12.JPG"},
        {{}, ".JPG"},
    };
    for (const auto& c : cases) EXPECT_EQ(pictureTypeOf(c.bytes), c.type) << bytesToHex(c.bytes);
}

TEST(HexToInteger, ReadsEitherCase) {
    EXPECT_EQ(hexToInteger(""), 0);
    EXPECT_EQ(hexToInteger("ff"), 255);
    EXPECT_EQ(hexToInteger("7FFFFFFF1"), 0x7FFFFFFF1LL);
}

TEST(DecipherHexString, MatchesIndependentlyComputedVectors) {
    const Bytes file = test::readFixture("decipher_vectors.txt");
    std::istringstream lines(std::string(file.begin(), file.end()));
    std::string line;
    int vectors = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto firstTab = line.find('\t');
        const auto secondTab = line.find('\t', firstTab + 1);
        ASSERT_NE(secondTab, std::string::npos) << line;
        const std::string key = line.substr(0, firstTab);
        std::string list = line.substr(firstTab + 1, secondTab - firstTab - 1);
        std::string withoutCommas = list;
        std::erase(withoutCommas, ',');
        const std::string result = decipherHexString(list, key, 1);
        EXPECT_EQ(bytesToHex(Bytes(result.begin(), result.end())), line.substr(secondTab + 1)) << line;
        EXPECT_EQ(list, withoutCommas);
        ++vectors;
    }
    EXPECT_GT(vectors, 0);
}

}  // namespace
}  // namespace quorvane
