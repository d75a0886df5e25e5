#include "net/wininet_handle.h"

namespace quorvane {

void limitRequestTimes(HINTERNET handle, int limitMs) {
    DWORD ms = limitMs > 0 ? static_cast<DWORD>(limitMs) : 1;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionA(handle, option, &ms, sizeof ms);
}

void addCookieLine(HINTERNET request, const std::string& cookies) {
    const std::string line = "Cookie: " + cookies + "\r\n";
    HttpAddRequestHeadersA(request, line.c_str(), static_cast<DWORD>(line.size()), HTTP_ADDREQ_FLAG_ADD);
}

std::string rawResponseHeaders(HINTERNET request) {
    std::string buffer(2048, ' ');
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        buffer.assign(length + 1, ' ');
        length = static_cast<DWORD>(buffer.size());
        if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr)) return {};
    }
    buffer.resize(length);
    return buffer.substr(0, buffer.find('\0'));
}

}  // namespace quorvane
