#include "collect/item/item_page_fields.h"

#include "collect/item/field_checks.h"
#include "collect/item/page_parts.h"
#include "collect/item/page_text.h"
#include "collect/item/sku_stock.h"
#include "collect/item/unicode_escapes.h"
#include "collect/package/package_format.h"
#include "net/host_map.h"
#include "net/page_request.h"
#include "text/extract.h"
#include "text/search.h"

#include <algorithm>
#include <utility>

namespace quorvane {

namespace {

constexpr std::string_view kTmallSkuPattern =
    R"re(";(.[^"]*?);":{.*?"price":"(.*?)","priceCent":.*?,"skuId":.*?,"stock":(.*?)})re";
constexpr std::string_view kTaobaoSkuPattern =
    R"re(";(.*?);":\s*?{\s*?"skuId" : ".*?",\s*?"oversold":\s*?"false"\s*?,\s*?"price" : "(.*?)",\s*?"stock" :\s*?".*?"\s*?\s*?})re";
constexpr std::string_view kTaobaoCompactSkuPattern = R"re(";(.*?);":{"price":"(.*?)","skuId":")re";
// A pid:vid pair whose two numbers are both negative, with its ";".
constexpr const char* kNegativePairPattern = R"re(-\d*?:-\d*?;)re";

void log(const WorkerProgress& progress, const std::string& message) {
    if (progress.log) progress.log(message);
}

std::string number(int n) { return std::to_string(n); }

// Both stock markers that end at the next "," leave what stands between the
// digits and that comma: a stock written last in its object keeps its "}"
// ("9}"), a quoted one its quotes. Such a cut is trimmed to its digits; any
// other text stays as it was found.
std::string stockDigits(const std::string& text) {
    constexpr std::string_view digits = "0123456789";
    constexpr std::string_view leftoversBefore = " \t\r\n\"";
    constexpr std::string_view leftoversAfter = " \t\r\n\"}";
    const std::string_view cut(text);
    const std::size_t first = cut.find_first_of(digits);
    if (first == std::string_view::npos) return text;
    const std::size_t end = std::min(cut.find_first_not_of(digits, first), cut.size());
    const bool onlyLeftovers = cut.substr(0, first).find_first_not_of(leftoversBefore) == std::string_view::npos &&
                               cut.substr(end).find_first_not_of(leftoversAfter) == std::string_view::npos;
    return onlyLeftovers ? text.substr(first, end - first) : text;
}

void setDefaults(ItemFields& item) {
    item.valid_thru = "7";
    item.freight_payer = "0";
    item.upload_fail_msg = "200";
    item.features.clear();
    item.item_size.clear();
    item.item_weight.clear();
    item.list_time.clear();
    item.modified.clear();
    item.skuProps.clear();
}

void setLocation(ItemFields& item, std::string_view text) {
    Location location = splitLocation(text);
    item.location_state = std::move(location.province);
    item.location_city = std::move(location.city);
}

// The key without its negative pairs, or "" when nothing else is left (such
// an entry is dropped, so that it cannot run into the next one).
std::string withoutNegativePairs(const std::string& key, const boost::regex& perl) {
    try {
        return boost::regex_replace(key + ";", perl, "");
    } catch (const std::runtime_error&) {
        return key + ";";
    }
}

void readTmallFields(ItemFields& item, WorkerRegexes& regexes) {
    regexes.first.create(kTmallSkuPattern);
    regexes.perl.assign(kNegativePairPattern, boost::regex::perl | boost::regex::icase);
    const int count = regexes.first.execute(skuEntriesText(item.pageText));
    for (int i = 1; i <= count; ++i) {
        const std::string key = withoutNegativePairs(regexes.first.subMatchText(i, 1), regexes.perl);
        if (key.empty()) continue;
        item.skuProps = regexes.first.subMatchText(i, 2) + ":" + regexes.first.subMatchText(i, 3) + "::" + key +
                        item.skuProps;
    }
    setLocation(item, textBetween(item.pageText, "region#引号 value=#引号", "#引号"));
    item.price = textBetween(item.pageText, "reservePrice#引号:#引号", "#引号");
    item.num = stockDigits(textBetween(item.pageText, "quantity#引号:", ","));
}

std::string stockServiceAddress(const std::string& pageText) {
    std::string address = textBetween(pageText, "wholeSibUrl      : '", "'");
    if (!address.empty()) return address;
    const std::string marker = "//" + std::string(hosts::kStockService) + "/";
    return marker + textBetween(pageText, marker, "'");
}

std::string stockServiceHeaderLines(const std::string& itemId) {
    return "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
           "Referer: https://" + std::string(hosts::kItemPage) + "/item.htm?id=" + itemId + "\r\n"
           "User-Agent: Mozilla/4.0\r\n"
           "Host: " + std::string(hosts::kStockService) + "\r\n"
           "Pragma: no-cache";
}

void readTaobaoFields(ItemFields& item, WorkerRegexes& regexes) {
    const std::string skuEntries = skuEntriesText(item.pageText);
    regexes.first.create(kTaobaoSkuPattern);
    if (regexes.first.execute(skuEntries) == 0) {
        regexes.first.create(kTaobaoCompactSkuPattern);
        regexes.first.execute(skuEntries);
    }

    // The address comes from the page: one holding blanks or line breaks
    // would put text of the page into the request's lines, so it gets none.
    std::string address = "https:" + stockServiceAddress(item.pageText);
    if (isPlainAddress(address)) {
        PageRequest request;
        request.address = &address;
        request.headerLines = stockServiceHeaderLines(item.itemId);
        item.stockAnswer = bytesAsText(fetchWebPage(request));
    }

    for (int i = 1; i <= regexes.first.matchCount(); ++i) {
        const std::string key = regexes.first.subMatchText(i, 1);
        const std::string stock = skuStock(item.stockAnswer, key).value_or("");
        item.skuProps = regexes.first.subMatchText(i, 2) + ":" + stock + "::" + key + ";" + item.skuProps;
    }

    std::string location = decodeUnicodeEscapes(textBetween(item.stockAnswer, "sendCity#引号:#引号", "#引号"));
    if (location.empty()) location = textBetween(item.stockAnswer, "location:'", "'");
    setLocation(item, location);

    item.price = textBetween(item.pageText, "current_price#引号 value= #引号", "#引号");
    item.num = textBetween(item.stockAnswer, "stock#引号:        #引号", "#引号");
    if (item.num.empty())
        item.num = textBetween(item.stockAnswer, "stock#引号:                                    #引号", "#引号");
    if (item.num.empty()) item.num = stockDigits(textBetween(item.stockAnswer, "sellableQuantity#引号:", ","));
}

void logRefusal(const WorkerProgress& progress, const UnsafeBareField& field) {
    log(progress, "线程：" + number(progress.worker) + "  放弃 第：" + number(progress.itemNumber) + "/" +
                      number(progress.total) + " 个宝贝   " + std::string(field.column) + "字段" +
                      std::string(field.reason) + "，不能写入数据包！");
}

}  // namespace

std::string itemPageText(const Bytes& itemData) { return pageText(itemData); }

PageFieldsCheck readItemPageFields(ItemFields& item, const Bytes& itemData, WorkerRegexes& regexes,
                                   const WorkerProgress& progress) {
    // The id goes into the stock request's Referer line. It is the first
    // value unsafeBareField looks at, so the refusal names it.
    if (!isDigitText(item.itemId)) {
        logRefusal(progress, *unsafeBareField(item));
        return PageFieldsCheck::BadItemId;
    }

    item.pageText = itemPageText(itemData);
    item.isTmall = findLeft(item.pageText, "天猫Tmall") != -1;
    log(progress, "线程：" + number(progress.worker) + "  开始获取 第：" + number(progress.itemNumber) + "/" +
                      number(progress.total) + " 个宝贝   基本信息！");

    item.title = textBetween(item.pageText, "<title>", "-淘宝网</title>");
    if (item.title.empty()) item.title = textBetweenMatchCase(item.pageText, "title#引号:#引号", "\"", 5000, true);
    item.title = decodeTitleEntities(item.title);

    item.cid = textBetween(item.pageText, "item%5f", "&");
    if (item.cid.empty()) item.cid = textBetween(item.pageText, "data-catid=#引号", "#引号");

    setDefaults(item);
    if (item.isTmall) {
        readTmallFields(item, regexes);
    } else {
        readTaobaoFields(item, regexes);
    }
    if (item.location_city.empty()) item.location_city = item.location_state;

    item.stockAnswer.clear();
    item.propAlias.clear();
    item.input_custom_cpv.clear();
    item.inputPids.clear();
    item.inputValues.clear();
    if (const std::optional<UnsafeBareField> unsafe = unsafeBareField(item)) {
        logRefusal(progress, *unsafe);
        return PageFieldsCheck::UnsafeBareField;
    }
    return PageFieldsCheck::Ok;
}

std::string decodeTitleEntities(std::string_view text) {
    static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&amp;", "&"},       {"&apos;", "'"},     {"&lt;", "<"},        {"&gt;", ">"},
        {"&middot;", "·"},    {"&rsquo;", "’"},    {"&mdash;", "—"},     {"&lsquo;", "‘"},
        {"&quot;", "\"\""},   {"&ldquo;", "“"},    {"&rdquo;", "”"},     {"&deg;", "°"},
    };
    std::string result(text);
    for (const auto& [entity, replacement] : kEntities) result = replaceText(result, entity, replacement);
    return result;
}

Location splitLocation(std::string_view text) {
    const bool threeCharacters = findLeft(text, "黑龙江") != -1 || findLeft(text, "内蒙古") != -1;
    const int provinceBytes = threeCharacters ? 6 : 4;
    return {leftBytes(text, provinceBytes), middleBytes(text, provinceBytes + 1, 100)};
}

}  // namespace quorvane
