#include "tests/support/marketplace.h"

#include "tests/support/description_services.h"
#include "tests/support/fixtures.h"
#include "tests/support/property_services.h"
#include "tests/support/result_pages.h"

#include <windows.h>

#include <algorithm>

namespace quorvane::test {

const MarketplaceItem kTaobaoItem{"527018364901", "taobao_item.html", "taobao_stock.txt"};
const MarketplaceItem kTmallItem{"541236987012", "tmall_item.html", ""};
const MarketplaceItem kItemDataItem{"530145678203", "item_data_answer.html", "item_data_stock.txt"};
const MarketplaceItem kNoTitleItem{"539900000004", "no_title_item.html", ""};

const ItemPage kTaobaoItemPage{"https://item.taobao.com/item.htm?id=527018364901", "taobao_item.html", false};
const ItemPage kTmallItemPage{"https://detail.tmall.com/item.htm?id=541236987012", "tmall_item.html", false};
const ItemPage kItemDataItemPage{"https://item.taobao.com/item.htm?id=530145678203", "item_data_answer.html", false};
const ItemPage kNoTitleItemPage{"https://item.taobao.com/item.htm?id=539900000004", "no_title_item.html", false};
const ItemPage kWalletItemPage{"https://item.taobao.com/item.htm?spm=a1z10.5-c.w4002-14523.12.2b1d&id=538056700101",
                               "leather_wallet_item.html", false};
const ItemPage kUnquotedGbkItemPage{
    "https://detail.tmall.com/item.htm?id=557200000103&skuId=3163351829031&user_id=2200654321",
    "unquoted_gbk_utf8_item.html", false};
const ItemPage kQuotedGbkItemPage{"https://detail.tmall.com/item.htm?id=557200000107", "quoted_gbk_utf8_item.html",
                                  false};
const ItemPage kBrowserOnlyItemPage{"https://item.taobao.com/item.htm?id=538012340102", "browser_only_item.html", true};

namespace {

const MarketplaceItem* const kItems[] = {&kTaobaoItem, &kTmallItem, &kItemDataItem, &kNoTitleItem};
const ItemPage* const kItemPages[] = {&kTaobaoItemPage,    &kTmallItemPage,      &kItemDataItemPage,
                                      &kNoTitleItemPage,   &kWalletItemPage,     &kUnquotedGbkItemPage,
                                      &kQuotedGbkItemPage, &kBrowserOnlyItemPage};

std::string marketplaceFile(const std::string& name) { return fixtureText("marketplace/" + name); }

const MarketplaceItem* itemOf(std::string_view id) {
    for (const MarketplaceItem* item : kItems)
        if (id == item->id) return item;
    if (id == kPictureTrialItem.id) return &kPictureTrialItem;
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
    return item ? ok(marketplaceFile(item->page), "text/html") : notFound();
}

Answer stockAnswer(std::string_view id) {
    const MarketplaceItem* item = itemOf(id);
    return item && *item->stockAnswer ? ok(marketplaceFile(item->stockAnswer), "application/json") : notFound();
}

const ItemPage* itemPageOf(std::string_view id) {
    for (const ItemPage* page : kItemPages)
        if (id == formValue(queryOf(page->address), "id")) return page;
    return nullptr;
}

// The request with the browser's cookies sends the browser's own agent; the
// plain page request has an older one of its own.
bool fromBrowser(const RecordedRequest& request) {
    return request.header("User-Agent").find(kBrowserAgentMark) != std::string::npos;
}

// A page that turns away the plain request answers it with nothing at all.
Answer itemPageAnswer(const RecordedRequest& request) {
    const std::string id = formValue(queryOf(request.target), "id");
    const ItemPage* page = itemPageOf(id);
    if (!page) return pageAnswer(id);
    if (page->plainFetchEmpty && !fromBrowser(request)) return ok("", "text/html");
    return ok(marketplaceFile(page->page), "text/html");
}

}  // namespace

std::span<const MarketplaceItem* const> marketplaceItems() { return kItems; }
std::span<const ItemPage* const> itemPages() { return kItemPages; }

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
    server_.script(std::string(kItemPagePath),
                   [this](const RecordedRequest& request) { return withDelay(itemPageAnswer(request)); });
    server_.script(std::string(kItemDataPath), [this](const RecordedRequest& request) {
        return withDelay(pageAnswer(formValue(request.body, "_id")));
    });
    server_.script(std::string(kGatewayPath), [this](const RecordedRequest&) {
        return withDelay(ok(marketplaceFile("gateway_answer.xml"), "text/xml;charset=UTF-8"));
    });
    for (std::string_view path : {kStockPath, kStockByHostPath}) {
        server_.script(std::string(path), [this](const RecordedRequest& request) {
            return withDelay(stockAnswer(formValue(queryOf(request.target), "itemId")));
        });
    }
    for (const std::string& path : resultPagePaths()) {
        server_.script(path, [this](const RecordedRequest& request) { return withDelay(resultPageAnswer(request)); });
    }
    scriptPropertyServices(server_, [this](Answer answer) { return withDelay(std::move(answer)); });
    scriptDescriptionServices(server_, [this](Answer answer) { return withDelay(std::move(answer)); });
}

std::string Marketplace::hostMap() const {
    const std::string to = "127.0.0.1:" + std::to_string(server_.port());
    std::string map;
    for (std::string_view from : {"*.taobao.com", "*.tmall.com", "*.quorvane.net", "*.example-mall.cn"}) {
        if (!map.empty()) map += ',';
        map.append(from).append("=").append(to);
    }
    return map;
}

void Marketplace::servePictureLoad(int count, std::size_t bytes) {
    scriptPictureLoad(
        server_, [this](Answer answer) { return withDelay(std::move(answer)); }, count, bytes);
}

void Marketplace::servePictureLoad(int count, const Answer& picture) {
    scriptPictureLoad(
        server_, [this](Answer answer) { return withDelay(std::move(answer)); }, count, picture);
}

void Marketplace::setFaults(FaultPlan plan) {
    faults_ = std::make_shared<FaultInjector>(plan);
    server_.setAnswerFilter([faults = faults_](const RecordedRequest& request, Answer answer) {
        return faults->apply(request, std::move(answer));
    });
}

std::array<std::uint64_t, kFaultKinds + 1> Marketplace::faultCounts() const {
    return faults_ ? faults_->counts() : std::array<std::uint64_t, kFaultKinds + 1>{};
}

Answer Marketplace::withDelay(Answer answer) const {
    answer.delayBeforeHeaders = std::chrono::milliseconds(delayMs_.load());
    return answer;
}

Marketplace& sharedMarketplace() {
    static Marketplace market;
    return market;
}

bool routeHostsToSharedMarketplace() {
    return SetEnvironmentVariableA("QUORVANE_HOST_MAP", sharedMarketplace().hostMap().c_str()) != 0;
}

}  // namespace quorvane::test
