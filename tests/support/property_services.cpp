#include "tests/support/property_services.h"

#include "tests/support/fixtures.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorvane::test {
namespace {

constexpr std::string_view kMobileItems[] = {"527018364901", "541236987012", kFoodItemId};
constexpr std::string_view kToolsCategories[] = {"50012027", "50000436", "50008163", kServedCategoryId};

template <std::size_t N>
bool among(std::string_view id, const std::string_view (&ids)[N]) {
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

Answer withType(std::string body, std::string type) {
    return okAnswer(std::move(body), {"Content-Type: " + std::move(type)});
}

Answer missing() {
    Answer answer;
    answer.status = 404;
    answer.reason = "Not Found";
    answer.body = "no such file";
    return answer;
}

std::string queryValue(const RecordedRequest& request, std::string_view name) {
    const std::string& target = request.target;
    const auto mark = target.find('?');
    if (mark == std::string::npos) return {};
    const std::string query = target.substr(mark + 1);
    std::size_t at = 0;
    while (at <= query.size()) {
        const std::size_t end = std::min(query.find('&', at), query.size());
        const std::string_view pair = std::string_view(query).substr(at, end - at);
        if (pair.starts_with(std::string(name) + "=")) return std::string(pair.substr(name.size() + 1));
        at = end + 1;
    }
    return {};
}

// The service's own deciphering, apart from the program's.
std::string rc4Text(std::string_view key, std::string_view data) {
    std::array<unsigned char, 256> s;
    for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + static_cast<unsigned char>(key[i % key.size()])) % 256;
        std::swap(s[i], s[j]);
    }
    std::string out;
    for (int n = 0, i = 0, j = 0; n < static_cast<int>(data.size()); ++n) {
        i = (i + 1) % 256;
        j = (j + s[i]) % 256;
        std::swap(s[i], s[j]);
        out += static_cast<char>(static_cast<unsigned char>(data[n]) ^ s[(s[i] + s[j]) % 256]);
    }
    return out;
}

std::string hexBytes(std::string_view hex) {
    std::string bytes;
    if (hex.size() % 2 != 0) return {};
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

}  // namespace

std::string propertyFixture(const std::string& name) {
    const std::vector<unsigned char> bytes = readFixture("marketplace/properties/" + name);
    return std::string(bytes.begin(), bytes.end());
}

std::optional<std::string> categoryIdOfFileName(std::string_view un) {
    if (un.empty() || un.find_first_not_of("0123456789ABCDEF") != std::string_view::npos) return std::nullopt;
    const std::string enciphered = hexBytes(un);
    constexpr std::string_view suffix = ".txt.zip";
    for (int week = 1; week <= 54; ++week) {
        const std::string name = rc4Text(std::to_string(week), enciphered);
        if (!name.ends_with(suffix)) continue;
        const std::string cid = name.substr(0, name.size() - suffix.size());
        if (cid.find_first_not_of("0123456789") == std::string::npos) return cid;
    }
    return std::nullopt;
}

Answer mobileDetailAnswer(std::string_view itemId) {
    if (!among(itemId, kMobileItems)) return missing();
    return withType(propertyFixture("mobile_detail_" + std::string(itemId) + ".json"),
                    "application/json;charset=UTF-8");
}

Answer toolsPropsAnswer(std::string_view cid) {
    if (!among(cid, kToolsCategories)) return missing();
    return withType(propertyFixture("category_" + std::string(cid) + ".json"), "text/html;charset=UTF-8");
}

Answer categoryFileAnswer(std::string_view un) {
    if (categoryIdOfFileName(un) != kServedCategoryId) return missing();
    return withType(propertyFixture("category_" + std::string(kServedCategoryId) + ".zip"), "application/zip");
}

Answer categoryDataAnswer(std::string_view cid) {
    if (cid != kServedCategoryId) return missing();
    return withType(propertyFixture("category_" + std::string(kServedCategoryId) + ".gz"), "application/x-gzip");
}

void scriptPropertyServices(LoopbackServer& server, const std::function<Answer(Answer)>& finish) {
    server.script(std::string(kMobileDetailPath), [finish](const RecordedRequest& request) {
        return finish(mobileDetailAnswer(queryValue(request, "id")));
    });
    server.script(std::string(kToolsPropsPath), [finish](const RecordedRequest& request) {
        return finish(toolsPropsAnswer(queryValue(request, "cid")));
    });
    server.script(std::string(kCategoryFilePath), [finish](const RecordedRequest& request) {
        return finish(categoryFileAnswer(queryValue(request, "un")));
    });
    server.script(std::string(kCategoryReportPath),
                  [finish](const RecordedRequest&) { return finish(withType("ok", "text/plain")); });
    server.script(std::string(kCategoryDataPath), [finish](const RecordedRequest& request) {
        return finish(categoryDataAnswer(queryValue(request, "cid")));
    });
}

}  // namespace quorvane::test
