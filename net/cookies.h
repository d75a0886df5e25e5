#pragma once
// Cookie text: the answer's Set-Cookie lines in each request's own output
// form, the cookie list "name=value; name=value;" and merging two of them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct CookieItem {
    std::string name;
    std::string value;  // everything after the first "=", so "=" may occur in it
};

// The ";"-separated items of a cookie list that hold "="; blanks around
// names and values are dropped, empty pieces are skipped.
std::vector<CookieItem> cookieItems(std::string_view list);

// The value of the item with exactly this name; empty when there is none.
std::string cookieValue(std::string_view list, std::string_view name);

// The "name=value" of a Set-Cookie header line without its attributes;
// nothing when the line is no Set-Cookie line or holds no "=".
std::optional<std::string> cookieOfSetCookieLine(std::string_view line);

// A Set-Cookie line as the system cookie store takes it: the name and the
// data after the first "=", attributes included.
struct StoreCookie {
    std::string name;
    std::string data;
};
std::optional<StoreCookie> storeCookieOfSetCookieLine(std::string_view line);

// The answer's cookies of a raw header block:
// items with a value, joined by "; " (the timed request and the COM request);
std::string cookiesJoined(std::string_view headers);
// every item followed by ";" with no blank (the page request);
std::string cookiesEachClosed(std::string_view headers);
// every item, emptied ones too, joined by "; " and ending in ";" (the request
// with browser cookies, whose empty items delete in mergeCookies).
std::string cookieList(std::string_view headers);

// b's items replace a's items of the same name or are appended; items left
// with an empty value are dropped. Both are trimmed and closed with ";" in
// place; a receives the merged list "n=v; n=v;", which is also returned.
std::string mergeCookies(std::string& a, std::string& b);

}  // namespace quorvane
