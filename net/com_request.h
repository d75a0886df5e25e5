#pragma once
// HTTP requests through a COM request object (WinHttp.WinHttpRequest.5.1,
// else MSXML2.ServerXMLHTTP.6.0 or .5.0), made on a request thread that the
// caller waits for at most the time limit; the calling thread's cancel event
// (setRequestCancelEvent) ends the wait at once. The caller's variables
// change only when the answer came in time. The process's request limit
// (net/request_limit.h), when there is one, replaces each request's own.
#include "net/answer_bounds.h"
#include "text/types.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace quorvane {

struct ComRequest {
    std::string* address = nullptr;  // required
    std::string* method = nullptr;   // empty becomes "GET", in the caller's variable too
    std::string body;
    std::string cookies;             // a Cookie header when not empty
    std::string* cookiesOut = nullptr;  // the answer's cookies are appended, "a=1; b=2"
    std::string proxy;
    int timeLimit = 0;               // seconds, for each of the four time-outs and the whole wait; 0 means 15
    std::string proxyUserName;
    std::string proxyPassword;
    std::string* referrer = nullptr;  // empty becomes the address, in the caller's variable too
    // A longer answer counts as none, and is logged (net/answer_bounds.h).
    std::size_t maxBodyBytes = kLargestAnswerBytes;
    std::string* responseHeadersOut = nullptr;  // the answer's header block, when it came in time
};

// The body (any status); empty when no object can be created (after a message
// box) or no answer comes.
Bytes comHttpRequest(const ComRequest& request);

// The message box that says no request object can be created.
using NoticeBox = void (*)(std::string_view text, std::string_view title, unsigned style);
void showNoticeBox(std::string_view text, std::string_view title, unsigned style);

// The same with the request objects to try and the box to show named, so that
// a test can reach the no-object path without a real message box.
Bytes comHttpRequest(const ComRequest& request, std::span<const wchar_t* const> requestObjects, NoticeBox notice);

struct BrowserCookieRequest {
    std::string* address = nullptr;   // required; "http://" in front unless it begins "http"
    std::string* method = nullptr;    // upper-cased; empty becomes "GET"
    std::string* body = nullptr;
    std::string* cookies = nullptr;   // in: to send; out: merged with the store's and the answer's
    std::string* answerCookies = nullptr;   // out: "a=1; b=2;"
    std::string* headerLines = nullptr;     // empty: the default block
    std::string* redirectAddress = nullptr;  // out: Location, else the whole header text
    int noRedirects = 0;
    int timeLimit = 0;                // below 1: 15 s; exactly 1: the object's own (a 60 s wait)
    std::string* responseHeaders = nullptr;  // out
    Bytes* bodyBytes = nullptr;       // sent instead of body when not empty
    std::string* proxy = nullptr;
    std::string* proxyUserName = nullptr;
    std::string* proxyPassword = nullptr;
    std::string* credentialsExtra = nullptr;  // taken by none of the request objects
    // A longer answer counts as none (the store and the variables left
    // alone), and is logged.
    std::size_t maxBodyBytes = kLargestAnswerBytes;
};

// Carries the system cookie store of the address's domain through the request.
// It serves the interface thread, so window messages are processed while it waits.
Bytes comRequestWithBrowserCookies(const BrowserCookieRequest& request);
Bytes comRequestWithBrowserCookies(const BrowserCookieRequest& request,
                                   std::span<const wchar_t* const> requestObjects);

}  // namespace quorvane
