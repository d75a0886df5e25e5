#pragma once
// The data package's CSV format: the two headers, one item's row in either
// layout, and the package text the rows are collected in.
//
// In the package text every double quote that delimits a field is written as
// QuotePlaceholder, and every "|" of a value is written doubled, so that a
// value can hold "|*|" without it becoming a quote: the file text reads "||"
// as "|" and "|*|" as a double quote.
#include "collect/item/item_fields.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

inline constexpr std::string_view QuotePlaceholder = "|*|";

inline constexpr std::string_view PackageHeader4X =
    "宝贝名称,宝贝类目,店铺类目,新旧程度,省,城市,出售方式,宝贝价格,加价幅度,宝贝数量,有效期,运费承担,平邮,EMS,快递,"
    "付款方式,支付宝,发票,保修,自动重发,放入仓库,橱窗推荐,开始时间,心情故事,宝贝描述,宝贝图片,宝贝属性,团购价,"
    "最小团购件数,邮费模版ID,会员打折,修改时间,上传状态,图片状态,返点比例,新图片,视频,销售属性组合,用户输入ID串,"
    "用户输入名-值对,商家编码,销售属性别名,代充类型,宝贝编号,数字ID,宝贝链接 \r\n";

inline constexpr std::string_view PackageHeader5X =
    "version 1.00,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n"
    "title,cid,seller_cids,stuff_status,location_state,location_city,item_type,price,auction_increment,num,"
    "valid_thru,freight_payer,post_fee,ems_fee,express_fee,has_invoice,has_warranty,approve_status,has_showcase,"
    "list_time,description,cateProps,postage_id,has_discount,modified,upload_fail_msg,picture_status,auction_point,"
    "picture,video,skuProps,inputPids,inputValues,outer_id,propAlias,auto_fill,num_id,local_cid,navigation_type,"
    "user_name,syncStatus,is_lighting_consigment,is_xinpin,foodparame,features,item_size,item_weight,wireless_desc,"
    "subtitle,input_custom_cpv\r\n"
    "宝贝名称,宝贝类目,店铺类目,新旧程度,省,城市,出售方式,宝贝价格,加价幅度,宝贝数量,有效期,运费承担,平邮,EMS,快递,"
    "发票,保修,放入仓库,橱窗推荐,开始时间,宝贝描述,宝贝属性,邮费模版ID,会员打折,修改时间,上传状态,图片状态,返点比例,"
    "新图片,视频,销售属性组合,用户输入ID串,用户输入名-值对,商家编码,销售属性别名,代充类型,数字ID,本地ID,宝贝分类,"
    "账户名称,宝贝状态,闪电发货,新品,食品专项,尺码库,物流体积,物流重量,无线详情,宝贝卖点,自定义属性值\r\n";

static_assert(PackageHeader4X.size() == 396);
static_assert(PackageHeader5X.size() == 1051);

// A page value that cannot be written in its bare column, and why.
struct UnsafeBareField {
    std::string_view column;  // the column's name, as the 4.X header gives it
    std::string_view reason;
    bool operator==(const UnsafeBareField&) const = default;
};

// Why a value cannot stand bare in a row, or "" when it can: a double quote,
// a line break, a comma or the placeholder. Anything else is written as the
// page gives it ("699.00 - 799.00", "10件").
std::string_view bareValueFault(std::string_view value);

// The first of the item's bare page values, in the order 数字ID, 宝贝类目,
// 宝贝价格, 宝贝数量, that cannot stand in the row, or nothing. The item id and the
// category id must be digits (the category id may be missing), because they
// also name files and go into addresses; price and stock only need to pass
// bareValueFault.
std::optional<UnsafeBareField> unsafeBareField(const ItemFields& fields);

// The item's row in the layout of packageFormat (4 or 5), ending with CRLF;
// nothing when the title is empty or a bare value is unsafe.
std::optional<std::string> buildPackageRow(const ItemFields& fields, int packageFormat);

// A value as it stands between two placeholders: every run of double quotes
// made of even length (so a quote the extraction already doubled stays as it
// is and a lone one is doubled), every "|" doubled.
std::string quotedPackageValue(std::string_view value);

// The file's text: the layout's header, then the package text with its
// placeholders made quotes and its doubled "|" single.
std::string packageFileText(std::string_view packageText, int packageFormat);

// The package text with every quoted field's value (as it stands in the
// package text) passed through rewrite; everything else is kept.
std::string rewriteQuotedValues(std::string_view packageText,
                                const std::function<std::string(std::string_view)>& rewrite);

}  // namespace quorvane
