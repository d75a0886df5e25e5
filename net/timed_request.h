#pragma once
// The collection workers' plain-HTTP request through WinINet: one request
// thread per call, waited for at most a time limit (90 s by default).
#include "net/answer_bounds.h"
#include "text/types.h"

#include <cstddef>
#include <string>

namespace quorvane {

struct TimedRequest {
    std::string address;              // "http://" address
    std::string method;               // "", "GET" or "POST" (any case); others fail
    std::string body;                 // POST data
    std::string cookies;              // sent as a Cookie line when not blank
    std::string* cookiesOut = nullptr;  // the answer's cookies, "a=1; b=2"
    std::string proxy;
    int timeLimit = 0;                // seconds; 0 means 90
    bool keepInterfaceAlive = false;  // process window messages while waiting
    std::string headerLines;          // each ending in CRLF; default lines are added
    std::string userName;
    std::string password;
    std::string* responseHeadersOut = nullptr;  // the raw response header block
    bool storeCookies = false;        // write every Set-Cookie into the system store
    // A longer body fails the request, before more of it is read, and is
    // logged (net/answer_bounds.h).
    std::size_t maxBodyBytes = kLargestAnswerBytes;
};

// How long the call waits for the request, in milliseconds: the process's
// request limit (net/request_limit.h) when there is one.
int timedRequestLimitMs(const TimedRequest& request);

// The response body (any status); empty on failure or time-out, when the
// output variables are left as they were.
Bytes httpRequestWithTimeout(const TimedRequest& request);

}  // namespace quorvane
