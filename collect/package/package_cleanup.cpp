#include "collect/package/package_cleanup.h"

#include "collect/package/package_format.h"

#include <boost/regex.hpp>

#include <exception>

namespace quorvane {
namespace {

constexpr auto kPatternFlags = boost::regex::perl | boost::regex::icase;

CleanupResult replaceInValues(std::string_view packageText, const boost::regex& pattern, const std::string& replacement,
                              boost::regex_constants::match_flag_type flags) {
    CleanupResult result;
    result.text = rewriteQuotedValues(packageText, [&](std::string_view value) {
        try {
            return boost::regex_replace(std::string(value), pattern, replacement, flags);
        } catch (const std::exception&) {
            ++result.failedValues;
            return std::string(value);
        }
    });
    return result;
}

}  // namespace

CleanupResult removePromotionTables(std::string_view packageText) {
    static const boost::regex pattern(R"re(<TABLE[\s>][\s\S]*?</TABLE>)re", kPatternFlags);
    return replaceInValues(packageText, pattern, "", boost::regex_constants::format_perl);
}

CleanupResult removeHyperlinks(std::string_view packageText) {
    static const boost::regex pattern(R"re(<a(.+?)>|</a>)re", kPatternFlags);
    return replaceInValues(packageText, pattern, "", boost::regex_constants::format_perl);
}

CleanupResult redirectHyperlinks(std::string_view packageText, std::string_view address) {
    static const boost::regex pattern(R"re(href=""([\s\S]*?)"")re", kPatternFlags);
    // The address goes in as a value of its own: its quotes and bars made safe.
    const std::string replacement = "href=\"\"" + quotedPackageValue(address) + "\"\"";
    return replaceInValues(packageText, pattern, replacement, boost::regex_constants::format_literal);
}

}  // namespace quorvane
