#pragma once
// What the WinHttp request object does for one request, done through
// WinHttp's own functions: the object reads every answer whole into memory
// before its send returns (and Wine's keeps reading a trickling answer long
// after the caller gave up), while these let the body be read in pieces, up
// to a bound, and stopped between any two pieces.
#include "text/types.h"

#include <windows.h>
#include <objbase.h>
#include <winhttp.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

class WinHttpHandle {
public:
    explicit WinHttpHandle(HINTERNET handle = nullptr) : handle_(handle) {}
    ~WinHttpHandle() { reset(); }
    void reset(HINTERNET handle = nullptr) {
        if (handle_) WinHttpCloseHandle(handle_);
        handle_ = handle;
    }
    WinHttpHandle(const WinHttpHandle&) = delete;
    WinHttpHandle& operator=(const WinHttpHandle&) = delete;
    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

// How a body read in pieces ended.
enum class BodyEnd { Whole, Stopped, PastBound, Broken };

class WinHttpCall {
public:
    // True when the WinHttp request object is registered (as the process
    // found it first): the calls stand in for it only where it could have
    // been created.
    static bool available();

    void setTimeouts(int milliseconds) { timeoutMs_ = milliseconds; }
    void setProxy(std::wstring proxy) { proxy_ = std::move(proxy); }
    void setProxyCredentials(std::wstring userName, std::wstring password) {
        proxyUser_ = std::move(userName);
        proxyPassword_ = std::move(password);
    }
    void open(std::wstring method, std::wstring address) {
        method_ = std::move(method);
        address_ = std::move(address);
    }
    void disableRedirects() { redirects_ = false; }
    void setRequestHeader(std::wstring name, std::wstring value);
    // Sends with the body (ignored for a GET, as the object does) and waits
    // for the answer's header block; false when no answer came. A text body
    // goes in the code page when it is plain ASCII, else in UTF-8 with its
    // charset named, as the object sends it.
    bool send(std::wstring_view text);
    bool send(const Bytes& body);
    // The answer's header block, status line first.
    std::wstring allResponseHeaders() const;
    // Appends the body to out in pieces, stopping when stopEarly says so,
    // and before out would grow past maxBytes.
    BodyEnd readBody(Bytes& out, std::size_t maxBytes, const std::function<bool()>& stopEarly);

private:
    int timeoutMs_ = 0;  // 0: the library's own
    std::wstring proxy_, proxyUser_, proxyPassword_;
    std::wstring method_, address_;
    bool redirects_ = true;
    std::vector<std::pair<std::wstring, std::wstring>> headers_;
    bool sendBytes(const void* data, DWORD size, bool utf8);
    WinHttpHandle session_, connection_, request_;
};

}  // namespace quorvane
