#pragma once
// Two items whose rows the fixtures package_4x.csv and package_5x.csv hold.
#include "collect/item/item_fields.h"

namespace quorvane::test {

// Not inlined: GCC 12 warns wrongly (-Wrestrict) on the inlined string copies.
[[gnu::noinline]] inline ItemFields firstPackageItem() {
    ItemFields f;
    f.itemId = "520000000001";
    f.title = "测试宝贝, 含逗号";
    f.cid = "50010850";
    f.location_state = "浙江";
    f.location_city = "杭州";
    f.price = "99.00";
    f.num = "15";
    f.valid_thru = "7";
    f.freight_payer = "0";
    f.upload_fail_msg = "200";
    f.description = "<p class=\"\"intro\"\">描述|说明</p>";
    f.cateProps = "20000:3275069;1627207:28341;";
    f.picture = "http://img.example/a.jpg:1:0:|;";
    f.skuProps = "99.00:5::1627207:28341;";
    f.inputPids = "20000,";
    f.inputValues = "品牌X,";
    f.propAlias = "1627207:28341:红色";
    f.wireless_desc = "<wapDesc><img>http://img.example/d.jpg</img></wapDesc>";
    f.subtitle = "卖点";
    f.item_size = "0.012";
    f.item_weight = "1.5";
    return f;
}

[[gnu::noinline]] inline ItemFields secondPackageItem() {
    ItemFields f;
    f.itemId = "520000000002";
    f.title = "第二件";
    f.cid = "1512";
    f.location_state = "上海";
    f.location_city = "上海";
    f.price = "12";
    f.valid_thru = "7";
    f.freight_payer = "0";
    f.upload_fail_msg = "200";
    f.foodparame = "生产许可证编号:SC123;配料表:水;";
    return f;
}

}  // namespace quorvane::test
