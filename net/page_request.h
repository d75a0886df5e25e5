#pragma once
// A page over HTTP or HTTPS through WinINet on a request thread of its own,
// waited for at most a time limit (60 s by default) while window messages
// are processed; the answer's cookies always go into the system store.
#include "net/answer_bounds.h"
#include "text/types.h"

#include <optional>
#include <string>

namespace quorvane {

enum class PageCharset { Unchanged = 0, Utf8 = 1, Big5 = 2 };

struct PageRequest {
    std::string* address = nullptr;   // required; gets "http://" in front unless it has a scheme
    int method = 0;                   // 1: POST, else GET
    std::string proxy;
    std::string headerLines;          // a User-Agent line sets the agent; "RefererNo" drops the Referer
    Bytes postData;
    std::string cookies;
    std::optional<int> timeLimit;     // seconds; omitted: 60; 0 times out at once
    std::string* responseHeadersOut = nullptr;
    int charset = 0;                  // a PageCharset value; others leave the bytes unchanged
    std::string* cookiesOut = nullptr;  // "a=1;b=2;"
    bool followRedirects = true;
    // A longer body counts as a failed request (empty result, nothing
    // stored), and is logged (net/answer_bounds.h).
    std::size_t maxBodyBytes = kLargestAnswerBytes;
};

// What a request that outlives its limit returns.
extern const std::string kPageTimeoutNotice;

// How long the call waits for the page, in milliseconds: the process's
// request limit (net/request_limit.h) when there is one.
int pageRequestLimitMs(const PageRequest& request);

// The body (any status), converted by the charset option; empty for a blank
// address or a failed request; the notice text on time-out.
Bytes fetchWebPage(const PageRequest& request);

}  // namespace quorvane
