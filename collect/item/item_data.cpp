#include "collect/item/item_data.h"

#include "collect/item/field_checks.h"
#include "net/host_map.h"
#include "net/page_request.h"
#include "net/timed_request.h"
#include "text/bytes.h"
#include "text/clock.h"
#include "text/digest.h"
#include "text/search.h"

#include <algorithm>
#include <cstdio>

namespace quorvane {

namespace {

constexpr std::string_view kItemMethod = "taobao.item.get";
constexpr std::string_view kItemFieldList =
    "prop_img.url,prop_img.properties,item_img.url,desc,title,cid,price,num,post_fee,input_str,input_pids,"
    "seller_cids,props,input_pids,input_str,property_alias,sku,outer_id,approve_status,has_discount,has_invoice,"
    "has_warranty,has_showcase,valid_thru,list_time,modified,delist_time,postage_id,location,freight_payer,"
    "post_fee,express_fee,ems_fee,has_warranty,item_weight,item_size,features,food_security,wireless_desc ";

// "https://item.taobao.com/item.htm?id=", enciphered with the secret that the
// records of this source carry ("quorvane-mirror-88").
constexpr std::string_view kEncipheredItemPageBase =
    "B3,84,7C,3B,D3,11,6C,88,42,46,71,30,DD,44,F6,13,73,27,98,98,F0,52,7F,B3,23,F5,CB,9A,3A,BD,EE,E3,14,3E,6B,99,";

bool nameGreater(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

Bytes fromItemDataService(std::string_view itemId, std::string_view secret) {
    const std::string check = md5Hex(std::string(itemId) + std::string(secret));
    TimedRequest request;
    request.address = "http://" + std::string(hosts::kItemDataService) + "/item_get";
    request.method = "POST";
    request.body = "_id=" + std::string(itemId) + "&m=" + check;
    return httpRequestWithTimeout(request);
}

Bytes fromEncipheredAddress(std::string_view itemId, std::string_view secret) {
    std::string list(kEncipheredItemPageBase);
    std::string address = decipherHexString(list, secret, 1);
    // A record with the wrong secret deciphers to noise; it gets no request.
    if (!address.starts_with("http://") && !address.starts_with("https://")) return {};
    address += itemId;
    PageRequest request;
    request.address = &address;
    return fetchWebPage(request);
}

Bytes fromOpenPlatform(std::string_view itemId, std::string_view key, std::string_view secret) {
    const ParamList params{{"fields", std::string(kItemFieldList)}, {"num_iid", std::string(itemId)}};
    TimedRequest request;
    request.address = buildOpenPlatformUrl(key, secret, "", "xml", "md5", kItemMethod, params);
    if (request.address.empty()) return {};
    return httpRequestWithTimeout(request);
}

}  // namespace

ItemDataSource itemDataSourceOf(std::string_view key) {
    const std::string_view last = key.size() < 2 ? key : key.substr(key.size() - 2);
    if (last == "99") return ItemDataSource::ItemDataService;
    if (last == "88") return ItemDataSource::EncipheredAddress;
    return ItemDataSource::OpenPlatform;
}

Bytes fetchItemData(std::string_view itemId, std::string_view key, std::string_view secret) {
    // The id goes into addresses and form bodies as it stands.
    if (!isDigitText(itemId)) return {};
    switch (itemDataSourceOf(key)) {
        case ItemDataSource::ItemDataService: return fromItemDataService(itemId, secret);
        case ItemDataSource::EncipheredAddress: return fromEncipheredAddress(itemId, secret);
        case ItemDataSource::OpenPlatform: break;
    }
    return fromOpenPlatform(itemId, key, secret);
}

std::string buildOpenPlatformUrl(std::string_view key, std::string_view secret, std::string_view session,
                                 std::string_view format, std::string_view signMethod, std::string_view method,
                                 const ParamList& params) {
    ParamList copy = params;
    return buildSignedRestUrl(key, secret, session, format.empty() ? "xml" : format,
                              signMethod.empty() ? "md5" : signMethod, method, copy);
}

std::string buildSignedRestUrl(std::string_view key, std::string_view secret, std::string_view session,
                               std::string_view format, std::string_view signMethod, std::string_view method,
                               ParamList& params) {
    if (key.empty() || secret.empty()) return {};
    params.push_back({"app_key", std::string(key)});
    params.push_back({"format", format.empty() ? "xml" : std::string(format)});
    params.push_back({"sign_method", signMethod.empty() ? "md5" : std::string(signMethod)});
    params.push_back({"v", "2.0"});
    params.push_back({"method", std::string(method)});
    params.push_back({"session", std::string(session)});
    params.push_back({"timestamp", openPlatformTimestamp()});
    sortParamsByName(params);
    std::erase_if(params, [](const ParamPair& pair) { return pair.name.empty() || pair.value.empty(); });

    std::string signed_(secret);
    std::string query;
    for (const ParamPair& pair : params) {
        signed_ += pair.name + pair.value;
        query += (query.empty() ? "" : "&") + pair.name + "=" + pair.value;
    }
    signed_ += secret;
    query += "&sign=" + upperText(md5Hex(signed_));
    return "http://" + std::string(hosts::kOpenPlatformGateway) + "/router/rest?" + query;
}

void sortParamsByName(ParamList& params) {
    for (std::size_t i = 0; i < params.size(); ++i)
        for (std::size_t j = i + 1; j < params.size(); ++j)
            if (nameGreater(params[i].name, params[j].name)) std::swap(params[i], params[j]);
}

std::string openPlatformTimestamp() {
    refreshLocalTimeFields();
    const SYSTEMTIME now = localTimeFields();
    char text[32];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}

}  // namespace quorvane
