#include "net/request_lines.h"

#include "text/search.h"

namespace quorvane {
namespace {

constexpr std::string_view kCrlf = "\r\n";

bool holds(std::string_view lines, std::string_view key) { return findLeft(lines, key, 1, true) > 0; }

// A caller text whose last line lacks its CRLF would be glued to the next line.
void closeLastLine(std::string& lines) {
    if (!lines.empty() && !lines.ends_with(kCrlf)) lines += kCrlf;
}

void appendLine(std::string& lines, std::string_view line) {
    closeLastLine(lines);
    lines += line;
    lines += kCrlf;
}

}  // namespace

std::string withDefaultRequestLines(std::string_view lines, std::string_view address) {
    std::string result(lines);
    if (!holds(result, "Accept: ")) {
        appendLine(result,
                   "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                   "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*");
    }
    if (!holds(result, "Referer: ")) appendLine(result, "Referer: " + std::string(address));
    if (!holds(result, "Accept-Language: ")) appendLine(result, "Accept-Language: zh-cn");
    return result;
}

std::string withDefaultPageLines(std::string_view lines, std::string_view address) {
    std::string result(lines);
    if (!holds(result, "Accept")) {
        appendLine(result,
                   "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
                   "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
                   "application/msword, */*");
    }
    if (findLeft(result, "RefererNo") > 0) {
        result = replaceText(result, "RefererNo", "", 1, 1);
    } else if (!holds(result, "Referer")) {
        appendLine(result, "Referer: " + std::string(address));
    }
    if (!holds(result, "Accept-Language")) appendLine(result, "Accept-Language: zh-cn");
    return result;
}

std::string userAgentOfPageLines(std::string_view lines) {
    const int key = findLeft(lines, "User-Agent:", 1, true);
    if (key < 0) {
        return "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
               ".NET CLR 3.5.21022)";
    }
    const int start = key + 11;
    const int end = findLeft(lines, kCrlf, start);
    return trimText(end > 0 ? middleBytes(lines, start, end - start)
                            : middleBytes(lines, start, static_cast<int>(lines.size())));
}

std::string defaultBrowserHeaderBlock(std::string_view address) {
    return "Referer: " + std::string(address) +
           "\r\nAccept-Language: zh-cn\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1)"
           "\r\nAccept: image/jpeg, application/x-ms-application, image/gif, application/xaml+xml, image/pjpeg, "
           "application/x-ms-xbap, application/x-shockwave-flash, application/vnd.ms-excel, "
           "application/vnd.ms-powerpoint, application/msword, */*"
           "\r\nContent-Type: application/x-www-form-urlencoded";
}

std::vector<std::pair<std::string, std::string>> headerPairs(std::string_view lines) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string& line : splitText(lines, kCrlf)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        pairs.emplace_back(line.substr(0, colon), line.substr(colon + 1));
    }
    return pairs;
}

}  // namespace quorvane
