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

TEST_F(GunzipTest, UnpacksWholeStreams) {
    for (const Bytes& data : {Bytes{}, Bytes{'h', 'i'}, sample(3 * 1024 * 1024), Bytes(4 * 1024 * 1024, 0)})
        EXPECT_EQ(gunzip(gzipped(data)), data) << data.size();
}

TEST_F(GunzipTest, StreamCutShortGivesWhatWasUnpacked) {
    const Bytes data = sample(1024 * 1024);
    Bytes packed = gzipped(data);
    packed.resize(packed.size() / 2);
    const Bytes result = gunzip(packed);
    ASSERT_FALSE(result.empty());
    ASSERT_LT(result.size(), data.size());
    EXPECT_TRUE(std::equal(result.begin(), result.end(), data.begin()));
}

TEST_F(GunzipTest, CorruptOrForeignInputEndsWithoutTheWholeData) {
    const Bytes data = sample(256 * 1024);
    Bytes corrupt = gzipped(data);
    for (std::size_t i = corrupt.size() / 3; i < corrupt.size() / 3 + 64; ++i) corrupt[i] ^= 0x5a;
    EXPECT_NE(gunzip(corrupt), data);
    EXPECT_TRUE(gunzip(Bytes{'n', 'o', 't', ' ', 'g', 'z', 'i', 'p'}).empty());
    EXPECT_TRUE(gunzip(Bytes{}).empty());
}

}  // namespace
}  // namespace quorvane
