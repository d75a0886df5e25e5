#pragma once
// An owned WinINet handle, closed once when it goes.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
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

// The whole response body, read in pieces of at most 2048 bytes; stops early
// when told to, and when the body grows past maxBytes, which then sets
// overLimit. Only what has come is read: a read of more waits until its
// buffer is full, however slowly the bytes trickle in, and would keep an
// abandoned request's thread for as long.
template <typename StopEarly>
std::string readWholeBody(HINTERNET request, StopEarly stopEarly, std::size_t maxBytes, bool* overLimit) {
    std::string body;
    char buffer[2048];
    DWORD available = 0;
    DWORD read = 0;
    while (!stopEarly() && InternetQueryDataAvailable(request, &available, 0, 0) && available > 0 &&
           InternetReadFile(request, buffer, std::min<DWORD>(available, sizeof buffer), &read) && read > 0) {
        if (read > maxBytes - body.size()) {
            *overLimit = true;
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
