#include "app/handlers/handlers.h"

#include "app/handlers/address_state.h"
#include "app/runtime/runtime.h"
#include "app/windows/templates.h"
#include "collect/addresses/address_analysis.h"
#include "collect/addresses/address_pages.h"
#include "collect/addresses/list_page_items.h"
#include "collect/addresses/page_range.h"
#include "collect/run/log_line.h"
#include "net/answer_bounds.h"
#include "net/request_thread.h"
#include "text/extract.h"
#include "text/search.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quorvane {

namespace {

constexpr const char* kBusyButtons[] = {"添加到列表", "开始", "添加到列表1"};

ui::Window& mainWindow() { return *ui::findWindow("MainWindow"); }

void logLine(const std::string& message) { mainWindow()["编辑框2"].appendText(logLineText(message)); }

// The time an analysis runs. Its requests process window messages while
// they wait, so another analysis, a run start or a list import could begin
// in the middle and mix their rows into these; they are refused meanwhile.
// The program's end sets the cancel event, which ends the request waited
// for, and the analysis stops there.
class AnalysisScope {
public:
    AnalysisScope()
        : cancel_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          oversizedLog_([](const std::string& address, std::size_t bound) {
              logLine("  " + oversizedAnswerMessage(address, bound));
          }) {
        current_ = this;
        setRequestCancelEvent(cancel_);
        setBusyButtonsDisabled(true);
    }
    ~AnalysisScope() {
        setBusyButtonsDisabled(false);
        setRequestCancelEvent(nullptr);
        if (cancel_) CloseHandle(cancel_);
        current_ = nullptr;
    }
    AnalysisScope(const AnalysisScope&) = delete;
    AnalysisScope& operator=(const AnalysisScope&) = delete;

    static AnalysisScope* current() { return current_; }
    void cancel() {
        cancelled_ = true;
        if (cancel_) SetEvent(cancel_);
    }
    bool cancelled() const { return cancelled_; }

private:
    static void setBusyButtonsDisabled(bool disabled) {
        if (ui::Window* main = ui::findWindow("MainWindow"))
            for (const char* name : kBusyButtons) (*main)[name].setDisabled(disabled);
    }

    static inline AnalysisScope* current_ = nullptr;
    HANDLE cancel_;
    ScopedOversizedAnswerLog oversizedLog_;
    bool cancelled_ = false;
};

std::string rowCountText() { return std::to_string(mainWindow()["超级列表框1"].rowCount()); }

void logListComplete() { logLine("  宝贝列表完成 【共提取了：  " + rowCountText() + "  个宝贝】"); }

// Rows only ever go at the end of the list: a run removes its copied rows
// by position.
void appendRows(const std::vector<std::vector<std::string>>& rows) {
    ui::Window& main = mainWindow();
    main["超级列表框1"].addRows(rows);
    main["透明标签4"].setText(rowCountText());
}

std::string resultPageAddress(const ShopListState& shop, int page) {
    if (shop.mode == CollectionMode::Shop) return shopPageAddress(shop.shopHost, page);
    return listPageAddress(shop.list, shop.shopHost, page);
}

// Reads the result pages after pagesDone up to lastPage; worker only names
// the reader in the log.
void readListPages(int worker, const AnalysisScope& scope) {
    ShopListState& shop = addressState().shopList;
    const std::string reader = "  线程：" + std::to_string(worker);
    while (shop.pagesDone < shop.lastPage) {
        const int page = ++shop.pagesDone;
        const std::string text = fetchPageText(resultPageAddress(shop, page));
        if (scope.cancelled()) return;
        logLine(reader + "  正在读取宝贝列表 第：  " + std::to_string(page) + " /" + std::to_string(shop.lastPage) +
                " 页");
        const ResultPageItems read = itemsOfResultPage(text);
        if (!read.whole)
            logLine(reader + "  第：  " + std::to_string(page) + " 页过于复杂，未能完整读取，部分宝贝未提取！");
        std::vector<std::vector<std::string>> rows;
        for (const ListPageItem& item : read.items)
            rows.push_back({item.name, item.price, listedItemAddress(item.itemId), item.itemId});
        appendRows(rows);
        logLine(reader + "  读取成功，成功提取了：  " + rowCountText() + "  个宝贝");
        if (shop.pagesDone == shop.lastPage) logListComplete();
    }
}

// The first result page tells how many pages there are; a long reading is
// narrowed by the seller first.
void readResultPages(const std::string& firstPage, const char* noItems, const AnalysisScope& scope) {
    logLine("  共搜索到：" + resultCountText(firstPage) + " 个商品");
    const std::string total = pageIndicatorTotal(firstPage);
    const int pages = pageCountOf(total);
    if (pages == 0) {
        logLine(noItems);
        return;
    }
    logLine("  宝贝页码从第 1 页到第  " + total + "  页下载，总页码数是 " + total + " 页！");
    ShopListState& shop = addressState().shopList;
    shop.lastPage = pages;
    shop.pagesDone = 0;
    if (asksPageRange(pages)) ui::loadWindow(pageRangeDialogTemplate(), true);
    readListPages(1, scope);
}

void analyseSingleItems(const std::string& boxText, const AnalysisScope& scope) {
    AddressState& state = addressState();
    if (boxText != kPastedAddressesMarker) state.pastedAddressList = boxText;
    // The address input window may replace the list while pages load.
    const std::string addresses = state.pastedAddressList;
    for (int k = 1, lines = countLines(addresses); k <= lines; ++k) {
        const std::string line = trimText(lineAt(addresses, k));
        const std::string text = line.empty() ? std::string() : fetchItemPageText(line);
        if (scope.cancelled()) return;
        const std::string id = itemIdOfPage(text);
        const std::string title = itemTitleOfPage(text);
        if (id.empty() || trimText(title).empty()) {
            logLine("  地址不正确，未识别到宝贝！");
            continue;
        }
        appendRows({{title, "", line, id}});
    }
    logListComplete();
}

void analyseShop(const std::string& boxText, const AnalysisScope& scope) {
    logLine("  正在分析地址……");
    ShopListState& shop = addressState().shopList;
    shop.shopHost = shopHostOfAddress(boxText);
    constexpr const char* kNoShop = "  店铺地址不正确，未识别到宝贝！";
    if (!isShopHost(shop.shopHost)) {
        logLine(kNoShop);
        return;
    }
    const std::string text = fetchPageText(shopSearchAddress(shop.shopHost));
    if (scope.cancelled()) return;
    if (text.empty()) {
        logLine(kNoShop);
        return;
    }
    readResultPages(text, "  该店铺未识别到宝贝！", scope);
}

void analyseList(const std::string& boxText, const AnalysisScope& scope) {
    logLine("  正在分析地址……");
    ShopListState& shop = addressState().shopList;
    shop.shopHost = shopHostOfAddress(boxText);
    shop.list = classifyListAddress(boxText, shop.shopHost);
    constexpr const char* kNoList = "  分类地址不正确，未识别到宝贝！";
    // The host goes into the result page addresses.
    if (shop.list.key.empty() || !isPlainHost(shop.shopHost)) {
        logLine(kNoList);
        return;
    }
    const std::string text = fetchPageText(listPageAddress(shop.list, shop.shopHost, 1));
    if (scope.cancelled()) return;
    if (text.empty()) {
        logLine(kNoList);
        return;
    }
    readResultPages(text, "  该分类未识别到宝贝！", scope);
}

}  // namespace

bool addressAnalysisRunning() { return AnalysisScope::current() != nullptr; }

void cancelAddressAnalysis() {
    if (AnalysisScope* scope = AnalysisScope::current()) scope->cancel();
}

void onAddToListClicked() {
    if (addressAnalysisRunning() || runInProgress()) return;
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    const std::string boxText = (*main)["编辑框1"].text();
    if (trimText(boxText).empty()) return;
    AddressState& state = addressState();
    state.shopList.list = {};
    state.shopList.mode = state.collectionMode;
    const AnalysisScope scope;
    switch (state.collectionMode) {
    case CollectionMode::SingleItems:
        analyseSingleItems(boxText, scope);
        break;
    case CollectionMode::Shop:
        analyseShop(boxText, scope);
        break;
    case CollectionMode::List:
        analyseList(boxText, scope);
        break;
    }
}

}  // namespace quorvane
