#include "collect/item/sku_stock.h"

#include "text/codepage.h"
#include "text/regexp_literals.h"

namespace quorvane {

std::optional<std::string> skuStock(std::string_view stockAnswer, std::string_view key) {
    constexpr std::size_t kNone = std::wstring_view::npos;
    const std::wstring text = gbkToWide(stockAnswer);
    const std::wstring opening = gbkToWide(key) + L";\":{";
    const std::size_t start = ForwardSearch(text, opening).next(0);
    if (start == kNone) return std::nullopt;
    constexpr std::wstring_view kStock = L"\"stock\"";
    ForwardSearch stock(text, kStock);
    const auto isEnd = [](wchar_t c) { return c == L'}' || c == L'"'; };
    for (std::size_t at = stock.next(start + opening.size()); at != kNone; at = stock.next(at + 1)) {
        // "\D*" takes every non-digit first, then gives back one at a time.
        const std::size_t nonDigits = at + kStock.size();
        std::size_t digits = nonDigits;
        while (digits < text.size() && !isRegExpDigit(text[digits])) ++digits;
        std::size_t end = digits;
        while (end < text.size() && isRegExpDigit(text[end])) ++end;
        if (end > digits && end < text.size() && isEnd(text[end])) return wideToGbk(text.substr(digits, end - digits));
        // Else an empty group before the last "}" or quote among the non-digits.
        for (std::size_t back = digits; back > nonDigits; --back)
            if (isEnd(text[back - 1])) return std::string();
        // Without a quote there, the next "stock" starts past these digits.
    }
    return std::nullopt;
}

}  // namespace quorvane
