// The mobile detail service asked for an item's properties, against the
// loopback marketplace; the host map is read once per process, so this
// program sets it before any request is made.
#include "collect/properties/item_properties.h"

#include "text/com.h"

#include "tests/support/marketplace.h"
#include "tests/support/property_services.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

const bool mapSet = test::routeHostsToSharedMarketplace();

TEST(MobileDetailTest, AFoodItemsPropertiesAndItsFoodSafetyField) {
    ASSERT_TRUE(mapSet);
    ComScope com;
    WorkerRegexes regexes;
    ItemFields item;
    item.itemId = test::kFoodItemId;
    readItemProperties(item, regexes);
    const test::RecordedRequest request = test::sharedMarketplace().server().lastRequest(test::kMobileDetailPath);
    EXPECT_EQ(request.requestLine, "GET /cache/wdetail/5.0/?id=548800112233 HTTP/1.1");
    EXPECT_EQ(request.header("Host"), "hws.m.taobao.com");
    EXPECT_EQ(item.propertyList,
              "品牌:山里红;生产许可证编号:QS 1234 5678;产品标准号:GB/T 22165;厂名:山里红食品有限公司;"
              "厂址:浙江省杭州市临安区;厂家联系方式:0571-88886666;配料表:山核桃;配料表:食用盐;储藏方法:阴凉干燥处;"
              "保质期:180 天;食品添加剂:无;生产日期:2016-01-01 至 2016-06-30;净含量:500g;包装方式:\"礼盒\"装;"
              "口味:椒盐//原味;口味:奶油;");

    buildFoodSafetyField(item);
    EXPECT_EQ(item.foodparame,
              "contact:0571-88886666;design_code:GB/T 22165;factory:山里红食品有限公司;factory_site:浙江省杭州市临安区;"
              "food_additive:无;mix:山核桃;period:180 天;plan_storage:阴凉干燥处;prd_license_no:QS12345678;"
              "product_date_end:2016-06-30;product_date_start:2016-01-01;stock_date_end:2016-07-08;"
              "stock_date_start:2016-07-01;supplier:山里红食品有限公司;");
    EXPECT_EQ(item.propertyList,
              "品牌:山里红;配料表:食用盐;净含量:500g;包装方式:\"礼盒\"装;口味:椒盐//原味;口味:奶油;");
}

TEST(MobileDetailTest, AnItemTheServiceDoesNotKnowHasNoProperties) {
    ASSERT_TRUE(mapSet);
    ComScope com;
    WorkerRegexes regexes;
    ItemFields item;
    item.itemId = "539900000004";
    readItemProperties(item, regexes);
    buildFoodSafetyField(item);
    EXPECT_EQ(item.propertyList, "");
    EXPECT_EQ(item.foodparame, "");
}

}  // namespace
}  // namespace quorvane
