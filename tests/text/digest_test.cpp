#include "text/digest.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane {
namespace {

TEST(Md5Hex, GivesTheRfc1321Digests) {
    const struct {
        std::string text;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) EXPECT_EQ(md5Hex(c.text), c.digest) << c.text;
}

TEST(Md5Hex, HalfIsTheMiddleSixteenDigits) {
    const std::string full = md5Hex("abc");
    EXPECT_EQ(md5Hex("abc", true), full.substr(8, 16));
    EXPECT_EQ(md5Hex("abc", false), full);
}

TEST(Md5Hex, HashesTheGbkBytes) {
    const std::string text = "中文";  // GBK bytes: this source is compiled to GBK
    ASSERT_EQ(text, "\xd6\xd0\xce\xc4");
    EXPECT_EQ(md5Hex(text), "bcce109775e8e1972e9f5fcda3e12895");
    EXPECT_NE(md5Hex(text), "a7bac2239fcdcb3a067903d8077c4a07");  // the digest of its UTF-8 bytes
}

}  // namespace
}  // namespace quorvane
