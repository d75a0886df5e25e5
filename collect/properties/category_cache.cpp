#include "collect/properties/category_cache.h"

#include "collect/item/field_checks.h"
#include "collect/properties/category_archive.h"
#include "net/host_map.h"
#include "net/timed_request.h"
#include "text/bytes.h"
#include "text/codepage.h"
#include "text/files.h"
#include "text/gunzip.h"
#include "text/rc4.h"
#include "text/search.h"

#include <windows.h>

#include <algorithm>

namespace quorvane {
namespace {

constexpr std::size_t kShortestCategoryData = 700;
constexpr double kFreshDays = 30;

constexpr std::string_view kErrorPageMarkers[] = {"Insufficient isv permissions", "502 Bad Gateway",
                                                  "登录的错误信息结束", "低版本浏览器升级提醒"};

bool holds(const Bytes& data, std::string_view part) {
    return !part.empty() && std::search(data.begin(), data.end(), part.begin(), part.end()) != data.end();
}

// Category data, packed or not, is bounded as a category file is.
Bytes fetch(const std::string& address, std::size_t maxBodyBytes = kLongestCategoryFile) {
    TimedRequest request;
    request.address = address;
    request.maxBodyBytes = maxBodyBytes;
    return httpRequestWithTimeout(request);
}

// The local time of the file's last write; nothing when there is no file.
std::optional<DateTime> lastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes)) return std::nullopt;
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&attributes.ftLastWriteTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return std::nullopt;
    return toDateTime(local);
}

Bytes freshCacheContent(const std::wstring& path) {
    const std::optional<DateTime> written = lastWriteTime(path);
    if (!written || *written + kFreshDays < currentDateTime()) return {};
    Bytes data;
    (void)readFileBytes(path, data);
    return data;
}

std::string_view bytesView(const Bytes& data) {
    return std::string_view(reinterpret_cast<const char*>(data.data()), data.size());
}

// A write that fails leaves the file as it was; the data in hand serves the
// item all the same.
void replaceCacheFile(const std::wstring& path, const Bytes& data) { (void)replaceFileContent(path, bytesView(data)); }

std::string host(std::string_view name) { return "http://" + std::string(name); }

Bytes fromArchiveService(const std::string& cid, const std::wstring& folder, const std::wstring& path,
                         const CategoryCache& cache) {
    {
        std::lock_guard guard(*cache.lock);
        DeleteFileW(path.c_str());
        const Bytes archive = fetch(host(hosts::kCategoryFileService) +
                                    "/quorvane_api/down.php?un=" + categoryFileParameter(cid, currentDateTime()));
        const std::wstring archivePath = folder + gbkToWide(cid) + L".zip";
        if (!archive.empty() && writeWholeFile(archivePath, bytesView(archive))) {
            if (const std::optional<Bytes> file = categoryFileFromArchive(archivePath, cid + ".txt"))
                replaceCacheFile(path, *file);
        }
        DeleteFileW(archivePath.c_str());
    }
    Bytes data;
    (void)readFileBytes(path, data);
    return data;
}

Bytes fromOutsideService(const ItemFields& item, const std::wstring& path, const CategoryCache& cache) {
    {
        std::lock_guard guard(*cache.lock);
        (void)writeGzipDllWhenMissing();
    }
    const std::string address = host(hosts::kCategoryDataService) + "/cat2.aspx?cid=" + item.cid;
    const std::optional<Bytes> unpacked = gunzip(fetch(address), kLongestCategoryFile);
    // Past the bound nothing is written: the item goes on without category data.
    Bytes data;
    if (unpacked) {
        data = gbkToUtf8(bytesAsText(*unpacked));
        replaceCacheFile(path, data);
    } else {
        logOversizedAnswer(address, kLongestCategoryFile);
    }
    (void)fetch(host(hosts::kCategoryFileService) + "/quorvane_api/mem.php?id=" + item.itemId + "&cid=99" + item.cid,
                kLargestAnswerBytes);
    return data;
}

}  // namespace

bool isUsableCategoryId(std::string_view cid) {
    return cid.empty() || (isDigitText(cid) && cid.size() <= kLongestCategoryId);
}

bool isBadCategoryAnswer(const Bytes& data) {
    if (data.size() < kShortestCategoryData) return true;
    // The error pages come in either encoding.
    for (std::string_view marker : kErrorPageMarkers) {
        if (holds(data, marker)) return true;
        const Bytes utf8 = gbkToUtf8(marker);
        if (holds(data, bytesView(utf8).substr(0, utf8.size() - 1))) return true;
    }
    return false;
}

std::string categoryFileParameter(std::string_view cid, DateTime now) {
    return bytesToHex(rc4(std::to_string(weekOfYear(now)), std::string(cid) + ".txt.zip"));
}

void loadCategoryProperties(ItemFields& item, const CategoryCache& cache, const OptionBoxes& options) {
    item.categoryJson.clear();
    // Without a folder of its own the cache would write where the program
    // happens to stand.
    if (!isUsableCategoryId(item.cid) || cache.optionsFolder.empty() || !cache.lock) return;
    const std::wstring& folder = cache.optionsFolder;
    const std::wstring path = folder + gbkToWide(item.cid) + L".txt";

    Bytes data = freshCacheContent(path);
    if (data.size() < kShortestCategoryData || options.isChecked("选择框7")) {
        std::lock_guard guard(*cache.lock);
        data = fetch(host(hosts::kOpenPlatformTools) + "/apitools/ajax_props.do?act=props&cid=" + item.cid);
        // Even a bad answer: the fallback below replaces it.
        replaceCacheFile(path, data);
    }
    if (isBadCategoryAnswer(data)) {
        data = fromArchiveService(item.cid, folder, path, cache);
        if (data.empty()) data = fromOutsideService(item, path, cache);
    }
    item.categoryJson = utf8BytesToAnsi(data);
}

}  // namespace quorvane
