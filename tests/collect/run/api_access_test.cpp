#include "collect/run/api_access.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quorvane {
namespace {

TEST(ApiAccessListTest, ParsesOneRecordALine) {
    const ApiAccessList list = parseApiAccessList(
        "# key,secret\r\n"
        "2300099,salt one\r\n"
        "\r\n"
        "  2300088 , quorvane-mirror-88  \r\n"
        "no comma here\r\n"
        ",no key\r\n"
        "no secret,\r\n"
        "k77,a,b\n"
        "last,line");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].key, "2300099");
    EXPECT_EQ(list[0].secret, "salt one");
    EXPECT_EQ(list[1].key, "2300088");
    EXPECT_EQ(list[1].secret, "quorvane-mirror-88");
    EXPECT_EQ(list[2].secret, "a,b");  // split at the first comma
    EXPECT_EQ(list[3].key, "last");
}

class ApiAccessFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"quorvane-api-access-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    void write(const std::string& content) {
        std::ofstream(std::filesystem::path(folder_ + L"api_access.txt"), std::ios::binary) << content;
    }
    std::wstring folder_;
};

TEST_F(ApiAccessFileTest, MissingFileGivesTheBuiltInRecord) {
    const ApiAccessList list = loadApiAccessList(folder_);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].key, builtInApiAccessList()[0].key);
    EXPECT_EQ(apiAccessRefusal(list), "");
    EXPECT_EQ(loadApiAccessList(folder_ + L"no-such-folder\\").size(), 1u);
}

TEST_F(ApiAccessFileTest, FileRecordsReplaceTheBuiltInOne) {
    write("a77,s1\r\nb99,s2\r\n");
    const ApiAccessList list = loadApiAccessList(folder_);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].key, "b99");
}

TEST_F(ApiAccessFileTest, FileWithoutRecordsRefusesARun) {
    write("# nothing yet\r\n");
    const ApiAccessList list = loadApiAccessList(folder_);
    EXPECT_TRUE(list.empty());
    EXPECT_NE(apiAccessRefusal(list).find("api_access.txt"), std::string::npos);
}

TEST(AccessRotationTest, EachWorkerGoesThroughTheRecordsInOrderFromTheFirst) {
    const ApiAccessList list{{"k1", "s1"}, {"k2", "s2"}, {"k3", "s3"}};
    struct Case {
        std::size_t items;
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {5, {"k1", "k2", "k3", "k1", "k2"}},
        {1, {"k1"}},  // a second worker starts from the first record too
    };
    for (const Case& c : cases) {
        AccessRotation rotation(list);
        std::vector<std::string> keys;
        for (std::size_t i = 0; i < c.items; ++i) keys.push_back(rotation.next().key);
        EXPECT_EQ(keys, c.keys) << c.items;
    }

    const ApiAccessList one{{"only", "s"}};
    AccessRotation single(one);
    EXPECT_EQ(single.next().key, "only");
    EXPECT_EQ(single.next().key, "only");
}

}  // namespace
}  // namespace quorvane
