#pragma once
// An owned WinINet handle, closed once when it goes.
#include <windows.h>
#include <wininet.h>

#include <string>

namespace quorvane {

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_) InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

// A request's connect, send and receive time-outs, so that a request thread
// whose caller has given up still ends by itself.
void limitRequestTimes(HINTERNET handle, int limitMs);

// The whole response body, read in 2048-byte pieces; stops early when told
// to, and when the body grows past maxBytes, which then sets overLimit.
template <typename StopEarly>
std::string readWholeBody(HINTERNET request, StopEarly stopEarly, std::size_t maxBytes = std::string::npos,
                          bool* overLimit = nullptr) {
    std::string body;
    char buffer[2048];
    DWORD read = 0;
    while (!stopEarly() && InternetReadFile(request, buffer, sizeof buffer, &read) && read > 0) {
        if (read > maxBytes - body.size()) {
            if (overLimit) *overLimit = true;
            break;
        }
        body.append(buffer, read);
    }
    return body;
}

// Adds the request's one Cookie line.
void addCookieLine(HINTERNET request, const std::string& cookies);

// The raw response header block; a block larger than the first buffer is
// fetched again with the size the call reports.
std::string rawResponseHeaders(HINTERNET request);

}  // namespace quorvane
