#include "collect/properties/item_properties.h"

#include "collect/item/page_parts.h"
#include "collect/properties/property_list.h"
#include "net/host_map.h"
#include "net/timed_request.h"
#include "text/codepage.h"
#include "text/extract.h"
#include "text/search.h"

namespace quorvane {
namespace {

constexpr std::string_view kPropertyPattern = R"re(\{"name":"(.*?)","value":"(.*?)"\})re";
}  // namespace

std::string propertyListOf(std::string_view answer, RegExpA& regExp) {
    const std::string props = replaceText(textBetween(answer, "#引号props#引号:", ",#引号descInfo"), ";", "//");
    regExp.create(kPropertyPattern);
    // JSON writes no {"name":" inside a text: each piece is one property.
    static constexpr std::string_view kSequence[] = {R"(","value":")", R"("})"};
    const int count = regExp.execute(piecesText(props, R"({"name":")", kSequence));
    std::string list;
    for (int i = 1; i <= count; ++i) {
        const std::string name = regExp.subMatchText(i, 1);
        for (const std::string& piece : valuePieces(regExp.subMatchText(i, 2))) list += name + ":" + piece + ";";
    }
    return replaceText(list, "\\\"", "\"");
}

void readItemProperties(ItemFields& item, WorkerRegexes& regexes) {
    TimedRequest request;
    request.address = "http://" + std::string(hosts::kMobileData) + "/cache/wdetail/5.0/?id=" + item.itemId;
    item.propertyList = propertyListOf(utf8BytesToAnsi(httpRequestWithTimeout(request)), regexes.first);
}

}  // namespace quorvane
