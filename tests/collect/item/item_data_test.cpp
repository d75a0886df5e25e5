#include "collect/item/item_data.h"

#include "text/clock.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

constexpr const char* kFieldList =
    "prop_img.url,prop_img.properties,item_img.url,desc,title,cid,price,num,post_fee,input_str,input_pids,"
    "seller_cids,props,input_pids,input_str,property_alias,sku,outer_id,approve_status,has_discount,has_invoice,"
    "has_warranty,has_showcase,valid_thru,list_time,modified,delist_time,postage_id,location,freight_payer,"
    "post_fee,express_fee,ems_fee,has_warranty,item_weight,item_size,features,food_security,wireless_desc ";

class FixedClock : public ::testing::Test {
protected:
    void SetUp() override {
        setLocalClock([] {
            SYSTEMTIME time{};
            time.wYear = 2016;
            time.wMonth = 9;
            time.wDay = 8;
            time.wHour = 7;
            time.wMinute = 5;
            time.wSecond = 3;
            return time;
        });
    }
    void TearDown() override { setLocalClock({}); }
};

TEST(ItemDataSourceTest, LastTwoBytesOfTheKeyChooseTheSource) {
    struct Case {
        const char* key;
        ItemDataSource source;
    };
    const Case cases[] = {
        {"2300099", ItemDataSource::ItemDataService},
        {"2300088", ItemDataSource::EncipheredAddress},
        {"2300077", ItemDataSource::OpenPlatform},
        {"9", ItemDataSource::OpenPlatform},
        {"", ItemDataSource::OpenPlatform},
        {"99", ItemDataSource::ItemDataService},
        {"9989", ItemDataSource::OpenPlatform},
    };
    for (const Case& c : cases) EXPECT_EQ(itemDataSourceOf(c.key), c.source) << c.key;
}

TEST(SortParamsByNameTest, SortsByUnsignedBytesWithPrefixesFirst) {
    ParamList params{{"v", "1"}, {"\xb0\xa1", "gbk"}, {"app_key", "2"}, {"app", "3"}, {"Z", "4"}, {"fields", "5"}};
    sortParamsByName(params);
    std::vector<std::string> names;
    for (const ParamPair& pair : params) names.push_back(pair.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Z", "app", "app_key", "fields", "v", "\xb0\xa1"}));
}

TEST_F(FixedClock, TimestampHasTwoDigitFields) { EXPECT_EQ(openPlatformTimestamp(), "2016-09-08 07:05:03"); }

TEST_F(FixedClock, SignedItemRequestHoldsTheSortedPairsAndTheSignature) {
    ParamList params{{"fields", kFieldList}, {"num_iid", "527018364901"}};
    const ParamList before = params;
    const std::string url =
        buildOpenPlatformUrl("12345677", "s3cr3t-key", "", "", "", "taobao.item.get", params);
    // The signature was computed apart from this code, with Python's hashlib.
    const std::string expected = std::string("http://gw.api.taobao.com/router/rest?app_key=12345677&fields=") +
                                 kFieldList +
                                 "&format=xml&method=taobao.item.get&num_iid=527018364901&sign_method=md5"
                                 "&timestamp=2016-09-08 07:05:03&v=2.0&sign=EB4CF6AF8E68D61A443A3ACDEA6C173C";
    EXPECT_EQ(url, expected);
    EXPECT_EQ(url.find("session"), std::string::npos);
    ASSERT_EQ(params.size(), before.size());  // the caller's list is left alone
    EXPECT_EQ(params[0].name, "fields");
}

TEST_F(FixedClock, SignedRestUrlChangesTheListInPlace) {
    ParamList params{{"num_iid", "1"}, {"", "dropped"}, {"empty", ""}};
    const std::string url = buildSignedRestUrl("k", "s", "sess", "json", "md5", "taobao.item.get", params);
    std::vector<std::string> names;
    for (const ParamPair& pair : params) names.push_back(pair.name);
    EXPECT_EQ(names, (std::vector<std::string>{"app_key", "format", "method", "num_iid", "session", "sign_method",
                                               "timestamp", "v"}));
    EXPECT_NE(url.find("&session=sess&"), std::string::npos);
    EXPECT_NE(url.find("format=json"), std::string::npos);
}

TEST(SignedRestUrlTest, EmptyKeyOrSecretGivesNoAddressAndLeavesTheList) {
    for (const auto& [key, secret] : {std::pair{"k", ""}, std::pair{"", "s"}}) {
        ParamList params{{"num_iid", "1"}};
        EXPECT_EQ(buildSignedRestUrl(key, secret, "", "xml", "md5", "taobao.item.get", params), "");
        ASSERT_EQ(params.size(), 1u);
        EXPECT_EQ(params[0].name, "num_iid");
    }
}

TEST(FetchItemDataTest, IdsThatAreNotDigitsGetNoRequest) {
    // No server is needed: a refused id never reaches the network.
    for (const char* id : {"", "12a", "12 3", "12&m=0", "１２３", "-5", "12\r\nHost: x"})
        for (const char* key : {"k99", "k88", "k77"}) EXPECT_TRUE(fetchItemData(id, key, "secret").empty()) << id;
}

}  // namespace
}  // namespace quorvane
