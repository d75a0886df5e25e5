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

// The whole response body. Each read takes what has come in, up to 64 KB:
// a large answer goes in few reads, and a body that trickles in never holds
// a read waiting for more, so that stopEarly is asked between any two pieces.
// Stops early when told to, and when the body grows past maxBytes, which then
// sets overLimit.
template <typename StopEarly>
std::string readWholeBody(HINTERNET request, StopEarly stopEarly, std::size_t maxBytes, bool* overLimit) {
    constexpr DWORD kLargestRead = 64 * 1024;
    std::string body;
    DWORD available = 0;
    while (!stopEarly() && InternetQueryDataAvailable(request, &available, 0, 0) && available > 0) {
        const std::size_t had = body.size();
        body.resize(had + std::min(available, kLargestRead));
        DWORD read = 0;
        const bool got = InternetReadFile(request, body.data() + had, static_cast<DWORD>(body.size() - had), &read);
        body.resize(had + (got ? read : 0));
        if (!got || read == 0) break;
        if (body.size() > maxBytes) {
            body.resize(had);
            *overLimit = true;
            break;
        }
    }
    return body;
}

// Adds the request's one Cookie line.
void addCookieLine(HINTERNET request, const std::string& cookies);

// The raw response header block; a block larger than the first buffer is
// fetched again with the size the call reports.
std::string rawResponseHeaders(HINTERNET request);

}  // namespace quorvane
