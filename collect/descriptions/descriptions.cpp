#include "collect/descriptions/descriptions.h"

#include "collect/item/field_checks.h"
#include "collect/item/item_page_fields.h"
#include "net/host_map.h"
#include "net/timed_request.h"
#include "text/extract.h"
#include "text/lazy_spans.h"
#include "text/search.h"

#include <algorithm>

namespace quorvane {
namespace {

std::string number(int n) { return std::to_string(n); }

std::string answerText(const std::string& address) {
    TimedRequest request;
    request.address = address;
    return bytesAsText(httpRequestWithTimeout(request));
}

std::string mobileDataAddress(std::string_view service, const std::string& itemId) {
    return "http://" + std::string(hosts::kMobileData) + "/cache/" + std::string(service) + "/5.0?id=" + itemId;
}

// The first paragraph of the page, without its tabs.
std::string tmallSubtitle(const std::string& pageText) {
    std::string subtitle = trimText(textBetween(pageText, "<p>", "</p>"));
    std::erase(subtitle, '\t');
    return trimText(subtitle);
}

std::string tmallDescription(const std::string& pageText) {
    const std::string address = "http:" + trimText(textBetween(pageText, "descUrl#引号:#引号", "#引号"));
    // A page without the address asks for "http:" alone, which fails as well.
    if (!isPlainAddress(address)) return {};
    return textBetween(answerText(address), "var desc='", "';");
}

}  // namespace

std::string wirelessDescriptionOf(std::string_view answer) {
    std::string pages = textBetween(answer, "pages#引号:[#引号", "#引号]");
    // <img size=.*?>// with "." taking line ends too
    if (findLeft(pages, "img size") != -1) pages = replaceLazySpans(pages, {{"<img size=", ">//", 0}}, "<img>http://");
    pages = replaceText(pages, "\",\"", "");
    pages = replaceText(pages, "\"", "\"\"");
    return "<wapDesc>" + pages + "</wapDesc>";
}

std::string fixedDescriptionAddresses(std::string_view description) {
    std::string text = replaceText(description, "=\"\"//", "=\"\"http://");
    text = replaceText(text, "https://", "http://");
    text = replaceText(text, "\\", "");
    return replaceText(text, "_.webp", "");
}

void readDescriptions(ItemFields& item, const WorkerProgress& progress) {
    const auto log = [&](const std::string& message) {
        if (progress.log) progress.log("线程：" + number(progress.worker) + message);
    };
    const std::string place = number(progress.itemNumber) + "/" + number(progress.total);
    log("  获取成功 第：" + place + " 个宝贝   基本信息！");
    log("  开始获取 第：" + place + "  个宝贝   描述信息！");

    std::string description;
    if (item.isTmall) {
        item.subtitle = tmallSubtitle(item.pageText);
        description = tmallDescription(item.pageText);
    } else {
        item.subtitle = trimText(textBetween(item.pageText, "subtitle#引号>", "</p>"));
        description = textBetween(answerText(mobileDataAddress("wdesc", item.itemId)), "tfsContent : '", "',");
    }
    description = replaceText(description, "\"", "\"\"");
    item.subtitle = decodeTitleEntities(item.subtitle);

    item.wireless_desc = wirelessDescriptionOf(answerText(mobileDataAddress("mdesc", item.itemId)));
    log("  成功获取 第：" + place + "  个宝贝   描述信息！");

    item.description = fixedDescriptionAddresses(description);
    item.wireless_desc = replaceText(replaceText(item.wireless_desc, "<img>//", "<img>http://"), "https://", "http://");
}

}  // namespace quorvane
