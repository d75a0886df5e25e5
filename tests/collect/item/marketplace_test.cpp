// Item data and page fields against the loopback marketplace. The host map is
// read once per process, so this program sets it before any request is made.
#include "collect/item/item_data.h"
#include "collect/item/item_page_fields.h"

#include "net/page_request.h"
#include "text/clock.h"
#include "text/com.h"

#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using test::MarketplaceItem;

const bool mapSet = test::routeHostsToSharedMarketplace();

Bytes fixture(const std::string& name) { return test::readFixture("marketplace/" + name); }

class MarketplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mapSet);
        test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(0));
        test::sharedMarketplace().server().clearRequests();
    }
    void TearDown() override { test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(0)); }

    test::LoopbackServer& server() { return test::sharedMarketplace().server(); }

    ComScope com_;
};

using ItemDataTest = MarketplaceTest;

TEST_F(ItemDataTest, EachSourceAsksItsOwnService) {
    const std::string id = test::kTaobaoItem.id;
    // The service's check value computed apart, with Python's hashlib.
    const Bytes served = fetchItemData(id, "2300099", "salt-99");
    EXPECT_EQ(served, fixture("taobao_item.html"));
    const test::RecordedRequest post = server().lastRequest(test::kItemDataPath);
    EXPECT_EQ(post.requestLine, "POST /item_get HTTP/1.1");
    EXPECT_EQ(post.header("Host"), "items.quorvane.net");
    EXPECT_EQ(post.body, "_id=527018364901&m=4d4dfa329e34ab6b08b8f896371a70a7");
    EXPECT_EQ(post.header("Content-Type"), "application/x-www-form-urlencoded");

    const Bytes page = fetchItemData(id, "2300088", test::kEncipheredSourceSecret);
    EXPECT_EQ(page, fixture("taobao_item.html"));
    const test::RecordedRequest get = server().lastRequest(test::kItemPagePath);
    EXPECT_EQ(get.requestLine, "GET /item.htm?id=527018364901 HTTP/1.1");
    EXPECT_EQ(get.header("Host"), "item.taobao.com");

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
    EXPECT_EQ(fetchItemData(id, "2300077", "s3cr3t-key"), fixture("gateway_answer.xml"));
    setLocalClock({});
    const test::RecordedRequest rest = server().lastRequest(test::kGatewayPath);
    EXPECT_EQ(rest.header("Host"), "gw.api.taobao.com");
    // WinINet sends the blanks of the unencoded address as %20; the signature
    // (from Python's hashlib) is over the values themselves.
    EXPECT_EQ(rest.target,
              "/router/rest?app_key=2300077&fields=prop_img.url,prop_img.properties,item_img.url,desc,title,cid,"
              "price,num,post_fee,input_str,input_pids,seller_cids,props,input_pids,input_str,property_alias,sku,"
              "outer_id,approve_status,has_discount,has_invoice,has_warranty,has_showcase,valid_thru,list_time,"
              "modified,delist_time,postage_id,location,freight_payer,post_fee,express_fee,ems_fee,has_warranty,"
              "item_weight,item_size,features,food_security,wireless_desc%20&format=xml&method=taobao.item.get"
              "&num_iid=527018364901&sign_method=md5&timestamp=2016-09-08%2007:05:03&v=2.0"
              "&sign=04F1FC05B4D41E6C12F703B2BD0B2C45");
}

TEST_F(ItemDataTest, WrongSecretForTheEncipheredAddressMakesNoRequest) {
    EXPECT_TRUE(fetchItemData(test::kTaobaoItem.id, "2300088", "another secret").empty());
    EXPECT_TRUE(server().requests().empty());
}

TEST_F(ItemDataTest, RequestsThatOutliveTheLimitGiveNoItemData) {
    test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(3000));
    test::ScopedRequestLimit limit(300);
    struct Case {
        const char* key;
        const char* secret;
        Bytes answer;
    };
    const Case cases[] = {
        {"2300099", "salt-99", {}},
        {"2300077", "s3cr3t-key", {}},
        {"2300088", test::kEncipheredSourceSecret.data(), Bytes(kPageTimeoutNotice.begin(), kPageTimeoutNotice.end())},
    };
    for (const Case& c : cases) EXPECT_EQ(fetchItemData(test::kTaobaoItem.id, c.key, c.secret), c.answer) << c.key;
}

class PageFieldsTest : public MarketplaceTest {
protected:
    ItemFields read(const MarketplaceItem& item) { return readFrom(item.id, fixture(item.page)); }
    ItemFields readFrom(const std::string& id, const Bytes& answer) {
        ItemFields fields;
        fields.itemId = id;
        check_ = readItemPageFields(fields, answer, regexes_, {});
        return fields;
    }
    WorkerRegexes regexes_;
    PageFieldsCheck check_ = PageFieldsCheck::Ok;
};

TEST_F(PageFieldsTest, FieldsOfEveryFixturePage) {
    struct Case {
        const MarketplaceItem* item;
        bool isTmall;
        const char* title;
        const char* cid;
        const char* price;
        const char* num;
        const char* state;
        const char* city;
        const char* skuProps;
    };
    const Case cases[] = {
        {&test::kTaobaoItem, false, "原创手工编织羊毛围巾&披肩 冬季加厚保暖 男女同款", "50012027", "128.00", "86",
         "浙江", "杭州",
         "138.00:::1627207:28338;20509:28316;138.00:35::1627207:28338;20509:28315;"
         "128.00:31::1627207:28341;20509:28316;128.00:20::1627207:28341;20509:28315;"},
        {&test::kTmallItem, true, "轻羽 男士连帽羽绒服 \"\"暖冬\"\" 新款", "50000436", "699.00", "1234", "广东",
         "深圳",
         "719.00:0::1627207:28320;699.00:7::1627207:28341;20509:28316;699.00:12::1627207:28341;20509:28315;"},
        {&test::kItemDataItem, false, "实木收纳盒 桌面整理 多格带盖", "50008163", "45.50", "57", "黑龙江",
         "哈尔滨", "49.50:42::1627207:3232484;45.50:15::1627207:3232483;"},
        {&test::kNoTitleItem, false, "", "", "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->page);
        const ItemFields fields = read(*c.item);
        EXPECT_EQ(check_, PageFieldsCheck::Ok);
        EXPECT_EQ(fields.isTmall, c.isTmall);
        EXPECT_EQ(fields.title, c.title);
        EXPECT_EQ(fields.cid, c.cid);
        EXPECT_EQ(fields.price, c.price);
        EXPECT_EQ(fields.num, c.num);
        EXPECT_EQ(fields.location_state, c.state);
        EXPECT_EQ(fields.location_city, c.city);
        EXPECT_EQ(fields.skuProps, c.skuProps);
        EXPECT_EQ(fields.valid_thru, "7");
        EXPECT_EQ(fields.freight_payer, "0");
        EXPECT_EQ(fields.upload_fail_msg, "200");
        EXPECT_EQ(fields.stockAnswer, "");
        EXPECT_FALSE(fields.pageText.empty());
    }
}

TEST_F(PageFieldsTest, TmallPagesNeedNoStockRequest) {
    read(test::kTmallItem);
    EXPECT_TRUE(server().requests().empty());
}

TEST_F(PageFieldsTest, StockRequestCarriesItsHeaderLines) {
    read(test::kTaobaoItem);
    const test::RecordedRequest request = server().lastRequest(test::kStockPath);
    EXPECT_EQ(request.target,
              "/service/getData/1/p1/item/detail/sib.htm?itemId=527018364901&sellerId=1700094512"
              "&modules=dynStock,qrcode,viewer,price,delivery");
    EXPECT_EQ(request.header("Accept"), "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    EXPECT_EQ(request.header("Referer"), "https://item.taobao.com/item.htm?id=527018364901");
    EXPECT_EQ(request.header("User-Agent"), "Mozilla/4.0");
    EXPECT_EQ(request.header("Host"), "detailskip.taobao.com");
    EXPECT_EQ(request.header("Pragma"), "no-cache");

    // Without the config line the address is found by the stock host.
    read(test::kItemDataItem);
    EXPECT_EQ(server().lastRequest(test::kStockByHostPath).target, "/json/sib.htm?itemId=530145678203&p=1");
}

TEST_F(PageFieldsTest, EmptyItemDataStillAsksTheStockHostAndGetsNoTitle) {
    const ItemFields fields = readFrom(test::kTaobaoItem.id, {});
    EXPECT_EQ(check_, PageFieldsCheck::Ok);
    EXPECT_EQ(fields.title, "");
    EXPECT_FALSE(fields.isTmall);
    EXPECT_EQ(server().lastRequest("/").target, "/");
}

TEST_F(PageFieldsTest, GatewayAnswerGivesNoTitle) {
    const ItemFields fields = readFrom(test::kTaobaoItem.id, fixture("gateway_answer.xml"));
    EXPECT_EQ(fields.title, "");
}

TEST_F(PageFieldsTest, StockRequestThatTimesOutLeavesStocksAndLocationEmpty) {
    test::sharedMarketplace().setAnswerDelay(std::chrono::milliseconds(3000));
    test::ScopedRequestLimit limit(300);
    const ItemFields fields = read(test::kTaobaoItem);
    EXPECT_EQ(fields.title, "原创手工编织羊毛围巾&披肩 冬季加厚保暖 男女同款");
    EXPECT_EQ(fields.price, "128.00");
    EXPECT_EQ(fields.num, "");
    EXPECT_EQ(fields.location_state, "");
    EXPECT_EQ(fields.location_city, "");
    EXPECT_EQ(fields.skuProps,
              "138.00:::1627207:28338;20509:28316;138.00:::1627207:28338;20509:28315;"
              "128.00:::1627207:28341;20509:28316;128.00:::1627207:28341;20509:28315;");
}

TEST_F(PageFieldsTest, TaobaoSkuMapsOfBothForms) {
    // A stock answer without any stock block, so every SKU's stock is empty.
    struct Case {
        const char* skuMap;
        const char* skuProps;
    };
    const Case cases[] = {
        {R"re({";1627207:28341;":{"price":"12.00","skuId":"31"}})re", "12.00:::1627207:28341;"},
        {"{\";1:2;\":\n { \"skuId\" : \"9\", \"oversold\": \"false\" , \"price\" : \"3.50\", \"stock\" : \"1\" }}",
         "3.50:::1:2;"},
        {"{}", ""},
    };
    for (const Case& c : cases) {
        const std::string page = std::string("<meta charset=\"gbk\">\n") + c.skuMap + "\n";
        const ItemFields fields = readFrom(test::kNoTitleItem.id, Bytes(page.begin(), page.end()));
        EXPECT_EQ(fields.skuProps, c.skuProps) << c.skuMap;
    }
}

TEST_F(PageFieldsTest, StockAndLocationFallBackInOrder) {
    const std::string page = "<meta charset=GBK>\nwholeSibUrl      : '//detailskip.taobao.com/custom/sib.htm?a=1'\n";
    struct Case {
        std::string answer;
        const char* num;
        const char* state;
        const char* city;
    };
    const Case cases[] = {
        {"\"stock\":        \"5\",\"stock\":" + std::string(36, ' ') + "\"7\",\"sellableQuantity\":9,"
         "\"sendCity\":\"\\u4e0a\\u6d77\",location:'浙江杭州'",
         "5", "上海", "上海"},
        {"\"stock\":" + std::string(36, ' ') + "\"7\",\"sellableQuantity\":9,location:'内蒙古包头'", "7", "内蒙古",
         "包头"},
        {"\"sellableQuantity\":9,\"sendCity\":\"\",location:'浙江'", "9", "浙江", "浙江"},
        // The last fallback cuts at the next comma: a brace or quotes of the cut are trimmed.
        {"{\"sellableQuantity\":9},\"x\":{location:'浙江'}", "9", "浙江", "浙江"},
        {"{\"sellableQuantity\":\"9\",location:'浙江'}", "9", "浙江", "浙江"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        test::Answer answer;
        answer.body = c.answer;
        server().script("/custom/sib.htm", answer);
        const ItemFields fields = readFrom(test::kNoTitleItem.id, Bytes(page.begin(), page.end()));
        EXPECT_EQ(check_, PageFieldsCheck::Ok) << c.answer;
        EXPECT_EQ(fields.num, c.num) << c.answer;
        EXPECT_EQ(fields.location_state, c.state) << c.answer;
        EXPECT_EQ(fields.location_city, c.city) << c.answer;
    }
}

// A Taobao page with one compact SKU whose stock the answer of /custom/sib.htm gives.
std::string taobaoSkuPage(std::string_view extra = "") {
    return "<meta charset=GBK>\n" + std::string(extra) +
           "\n{\";1627207:28341;\":{\"price\":\"12.00\",\"skuId\":\"31\"}}\n"
           "wholeSibUrl      : '//detailskip.taobao.com/custom/sib.htm?a=1'\n";
}

TEST_F(PageFieldsTest, OnlyTheTmallMarkerMakesATmallItem) {
    server().script("/custom/sib.htm", test::okAnswer("{\";1627207:28341;\":{\"stock\":\"7\"}}"));
    const std::string page =
        taobaoSkuPage("<a href=\"//www.tmall.com/\">天猫 Tmall</a><script>var g = {isTmall: false};</script>");
    const ItemFields fields = readFrom(test::kNoTitleItem.id, Bytes(page.begin(), page.end()));
    EXPECT_FALSE(fields.isTmall);
    EXPECT_EQ(server().lastRequest("/custom/sib.htm").target, "/custom/sib.htm?a=1");
    EXPECT_EQ(fields.skuProps, "12.00:7::1627207:28341;");
}

TEST_F(PageFieldsTest, ASkusStockEndsAtAQuoteOrABrace) {
    struct Case {
        const char* answer;
        const char* skuProps;
    };
    const Case cases[] = {
        {"{\";1627207:28341;\":{\"stock\":\"7\"}}", "12.00:7::1627207:28341;"},
        {"{\";1627207:28341;\":{\"stock\":7}}", "12.00:7::1627207:28341;"},
    };
    const std::string page = taobaoSkuPage();
    for (const Case& c : cases) {
        server().script("/custom/sib.htm", test::okAnswer(c.answer));
        const ItemFields fields = readFrom(test::kNoTitleItem.id, Bytes(page.begin(), page.end()));
        EXPECT_EQ(fields.skuProps, c.skuProps) << c.answer;
    }
}

TEST_F(PageFieldsTest, StockAddressesWithBlanksOrLineBreaksGetNoRequest) {
    for (const char* line : {"//detailskip.taobao.com/custom/sib.htm?a=1 HTTP/1.0\r\nX-Injected: 1",
                             "//detailskip.taobao.com/custom/sib.htm?a=1\nX: 1", "//detailskip.taobao.com/a b"}) {
        const std::string page = std::string("<meta charset=GBK>\nwholeSibUrl      : '") + line + "'\n";
        readFrom(test::kNoTitleItem.id, Bytes(page.begin(), page.end()));
    }
    EXPECT_TRUE(server().requests().empty());
}

TEST_F(PageFieldsTest, IdsThatAreNotDigitsMakeNoRequest) {
    for (const char* id : {"", "5270x", "527 018", "1\r\nX-Injected: 1"}) {
        readFrom(id, fixture(test::kTaobaoItem.page));
        EXPECT_EQ(check_, PageFieldsCheck::BadItemId) << id;
    }
    EXPECT_TRUE(server().requests().empty());
}

}  // namespace
}  // namespace quorvane
