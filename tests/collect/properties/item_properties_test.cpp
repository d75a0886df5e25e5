// The property list of the mobile detail answer and the food-safety field,
// on answers and lists given here.
#include "collect/properties/item_properties.h"

#include "text/com.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

std::string answerWith(const std::string& props) {
    return R"({"api":"wdetail","data":{"props":[)" + props + R"(],"descInfo":{"briefDescUrl":""}}})";
}

std::string property(const std::string& name, const std::string& value) {
    return R"({"name":")" + name + R"(","value":")" + value + R"("})";
}

TEST(PropertyListOf, OneEntryPerValueWithSemicolonsWrittenAsDoubleSlashes) {
    struct Case {
        const char* why;
        std::string answer;
        std::string list;
    };
    const Case cases[] = {
        {"values split at commas", answerWith(property("颜色分类", "红色,蓝色")), "颜色分类:红色;颜色分类:蓝色;"},
        {"a semicolon in a value", answerWith(property("口味", "a;b")), "口味:a//b;"},
        {"a semicolon in a name", answerWith(property("产地;省", "浙江")), "产地//省:浙江;"},
        {"a doubled comma ends the piece before it", answerWith(property("尺寸", "3,,5")), "尺寸:3,;尺寸:5;"},
        {"three commas", answerWith(property("尺寸", "3,,,5")), "尺寸:3,;尺寸:;尺寸:5;"},
        {"no piece after a final comma", answerWith(property("材质", "棉,")), "材质:棉;"},
        {"an empty value gives no entry", answerWith(property("货号", "") + "," + property("材质", "棉")), "材质:棉;"},
        {"escaped quotes become plain quotes", answerWith(property("款式", R"(\"流苏\"款)")), "款式:\"流苏\"款;"},
        {"properties in service order", answerWith(property("品牌", "other/其他") + "," + property("材质", "羊毛")),
         "品牌:other/其他;材质:羊毛;"},
        {"a text that AbCd stays", answerWith(property("型号", "AbCd,,1")), "型号:AbCd,;型号:1;"},
        {"no props key", R"({"data":{"descInfo":{}}})", ""},
        {"an empty answer", "", ""},
    };
    ComScope com;
    RegExpA regExp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(propertyListOf(c.answer, regExp), c.list);
    }
}

std::string field(const std::string& contact, const std::string& factory, const std::string& mix,
                  const std::string& license, const std::string& end, const std::string& start,
                  const std::string& stockEnd, const std::string& stockStart) {
    return "contact:" + contact + ";design_code:;factory:" + factory + ";factory_site:;food_additive:;mix:" + mix +
           ";period:;plan_storage:;prd_license_no:" + license + ";product_date_end:" + end +
           ";product_date_start:" + start + ";stock_date_end:" + stockEnd + ";stock_date_start:" + stockStart +
           ";supplier:" + factory + ";";
}

TEST(BuildFoodSafetyField, FourteenPairsAndTheFoodEntriesTakenOut) {
    struct Case {
        const char* why;
        const char* list;
        std::string foodparame;
        const char* listAfter;
    };
    const Case cases[] = {
        {"not food", "材质:棉;生产日期:2016-01-01 至 2016-06-30;", "", "材质:棉;生产日期:2016-01-01 至 2016-06-30;"},
        {"a production period", "品牌:山里红;生产日期:2016-01-01 至 2016-06-30;配料表:山核桃;",
         field("", "", "山核桃", "", "2016-06-30", "2016-01-01", "2016-07-08", "2016-07-01"), "品牌:山里红;"},
        {"no range: the four dates empty", "配料表:水;厂名:泉水厂;", field("", "泉水厂", "水", "", "", "", "", ""), ""},
        {"the license without blanks", "生产许可证编号:QS 1234 5678;", field("", "", "", "QS12345678", "", "", "", ""),
         ""},
        {"commas become full-width", "配料表:水;厂家联系方式:0571-1234,5678;",
         field("0571-1234，5678", "", "水", "", "", "", "", ""), ""},
        {"the fruit trigger alone stays in the list", "水果种类:苹果;产地:烟台;", field("", "", "", "", "", "", "", ""),
         "水果种类:苹果;产地:烟台;"},
        {"only the first value's entries go", "配料表:山核桃;配料表:食用盐;配料表:山核桃;",
         field("", "", "山核桃", "", "", "", "", ""), "配料表:食用盐;"},
        {"a longer name holding a food name is another entry", "配料表:水;生产厂名:甲厂;厂名:乙厂;",
         field("", "乙厂", "水", "", "", "", "", ""), "生产厂名:甲厂;"},
        {"dates with 年月日, slashes and a time", "食品添加剂:无;生产日期:2016年1月31日 至 2016/02/28 12:00:00;",
         "contact:;design_code:;factory:;factory_site:;food_additive:无;mix:;period:;plan_storage:;prd_license_no:;"
         "product_date_end:2016-02-28;product_date_start:2016-01-31;stock_date_end:2016-03-07;"
         "stock_date_start:2016-02-29;supplier:;",
         ""},
        {"2000 is a leap year: every 400th century year is one", "配料表:水;生产日期:2000-02-29 至 2000-02-29;",
         field("", "", "水", "", "2000-02-29", "2000-02-29", "2000-03-08", "2000-03-01"), ""},
        {"1900 is none", "配料表:水;生产日期:1900-02-28 至 1900-02-29;",
         field("", "", "水", "", "100-01-01", "1900-02-28", "100-01-09", "100-01-02"), ""},
        {"no date: the earliest date, shifted", "配料表:水;生产日期:不详 至 不详;",
         field("", "", "水", "", "100-01-01", "100-01-01", "100-01-09", "100-01-02"), ""},
        {"the first range anywhere gives the end", "配料表:水;保质期:2016-01-01 至 2016-12-31;",
         "contact:;design_code:;factory:;factory_site:;food_additive:;mix:水;period:2016-01-01 至 2016-12-31;"
         "plan_storage:;prd_license_no:;product_date_end:2016-12-31;product_date_start:100-01-01;"
         "stock_date_end:2017-01-08;stock_date_start:2017-01-01;supplier:;",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ItemFields item;
        item.propertyList = c.list;
        buildFoodSafetyField(item);
        EXPECT_EQ(item.foodparame, c.foodparame);
        EXPECT_EQ(item.propertyList, c.listAfter);
    }
}

}  // namespace
}  // namespace quorvane
