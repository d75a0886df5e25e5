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

// How a body read ended: with the body's end, stopped by the caller, cut by
// an error or a time-out, or past its bound.
enum class BodyEnd { Whole, Stopped, Cut, PastBound };

// The whole response body. Each read takes what has come in, up to 64 KB:
// a large answer goes in few reads, and a body that trickles in never holds
// a read waiting for more, so that stopEarly is asked between any two pieces.
// Only a body that reached its end is whole; one that grew past maxBytes is
// left at what came before.
template <typename StopEarly>
std::string readWholeBody(HINTERNET request, StopEarly stopEarly, std::size_t maxBytes, BodyEnd* end) {
    constexpr DWORD kLargestRead = 64 * 1024;
    std::string body;
    for (;;) {
        if (stopEarly()) {
            *end = BodyEnd::Stopped;
            return body;
        }
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
            *end = BodyEnd::Cut;
            return body;
        }
        if (available == 0) break;
        const std::size_t had = body.size();
        body.resize(had + std::min(available, kLargestRead));
        DWORD read = 0;
        const bool got = InternetReadFile(request, body.data() + had, static_cast<DWORD>(body.size() - had), &read);
        body.resize(had + (got ? read : 0));
        if (!got) {
            *end = BodyEnd::Cut;
            return body;
        }
        if (read == 0) break;
        if (body.size() > maxBytes) {
            body.resize(had);
            *end = BodyEnd::PastBound;
            return body;
        }
    }
    *end = BodyEnd::Whole;
    return body;
}

// Adds the request's one Cookie line.
void addCookieLine(HINTERNET request, const std::string& cookies);

// The raw response header block; a block larger than the first buffer is
// fetched again with the size the call reports.
std::string rawResponseHeaders(HINTERNET request);

}  // namespace quorvane
