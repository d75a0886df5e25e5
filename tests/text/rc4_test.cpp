#include "text/rc4.h"

#include "text/bytes.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(Rc4, EnciphersAsTheStandardCipher) {
    // Published test vectors, and a category file name under the key of week 37.
    const struct {
        const char* key;
        const char* data;
        const char* hex;
    } cases[] = {
        {"Key", "Plaintext", "BBF316E8D940AF0AD3"},
        {"Wiki", "pedia", "1021BF0420"},
        {"Secret", "Attack at dawn", "45A01F645FC35B383552544B9BF5"},
        {"37", "50012027.txt.zip", "0C777CA7406BC04D92C381DF9A61D2D5"},
        {"1", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(bytesToHex(rc4(c.key, c.data)), c.hex);
    }
}

TEST(Rc4, DeciphersWhatItEnciphered) {
    const Bytes once = rc4("52", "1234.txt.zip");
    EXPECT_EQ(rc4("52", std::string(once.begin(), once.end())),
              Bytes({'1', '2', '3', '4', '.', 't', 'x', 't', '.', 'z', 'i', 'p'}));
}

}  // namespace
}  // namespace quorvane
