#include "collect/package/package_cleanup.h"

#include "collect/package/package_format.h"
#include "text/lazy_spans.h"

namespace quorvane {
namespace {

bool isBlankOrTagEnd(char c) { return isBlankByte(c) || c == '>'; }

std::string replaceInValues(std::string_view packageText, std::initializer_list<LazySpan> alternatives,
                            std::string_view replacement) {
    return rewriteQuotedValues(
        packageText, [&](std::string_view value) { return replaceLazySpans(value, alternatives, replacement); });
}

}  // namespace

// <TABLE[\s>][\s\S]*?</TABLE>
std::string removePromotionTables(std::string_view packageText) {
    return replaceInValues(packageText, {{"<table", "</table>", 1, isBlankOrTagEnd}}, "");
}

// <a(.+?)>|</a>  ("." takes line ends too: the pattern is used without the
// flag that would keep them out)
std::string removeHyperlinks(std::string_view packageText) {
    return replaceInValues(packageText, {{"<a", ">", 1}, {"</a>", "", 0}}, "");
}

// href=""([\s\S]*?)""
std::string redirectHyperlinks(std::string_view packageText, std::string_view address) {
    // The address goes in as a value of its own: its quotes and bars made safe.
    const std::string replacement = "href=\"\"" + quotedPackageValue(address) + "\"\"";
    return replaceInValues(packageText, {{"href=\"\"", "\"\"", 0}}, replacement);
}

}  // namespace quorvane
