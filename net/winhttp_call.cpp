#include "net/winhttp_call.h"

#include <algorithm>
#include <cwctype>

namespace quorvane {
namespace {

constexpr const wchar_t* kObjectProgId = L"WinHttp.WinHttpRequest.5.1";
constexpr const wchar_t* kObjectAgent = L"Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";
constexpr DWORD kPieceBytes = 65536;

bool sameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(x) == std::towlower(y);
           });
}

}  // namespace

bool WinHttpCall::available() {
    // Asked once: the lookup is three registry calls, for every picture.
    static const bool registered = [] {
        CLSID id;
        return SUCCEEDED(CLSIDFromProgID(kObjectProgId, &id));
    }();
    return registered;
}

void WinHttpCall::setRequestHeader(std::wstring name, std::wstring value) {
    // A header set twice keeps its last value, as on the object.
    for (auto& header : headers_) {
        if (sameName(header.first, name)) {
            header.second = std::move(value);
            return;
        }
    }
    headers_.emplace_back(std::move(name), std::move(value));
}

bool WinHttpCall::send(std::wstring_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 128; });
    const UINT codePage = ascii ? CP_ACP : CP_UTF8;
    const int length = static_cast<int>(text.size());
    std::string bytes(
        static_cast<std::size_t>(WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                        nullptr);
    return sendBytes(bytes.data(), static_cast<DWORD>(bytes.size()), !ascii);
}

bool WinHttpCall::send(const Bytes& body) { return sendBytes(body.data(), static_cast<DWORD>(body.size()), false); }

bool WinHttpCall::sendBytes(const void* data, DWORD size, bool utf8) {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = ~0u;
    if (!WinHttpCrackUrl(address_.c_str(), 0, 0, &parts)) return false;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);

    const bool named = !proxy_.empty();
    session_.reset(WinHttpOpen(kObjectAgent, named ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                               named ? proxy_.c_str() : WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session_) return false;
    if (timeoutMs_ > 0) WinHttpSetTimeouts(session_.get(), timeoutMs_, timeoutMs_, timeoutMs_, timeoutMs_);
    connection_.reset(WinHttpConnect(session_.get(), host.c_str(), parts.nPort, 0));
    if (!connection_) return false;
    const wchar_t* accept[] = {L"*/*", nullptr};
    const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    request_.reset(WinHttpOpenRequest(connection_.get(), method_.c_str(), path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                      accept, flags));
    if (!request_) return false;
    if (!redirects_) {
        DWORD feature = WINHTTP_DISABLE_REDIRECTS;
        WinHttpSetOption(request_.get(), WINHTTP_OPTION_DISABLE_FEATURE, &feature, sizeof feature);
    }
    if (!proxyUser_.empty())
        WinHttpSetCredentials(request_.get(), WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC,
                              proxyUser_.c_str(), proxyPassword_.c_str(), nullptr);
    for (const auto& [name, value] : headers_) {
        const std::wstring line = name + L": " + value;
        WinHttpAddRequestHeaders(request_.get(), line.c_str(), static_cast<DWORD>(line.size()),
                                 WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    }
    const bool withBody = !sameName(method_, L"GET");
    if (withBody && utf8) {
        const std::wstring type = L"Content-Type: text/plain";
        const std::wstring charset = L"Content-Type: charset=utf-8";
        WinHttpAddRequestHeaders(request_.get(), type.c_str(), static_cast<DWORD>(type.size()),
                                 WINHTTP_ADDREQ_FLAG_ADD_IF_NEW);
        WinHttpAddRequestHeaders(request_.get(), charset.c_str(), static_cast<DWORD>(charset.size()),
                                 WINHTTP_ADDREQ_FLAG_COALESCE_WITH_SEMICOLON);
    }
    void* sent = withBody && size ? const_cast<void*>(data) : WINHTTP_NO_REQUEST_DATA;
    const DWORD sentSize = withBody ? size : 0;
    return WinHttpSendRequest(request_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, sent, sentSize, sentSize, 0) &&
           WinHttpReceiveResponse(request_.get(), nullptr);
}

std::wstring WinHttpCall::allResponseHeaders() const {
    if (!request_) return {};
    DWORD size = 0;
    WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                        WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
    std::wstring headers(size / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                             headers.data(), &size, WINHTTP_NO_HEADER_INDEX))
        return {};
    headers.resize(size / sizeof(wchar_t));
    return headers;
}

BodyEnd WinHttpCall::readBody(Bytes& out, std::size_t maxBytes, const std::function<bool()>& stopEarly) {
    if (!request_) return BodyEnd::Broken;
    Bytes piece(kPieceBytes);
    for (;;) {
        if (stopEarly()) return BodyEnd::Stopped;
        // Only what has come is read: a read of more waits until its buffer
        // is full, however slowly the bytes trickle in.
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request_.get(), &available)) return BodyEnd::Broken;
        if (available == 0) return BodyEnd::Whole;
        DWORD read = 0;
        if (!WinHttpReadData(request_.get(), piece.data(), std::min(available, kPieceBytes), &read))
            return BodyEnd::Broken;
        if (read == 0) return BodyEnd::Whole;
        if (read > maxBytes - out.size()) return BodyEnd::PastBound;
        out.insert(out.end(), piece.begin(), piece.begin() + read);
    }
}

}  // namespace quorvane
