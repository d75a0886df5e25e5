#include "text/gunzip.h"

#include "text/files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <cstring>

namespace quorvane {
namespace {

Bytes gzipped(const Bytes& data) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    Bytes packed(deflateBound(&stream, static_cast<uLong>(data.size())) + 32);
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

// Half noise, half runs: packs to many 8192-byte chunks and unpacks to many more.
Bytes sample(std::size_t size) {
    Bytes data(size);
    unsigned state = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = (i / 4096) % 2 ? static_cast<unsigned char>(state >> 16) : static_cast<unsigned char>(i / 4096);
    }
    return data;
}

class GunzipTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        DeleteFileW((programFolder() + L"gzip.dll").c_str());
        ASSERT_TRUE(writeGzipDllWhenMissing());
    }
};

TEST_F(GunzipTest, CarriedDllIsWrittenBesideTheProgram) {
    const std::wstring folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_NE(GetFileAttributesW((folder + L"gzip.dll").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(writeGzipDllWhenMissing());  // already there
}

// Room for everything the tests unpack, unless a case is about the bound.
constexpr std::size_t kRoomy = 64u << 20;

TEST_F(GunzipTest, UnpacksWholeStreams) {
    for (const Bytes& data : {Bytes{}, Bytes{'h', 'i'}, sample(3 * 1024 * 1024), Bytes(4 * 1024 * 1024, 0)})
        EXPECT_EQ(gunzip(gzipped(data), kRoomy), data) << data.size();
}

TEST_F(GunzipTest, AStreamThatUnpacksPastTheBoundGivesNothing) {
    // A gzip bomb in small: 64 MB of zeros packs into about 64 KB.
    const Bytes bomb = gzipped(Bytes(64u << 20, 0));
    ASSERT_LT(bomb.size(), 100u * 1024);
    const struct {
        const char* why;
        std::size_t bound;
        bool unpacked;
    } cases[] = {
        {"a bound far below the output", 1u << 20, false},
        {"a bound one byte short", (64u << 20) - 1, false},
        {"a bound just holding it", 64u << 20, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const std::optional<Bytes> result = gunzip(bomb, c.bound);
        ASSERT_EQ(result.has_value(), c.unpacked);
        if (result) {
            EXPECT_EQ(result->size(), 64u << 20);
        }
    }
}

TEST_F(GunzipTest, StreamCutShortGivesWhatWasUnpacked) {
    const Bytes data = sample(1024 * 1024);
    Bytes packed = gzipped(data);
    packed.resize(packed.size() / 2);
    const Bytes result = gunzip(packed, kRoomy).value();
    ASSERT_FALSE(result.empty());
    ASSERT_LT(result.size(), data.size());
    EXPECT_TRUE(std::equal(result.begin(), result.end(), data.begin()));
}

TEST_F(GunzipTest, CorruptOrForeignInputEndsWithoutTheWholeData) {
    const Bytes data = sample(256 * 1024);
    Bytes corrupt = gzipped(data);
    for (std::size_t i = corrupt.size() / 3; i < corrupt.size() / 3 + 64; ++i) corrupt[i] ^= 0x5a;
    EXPECT_NE(gunzip(corrupt, kRoomy), data);
    EXPECT_EQ(gunzip(Bytes{'n', 'o', 't', ' ', 'g', 'z', 'i', 'p'}, kRoomy), Bytes{});
    EXPECT_EQ(gunzip(Bytes{}, kRoomy), Bytes{});
}

}  // namespace
}  // namespace quorvane
