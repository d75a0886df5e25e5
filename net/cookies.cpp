#include "net/cookies.h"

#include "text/search.h"

namespace quorvane {
namespace {

constexpr std::string_view kSetCookie = "Set-Cookie:";

std::optional<std::string> setCookieText(std::string_view line) {
    if (findLeft(leftBytes(line, static_cast<int>(kSetCookie.size())), kSetCookie, 1, true) != 1) return {};
    return trimText(line.substr(kSetCookie.size()));
}

std::optional<CookieItem> itemOf(std::string_view piece) {
    const auto equals = piece.find('=');
    if (equals == std::string_view::npos) return {};
    CookieItem item{trimText(piece.substr(0, equals)), trimText(piece.substr(equals + 1))};
    if (item.name.empty()) return {};
    return item;
}

std::string closedList(std::string text) {
    text = trimText(text);
    if (!text.empty() && !text.ends_with(";")) text += ";";
    return text;
}

template <typename Append>
void forEachSetCookie(std::string_view headers, Append append) {
    for (const std::string& line : splitText(headers, "\r\n")) {
        if (auto cookie = cookieOfSetCookieLine(line)) append(*cookie);
    }
}

}  // namespace

std::vector<CookieItem> cookieItems(std::string_view list) {
    std::vector<CookieItem> items;
    for (const std::string& piece : splitText(list, ";")) {
        if (auto item = itemOf(trimText(piece))) items.push_back(*item);
    }
    return items;
}

std::string cookieValue(std::string_view list, std::string_view name) {
    for (const CookieItem& item : cookieItems(list)) {
        if (item.name == name) return item.value;
    }
    return {};
}

std::optional<std::string> cookieOfSetCookieLine(std::string_view line) {
    const auto text = setCookieText(line);
    if (!text) return {};
    const auto semicolon = text->find(';');
    std::string cookie = trimText(std::string_view(*text).substr(0, semicolon));
    if (!itemOf(cookie)) return {};
    return cookie;
}

std::optional<StoreCookie> storeCookieOfSetCookieLine(std::string_view line) {
    const auto text = setCookieText(line);
    if (!text) return {};
    const auto equals = text->find('=');
    if (equals == std::string::npos || equals == 0) return {};
    return StoreCookie{trimText(text->substr(0, equals)), text->substr(equals + 1)};
}

std::string cookiesJoined(std::string_view headers) {
    std::string cookies;
    forEachSetCookie(headers, [&](const std::string& cookie) {
        if (trimText(itemOf(cookie)->value).empty()) return;
        if (!cookies.empty()) cookies += "; ";
        cookies += cookie;
    });
    return cookies;
}

std::string cookiesEachClosed(std::string_view headers) {
    std::string cookies;
    forEachSetCookie(headers, [&](const std::string& cookie) { cookies += cookie + ";"; });
    return cookies;
}

std::string cookieList(std::string_view headers) {
    std::string cookies;
    forEachSetCookie(headers, [&](const std::string& cookie) { cookies += cookie + "; "; });
    return closedList(cookies);
}

std::string mergeCookies(std::string& a, std::string& b) {
    a = closedList(a);
    b = closedList(b);
    // Pieces of a without "=" are kept as they stand.
    std::vector<std::string> pieces;
    std::vector<std::optional<CookieItem>> items;
    for (const std::string& piece : splitText(a, ";")) {
        std::string trimmed = trimText(piece);
        if (trimmed.empty()) continue;
        items.push_back(itemOf(trimmed));
        pieces.push_back(std::move(trimmed));
    }
    for (const CookieItem& update : cookieItems(b)) {
        const std::string piece = update.name + "=" + update.value;
        bool found = false;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i] && items[i]->name == update.name) {
                items[i] = update;
                pieces[i] = piece;
                found = true;
            }
        }
        if (!found) {
            items.push_back(update);
            pieces.push_back(piece);
        }
    }
    std::string merged;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (items[i] && trimText(items[i]->value).empty()) continue;
        merged += trimText(pieces[i]) + "; ";
    }
    a = trimText(merged);
    return a;
}

}  // namespace quorvane
