#include "collect/api_access.h"

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

}  // namespace
}  // namespace quorvane
