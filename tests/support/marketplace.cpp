#include "tests/support/marketplace.h"

#include "tests/support/fixtures.h"
#include "tests/support/property_services.h"

#include <algorithm>

namespace quorvane::test {

const MarketplaceItem kTaobaoItem{"527018364901", "taobao_item.html", "taobao_stock.txt"};
const MarketplaceItem kTmallItem{"541236987012", "tmall_item.html", ""};
const MarketplaceItem kItemDataItem{"530145678203", "item_data_answer.html", "item_data_stock.txt"};
const MarketplaceItem kNoTitleItem{"539900000004", "no_title_item.html", ""};

namespace {

const MarketplaceItem* const kItems[] = {&kTaobaoItem, &kTmallItem, &kItemDataItem, &kNoTitleItem};

std::string fixtureText(const std::string& name) {
    const std::vector<unsigned char> bytes = readFixture("marketplace/" + name);
    return std::string(bytes.begin(), bytes.end());
}

const MarketplaceItem* itemOf(std::string_view id) {
    for (const MarketplaceItem* item : kItems)
        if (id == item->id) return item;
    return nullptr;
}

Answer ok(std::string body, std::string contentType) {
    Answer answer;
    answer.headerLines = {"Content-Type: " + std::move(contentType)};
    answer.body = std::move(body);
    return answer;
}

Answer notFound() {
    Answer answer;
    answer.status = 404;
    answer.reason = "Not Found";
    answer.body = "no such item";
    return answer;
}

std::string queryOf(std::string_view target) {
    const auto mark = target.find('?');
    return mark == std::string_view::npos ? std::string() : std::string(target.substr(mark + 1));
}

Answer pageAnswer(std::string_view id) {
    const MarketplaceItem* item = itemOf(id);
    return item ? ok(fixtureText(item->page), "text/html") : notFound();
}

Answer stockAnswer(std::string_view id) {
    const MarketplaceItem* item = itemOf(id);
    return item && *item->stockAnswer ? ok(fixtureText(item->stockAnswer), "application/json") : notFound();
}

}  // namespace

std::span<const MarketplaceItem* const> marketplaceItems() { return kItems; }

std::string formValue(std::string_view text, std::string_view name) {
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find('&', at), text.size());
        const std::string_view pair = text.substr(at, end - at);
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name && pair[name.size()] == '=')
            return std::string(pair.substr(name.size() + 1));
        at = end + 1;
    }
    return {};
}

Marketplace::Marketplace() {
    server_.script(std::string(kItemPagePath), [this](const RecordedRequest& request) {
        return withDelay(pageAnswer(formValue(queryOf(request.target), "id")));
    });
    server_.script(std::string(kItemDataPath), [this](const RecordedRequest& request) {
        return withDelay(pageAnswer(formValue(request.body, "_id")));
    });
    server_.script(std::string(kGatewayPath), [this](const RecordedRequest&) {
        return withDelay(ok(fixtureText("gateway_answer.xml"), "text/xml;charset=UTF-8"));
    });
    for (std::string_view path : {kStockPath, kStockByHostPath}) {
        server_.script(std::string(path), [this](const RecordedRequest& request) {
            return withDelay(stockAnswer(formValue(queryOf(request.target), "itemId")));
        });
    }
    scriptPropertyServices(server_, [this](Answer answer) { return withDelay(std::move(answer)); });
}

std::string Marketplace::hostMap() const {
    const std::string to = "127.0.0.1:" + std::to_string(server_.port());
    std::string map;
    for (std::string_view from : {"*.taobao.com", "*.tmall.com", "*.quorvane.net"}) {
        if (!map.empty()) map += ',';
        map.append(from).append("=").append(to);
    }
    return map;
}

Answer Marketplace::withDelay(Answer answer) const {
    answer.delayBeforeHeaders = std::chrono::milliseconds(delayMs_.load());
    return answer;
}

}  // namespace quorvane::test
