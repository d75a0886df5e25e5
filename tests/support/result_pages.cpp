// The shops and category lists of the marketplace, and where their result
// pages are served.
#include "tests/support/result_pages.h"

#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace quorvane::test {

const Listing kTaobaoShop{"https://nuanyang.taobao.com/index.htm?spm=a1z10.1-c.0.0.5f1a2b", ListingMode::Shop, 3, "4",
                          "nuanyang_shop"};
const Listing kOlderLayoutShop{"http://xiaoman.taobao.com/", ListingMode::Shop, 2, "4", "xiaoman_shop"};
const Listing kTmallShop{"https://qingyu.tmall.com/shop/view_shop.htm?spm=a220o.1000855.0.0.3c1d", ListingMode::Shop,
                         40, "800", "qingyu_shop"};
const Listing kScidList{
    "https://nuanyang.taobao.com/search.htm?spm=a1z10.3-c.w4002-14523.2.3a9c&search=y&scid=1102345678"
    "&scname=zuLNx7zn&checkedRange=true&queryType=cat",
    ListingMode::List, 2, "17", "nuanyang_scid"};
const Listing kCatIdList{
    "https://qingyu.tmall.com/search.htm?spm=a1z10.3-b-s.w4011-14703.7.4d2c&search=y&catId=1305000123"
    "&orderType=defaultSort&tsearch=y",
    ListingMode::List, 2, "30", "qingyu_catid"};
const Listing kCategoryPageList{
    "https://qingyu.tmall.com/category-1305000123.htm?spm=a1z10.1-b-s.w5001-14703.4.7e1f&search=y"
    "&catName=%C4%D0%CA%BF%D3%F0%C8%DE%B7%FE",
    ListingMode::List, 2, "30", "qingyu_catid"};
const Listing kSearcyTypeList{
    "https://nuanyang.taobao.com/category-1280567.htm?searcy_type=item&s_from=newHeader&source=&ssid=s5-e"
    "&search=y&initiative_id=shopz_20161112",
    ListingMode::List, 3, "19", "nuanyang_category"};
const Listing kCategoryScidList{
    "https://nuanyang.taobao.com/category-1280567.htm?spm=a1z10.5-c.w4010-14523.6.2b1d&search=y&scid=1280567"
    "&orderType=hotsell_desc#bd",
    ListingMode::List, 3, "19", "nuanyang_category"};

namespace {

const Listing* const kListings[] = {&kTaobaoShop, &kOlderLayoutShop,  &kTmallShop,      &kScidList,
                                    &kCatIdList,  &kCategoryPageList, &kSearcyTypeList, &kCategoryScidList};

constexpr std::string_view kGbkPage = "text/html;charset=GBK";
constexpr std::string_view kUtf8Page = "text/html;charset=UTF-8";

// Where a listing's pages are served: the shop's host, the path after the
// host segment, and the query parameter that names the list, if any.
struct ResultPages {
    std::string_view host;
    std::string_view path;
    std::string_view listParameter;
    std::string_view listKey;
    const Listing* listing;
    std::string_view contentType;
    bool fromTemplate;  // listings/<stem>_template.html, its marks filled in per page
};

const ResultPages kResultPages[] = {
    {"nuanyang.taobao.com", "search.htm", "", "", &kTaobaoShop, kGbkPage, false},
    {"nuanyang.taobao.com", "search.htm", "scid", "1102345678", &kScidList, kGbkPage, false},
    {"nuanyang.taobao.com", "category-1280567.htm", "", "", &kSearcyTypeList, kGbkPage, false},
    {"xiaoman.taobao.com", "search.htm", "", "", &kOlderLayoutShop, kGbkPage, false},
    {"qingyu.tmall.com", "search.htm", "", "", &kTmallShop, kUtf8Page, true},
    {"qingyu.tmall.com", "search.htm", "catId", "1305000123", &kCatIdList, kUtf8Page, false},
};

std::string queryOf(std::string_view target) {
    const auto mark = target.find('?');
    return mark == std::string_view::npos ? std::string() : std::string(target.substr(mark + 1));
}

// A shop's search names a category by scid or catId; one the shop does not
// have finds nothing rather than the whole shop.
const ResultPages* pagesOf(std::string_view host, std::string_view path, const std::string& query) {
    const ResultPages* wholeShop = nullptr;
    for (const ResultPages& pages : kResultPages) {
        if (pages.host != host || pages.path != path) continue;
        if (pages.listParameter.empty()) {
            wholeShop = &pages;
        } else if (formValue(query, pages.listParameter) == pages.listKey) {
            return &pages;
        }
    }
    const bool namesList = !formValue(query, "scid").empty() || !formValue(query, "catId").empty();
    return path == "search.htm" && namesList ? nullptr : wholeShop;
}

// pageNum from 1; a search without one is its first page; 0 for anything else.
int pageNumberOf(const std::string& query) {
    const std::string text = formValue(query, "pageNum");
    if (text.empty()) return 1;
    if (text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoi(text);
}

std::string replaced(std::string text, std::string_view mark, const std::string& value) {
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
        text.replace(at, mark.size(), value);
    return text;
}

std::string pageText(const ResultPages& pages, int page) {
    const std::string folder = "marketplace/listings/" + std::string(pages.listing->stem);
    if (!pages.fromTemplate) return fixtureText(folder + "_" + std::to_string(page) + ".html");
    char twoDigits[16];
    std::snprintf(twoDigits, sizeof twoDigits, "%02d", page);
    return replaced(replaced(fixtureText(folder + "_template.html"), "{{page2}}", twoDigits), "{{page}}",
                    std::to_string(page));
}

Answer nothingFound() {
    return okAnswer(fixtureText("marketplace/listings/search_no_items.html"),
                    {"Content-Type: " + std::string(kGbkPage)});
}

}  // namespace

std::span<const Listing* const> listings() { return kListings; }

std::vector<std::string> resultPagePaths() {
    std::vector<std::string> paths;
    for (const ResultPages& pages : kResultPages) {
        std::string path(1, '/');
        path.append(pages.host).append("/").append(pages.path);
        if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(std::move(path));
    }
    return paths;
}

Answer resultPageAnswer(const RecordedRequest& request) {
    const std::string target = request.target;
    const std::string path = target.substr(0, target.find('?'));
    const std::size_t slash = path.find('/', 1);
    const std::string host = path.substr(1, slash - 1);
    if (request.header("Host") != host) {
        Answer answer = okAnswer("no such shop");
        answer.status = 404;
        answer.reason = "Not Found";
        return answer;
    }
    const std::string query = queryOf(target);
    const ResultPages* pages = pagesOf(host, path.substr(slash + 1), query);
    const int page = pageNumberOf(query);
    if (!pages || page < 1 || page > pages->listing->pages) return nothingFound();
    return okAnswer(pageText(*pages, page), {"Content-Type: " + std::string(pages->contentType)});
}

}  // namespace quorvane::test
