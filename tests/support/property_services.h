#pragma once
// The marketplace's property services beside its pages: the mobile detail
// service's property tables, the tools service's category data, our
// category-file service (archives by enciphered name, and the category
// reports) and the outside category-data service's gzip answers, from the
// files under tests/fixtures/marketplace/properties/.
#include "tests/support/loopback_server.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::test {

inline constexpr std::string_view kMobileDetailPath = "/cache/wdetail/5.0/";
inline constexpr std::string_view kToolsPropsPath = "/apitools/ajax_props.do";
inline constexpr std::string_view kCategoryFilePath = "/quorvane_api/down.php";
inline constexpr std::string_view kCategoryReportPath = "/quorvane_api/mem.php";
inline constexpr std::string_view kCategoryDataPath = "/cat2.aspx";

// A food item that only the mobile detail service knows.
inline constexpr std::string_view kFoodItemId = "548800112233";
// The category that every source serves, each with data of its own.
inline constexpr std::string_view kServedCategoryId = "50010850";

// A file of tests/fixtures/marketplace/properties/ as text.
std::string propertyFixture(const std::string& name);

// The category id that a category-file name stands for: the name deciphered
// under the key of any week must read "<digits>.txt.zip", the digits
// possibly none; nothing otherwise.
std::optional<std::string> categoryIdOfFileName(std::string_view un);

// The answers the services give from the fixtures (404 for what they lack).
Answer mobileDetailAnswer(std::string_view itemId);
Answer toolsPropsAnswer(std::string_view cid);
Answer categoryFileAnswer(std::string_view un);
Answer categoryDataAnswer(std::string_view cid);

// Scripts the five paths; every answer passes through finish (the delay).
void scriptPropertyServices(LoopbackServer& server, const std::function<Answer(Answer)>& finish);

}  // namespace quorvane::test
