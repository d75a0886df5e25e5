#pragma once
// The category-property data of an item's category, through a cache file per
// category in the options folder: downloaded from the open-platform tools
// service when the file is missing, stale, short or 选择框7 asks for the
// newest data; when that answer is unusable, from the category-file
// service's archive, and failing that, from the outside category-data
// service's gzip answer, which is then reported to the category-file service.
#include "collect/item/item_fields.h"
#include "collect/run/worker_state.h"
#include "text/clock.h"
#include "text/types.h"

#include <mutex>
#include <string>
#include <string_view>

namespace quorvane {

struct CategoryCache {
    std::wstring optionsFolder;  // ends with "\"
    // The run's CategoryCacheLock: held around the download with its write,
    // around the whole archive fallback, and around writing gzip.dll.
    std::mutex* lock = nullptr;
};

// Longer digit runs are no category id.
inline constexpr std::size_t kLongestCategoryId = 20;

// An id that may name files and go into addresses: digits, at most
// kLongestCategoryId of them. The empty id names the file ".txt" and asks
// the services with nothing after "cid=".
bool isUsableCategoryId(std::string_view cid);

// Too short, or an error page in place of the data.
bool isBadCategoryAnswer(const Bytes& data);

// The category-file service's "un": cid + ".txt.zip" enciphered with RC4
// under the week number of now, in upper-case hex.
std::string categoryFileParameter(std::string_view cid, DateTime now);

// Fills item.categoryJson from item.cid ("" when nothing could be had, and
// at once, without a request or a file, for an id that is not usable).
void loadCategoryProperties(ItemFields& item, const CategoryCache& cache, const OptionBoxes& options);

}  // namespace quorvane
