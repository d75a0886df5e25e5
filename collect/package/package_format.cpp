#include "collect/package/package_format.h"

#include "collect/item/field_checks.h"
#include "net/host_map.h"

#include <vector>

namespace quorvane {
namespace {

std::string doubledBars(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (char c : value) {
        text += c;
        if (c == '|') text += '|';
    }
    return text;
}

// A field the seller tool would split or misread when written bare.
bool needsQuotes(std::string_view value) { return value.find_first_of(",\"\r\n") != std::string_view::npos; }

class RowBuilder {
public:
    RowBuilder& quoted(std::string_view value) {
        separate();
        row_ += QuotePlaceholder;
        row_ += quotedPackageValue(value);
        row_ += QuotePlaceholder;
        return *this;
    }
    // Constants and checked page values.
    RowBuilder& bare(std::string_view value) {
        separate();
        row_ += doubledBars(value);
        return *this;
    }
    // Page values meant to stand bare: quoted only when bare they would
    // break the row.
    RowBuilder& bareText(std::string_view value) {
        if (needsQuotes(value)) return quoted(value);
        return bare(value);
    }
    RowBuilder& empty() { return bare(""); }
    std::string finish() { return std::move(row_) + "\r\n"; }

private:
    void separate() {
        if (started_) row_ += ',';
        started_ = true;
    }
    std::string row_;
    bool started_ = false;
};

std::string itemLink(const std::string& itemId) {
    return "http://" + std::string(hosts::kTmallItemPage) + "/item.htm?id=" + itemId + "&";
}

std::string row4X(const ItemFields& f) {
    RowBuilder row;
    row.quoted(f.title).bare(f.cid).quoted("").bare("0");
    row.quoted(f.location_state).quoted(f.location_city).quoted("1").bare(f.price).bare("0").bare(f.num);
    row.bareText(f.valid_thru).bareText(f.freight_payer);
    row.empty().empty().empty().empty().empty();  // 平邮, EMS, 快递, 付款方式, 支付宝
    row.bare("0").bare("0").bare("1").bare("0").bare("1");
    row.quoted(f.list_time).empty().quoted(f.description).empty().quoted(f.cateProps).empty().empty();
    row.bare("0").bare("0").quoted(f.modified).bareText(f.upload_fail_msg).empty().bare("0");
    row.quoted(f.picture).quoted("").quoted(f.skuProps).quoted(f.inputPids).quoted(f.inputValues).quoted("");
    row.quoted(f.propAlias + ";").bare("0").quoted(f.itemId).bare(f.itemId).quoted(itemLink(f.itemId));
    return row.finish();
}

std::string row5X(const ItemFields& f) {
    RowBuilder row;
    row.quoted(f.title).bare(f.cid).quoted("").bare("1");
    row.quoted(f.location_state).quoted(f.location_city).bare("1").bare(f.price).bare("0").bare(f.num);
    row.bareText(f.valid_thru).bareText(f.freight_payer);
    row.empty().empty().empty();  // post_fee, ems_fee, express_fee
    row.bare("0").bare("0").bare("1").bare("0");
    row.quoted(f.list_time).quoted(f.description).quoted(f.cateProps).bare("0").bare("0");
    row.quoted(f.modified).bareText(f.upload_fail_msg).empty().bare("0");
    row.quoted(f.picture).quoted("").quoted(f.skuProps).quoted(f.inputPids).quoted(f.inputValues).quoted("");
    row.quoted(f.propAlias).bare("0").bare(f.itemId).bare("0").bare("2").empty().bare("1").bare("0").bare("0");
    row.bareText(f.foodparame).quoted(f.features).bareText(f.item_size).bareText(f.item_weight);
    row.quoted(f.wireless_desc).quoted(f.subtitle).quoted(f.input_custom_cpv);
    return row.finish();
}

}  // namespace

std::string_view bareValueFault(std::string_view value) {
    if (value.find('"') != std::string_view::npos) return "含双引号";
    if (value.find_first_of("\r\n") != std::string_view::npos) return "含换行符";
    if (value.find(',') != std::string_view::npos) return "含逗号";
    // The package text keeps the placeholder for the quotes of its quoted
    // fields; a bare value that holds it is a page cut gone astray.
    if (value.find(QuotePlaceholder) != std::string_view::npos) return "含引号占位符|*|";
    return "";
}

std::optional<UnsafeBareField> unsafeBareField(const ItemFields& fields) {
    constexpr std::string_view notDigits = "不是数字";
    if (!isDigitText(fields.itemId)) return UnsafeBareField{"数字ID", notDigits};
    // Empty category, price and stock are missing data, not wrong data.
    if (!fields.cid.empty() && !isDigitText(fields.cid)) return UnsafeBareField{"宝贝类目", notDigits};
    if (const std::string_view fault = bareValueFault(fields.price); !fault.empty())
        return UnsafeBareField{"宝贝价格", fault};
    if (const std::string_view fault = bareValueFault(fields.num); !fault.empty())
        return UnsafeBareField{"宝贝数量", fault};
    return std::nullopt;
}

std::optional<std::string> buildPackageRow(const ItemFields& fields, int packageFormat) {
    if (fields.title.empty() || unsafeBareField(fields)) return std::nullopt;
    return packageFormat == 4 ? row4X(fields) : row5X(fields);
}

std::string quotedPackageValue(std::string_view value) {
    std::string text;
    text.reserve(value.size() + 8);
    std::size_t quoteRun = 0;
    for (char c : value) {
        if (c == '"') {
            ++quoteRun;
        } else {
            if (quoteRun % 2 == 1) text += '"';
            quoteRun = 0;
        }
        text += c;
        if (c == '|') text += '|';
    }
    if (quoteRun % 2 == 1) text += '"';
    return text;
}

namespace {

enum class Token { Char, Bar, Placeholder };

// What starts at position i of a package text, and its length.
Token tokenAt(std::string_view text, std::size_t i, std::size_t& length) {
    if (text[i] == '|' && i + 1 < text.size()) {
        if (text[i + 1] == '|') {
            length = 2;
            return Token::Bar;
        }
        if (text.substr(i, QuotePlaceholder.size()) == QuotePlaceholder) {
            length = QuotePlaceholder.size();
            return Token::Placeholder;
        }
    }
    length = 1;
    return Token::Char;
}

}  // namespace

std::string packageFileText(std::string_view packageText, int packageFormat) {
    std::string text(packageFormat == 4 ? PackageHeader4X : PackageHeader5X);
    text.reserve(text.size() + packageText.size());
    std::size_t length = 0;
    for (std::size_t i = 0; i < packageText.size(); i += length) {
        switch (tokenAt(packageText, i, length)) {
        case Token::Placeholder:
            text += '"';
            break;
        case Token::Bar:
            text += '|';
            break;
        case Token::Char:
            text += packageText[i];
            break;
        }
    }
    return text;
}

std::string rewriteQuotedValues(std::string_view packageText,
                                const std::function<std::string(std::string_view)>& rewrite) {
    std::string text;
    text.reserve(packageText.size());
    bool inValue = false;
    std::size_t valueStart = 0;
    std::size_t length = 0;
    for (std::size_t i = 0; i < packageText.size(); i += length) {
        const Token token = tokenAt(packageText, i, length);
        if (token == Token::Placeholder) {
            if (inValue) text += rewrite(packageText.substr(valueStart, i - valueStart));
            text += QuotePlaceholder;
            inValue = !inValue;
            valueStart = i + length;
        } else if (!inValue) {
            text += packageText.substr(i, length);
        }
    }
    // An unclosed value (never written by buildPackageRow) is kept as it is.
    if (inValue) text += packageText.substr(valueStart);
    return text;
}

}  // namespace quorvane
