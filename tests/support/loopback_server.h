#pragma once
// A scripted HTTP server on 127.0.0.1 inside the test program: it records every
// raw request and plays the answer scripted for its path. It stops (and drops
// its connections) when destroyed.
#include <condition_variable>  // also brings the durations; <chrono> itself does not build for GBK
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quorvane::test {

struct RecordedRequest {
    std::string requestLine;               // "GET /a?b=1 HTTP/1.1"
    std::string method;
    std::string target;                    // path with query
    std::vector<std::string> headerLines;  // in order, without CRLF
    std::string body;
    std::string rawHeader;                 // request line and header lines as received, CRLFs included
    std::chrono::steady_clock::time_point received;  // when the whole request had arrived
    // When the last byte of its whole answer had been handed to the socket;
    // unset for an answer cut short or not sent.
    std::optional<std::chrono::steady_clock::time_point> answered;

    // The value of the first header line of this name (any case), trimmed;
    // empty when there is none.
    std::string header(std::string_view name) const;
    bool hasHeader(std::string_view name) const;
};

enum class Framing { ContentLength, Chunked, Close };

struct Answer {
    int status = 200;
    std::string reason = "OK";
    std::vector<std::string> headerLines;  // "Name: value", without CRLF
    std::string body;                      // any bytes
    // This many filler bytes after body, made while sending: an answer too
    // large to hold in the test's own memory.
    std::size_t fillerBytes = 0;
    Framing framing = Framing::ContentLength;
    std::chrono::milliseconds delayBeforeHeaders{0};
    // Send the body in pieces of this size with a pause after each (0: at once).
    std::size_t trickleBytes = 0;
    std::chrono::milliseconds trickleGap{0};
    // Reset the connection after this many body bytes (npos: never).
    std::size_t resetAfterBodyBytes = std::string::npos;
    // Close the connection in order after this many body bytes, short of
    // what the header announced (npos: never).
    std::size_t closeAfterBodyBytes = std::string::npos;
    // Reset the connection instead of answering (after the delay).
    bool resetBeforeHeaders = false;
};

// A 200 answer with this body and these header lines.
Answer okAnswer(std::string body, std::vector<std::string> headerLines = {});

// A response body as text, for comparisons.
std::string bodyText(const std::vector<unsigned char>& body);

// A 302 (or another status) to the given address.
Answer redirectTo(std::string_view location, int status = 302);

class TlsForward;

enum class Scheme { Http, Https };

class LoopbackServer {
public:
    // port 0 picks a free one.
    explicit LoopbackServer(int port = 0);
    // Https: the same server, reached only over TLS at "https://localhost:<port()>"
    // through the tests' TLS relay (see tls_forward.h); the test certificate
    // is trusted first. WinINet checks the name, so requests must use "localhost".
    explicit LoopbackServer(Scheme scheme);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // The port clients connect to (the TLS one for Https).
    int port() const { return tls_ ? tlsPort_ : port_; }
    // "http://127.0.0.1:<port>" or "https://localhost:<port>", + path
    std::string url(std::string_view path = "/") const;

    // The answer for requests whose path (query removed) is exactly this one;
    // unscripted paths get 404 "not scripted".
    void script(std::string path, Answer answer);
    // An answer made per request, for paths whose answer depends on the query,
    // the body or the Host line. Called on the server's connection threads.
    // The last script of a path wins.
    using Responder = std::function<Answer(const RecordedRequest&)>;
    void script(std::string path, Responder responder);
    // Every answer passes through the filter before it is sent, scripted or
    // not (faults for whole runs). Called on the connection threads.
    using AnswerFilter = std::function<Answer(const RecordedRequest&, Answer)>;
    void setAnswerFilter(AnswerFilter filter);

    std::vector<RecordedRequest> requests() const;
    // The last request to this path (query removed); fails the test when none came.
    RecordedRequest lastRequest(std::string_view path) const;
    void clearRequests();
    // Waits until at least count requests have been recorded.
    bool waitForRequests(std::size_t count, std::chrono::milliseconds limit) const;

private:
    struct Connection;
    void acceptLoop();
    void serve(std::shared_ptr<Connection> connection);
    Answer answerFor(const RecordedRequest& request) const;

    std::uintptr_t listener_;
    int port_ = 0;
    std::thread acceptThread_;
    mutable std::mutex mutex_;
    mutable std::condition_variable recorded_;
    bool stopping_ = false;
    std::map<std::string, Answer> answers_;
    std::map<std::string, Responder> responders_;
    AnswerFilter filter_;
    std::vector<RecordedRequest> requests_;
    std::uint64_t clears_ = 0;  // so that an answer ending after a clear marks no other record
    std::vector<std::shared_ptr<Connection>> connections_;
    std::vector<std::thread> workers_;
    std::unique_ptr<TlsForward> tls_;
    int tlsPort_ = 0;
};

// A port on 127.0.0.1 where nothing listens (connections are refused).
int refusedPort();

}  // namespace quorvane::test
