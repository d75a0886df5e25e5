#include "tests/support/loopback_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "tests/support/tls_forward.h"

namespace quorvane::test {
namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string trimmed(std::string_view text) {
    std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    std::size_t e = text.find_last_not_of(" \t");
    return std::string(text.substr(b, e - b + 1));
}

constexpr std::size_t kFillerPiece = 65536;

std::string pathOf(std::string_view target) { return std::string(target.substr(0, target.find('?'))); }

// Started once and never cleaned up: request threads that a test abandoned
// may still use sockets while the process runs its exit-time destructors.
void startWinsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

SOCKET listenOn(int port, int* boundPort) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 64) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    int size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    *boundPort = ntohs(address.sin_port);
    return s;
}

}  // namespace

struct LoopbackServer::Connection {
    SOCKET socket;
    std::mutex mutex;
    bool closed = false;

    explicit Connection(SOCKET s) : socket(s) {}
    ~Connection() { close(false); }

    // Closes once; reset sends an RST instead of an orderly end.
    void close(bool reset) {
        std::lock_guard lock(mutex);
        if (closed) return;
        closed = true;
        if (reset) {
            linger hard{1, 0};
            setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
        } else {
            shutdown(socket, SD_BOTH);
        }
        closesocket(socket);
    }

    // Ends a blocked receive; the serving thread then closes the socket.
    void wake() {
        std::lock_guard lock(mutex);
        if (!closed) shutdown(socket, SD_BOTH);
    }

    bool sendAll(std::string_view data) {
        while (!data.empty()) {
            int n = ::send(socket, data.data(), static_cast<int>(std::min<std::size_t>(data.size(), 65536)), 0);
            if (n <= 0) return false;
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
};

std::string RecordedRequest::header(std::string_view name) const {
    std::string key = lower(name) + ":";
    for (const std::string& line : headerLines)
        if (lower(line).rfind(key, 0) == 0) return trimmed(std::string_view(line).substr(key.size()));
    return {};
}

bool RecordedRequest::hasHeader(std::string_view name) const {
    std::string key = lower(name) + ":";
    return std::any_of(headerLines.begin(), headerLines.end(),
                       [&](const std::string& line) { return lower(line).rfind(key, 0) == 0; });
}

Answer okAnswer(std::string body, std::vector<std::string> headerLines) {
    Answer answer;
    answer.body = std::move(body);
    answer.headerLines = std::move(headerLines);
    return answer;
}

std::string bodyText(const std::vector<unsigned char>& body) { return std::string(body.begin(), body.end()); }

Answer redirectTo(std::string_view location, int status) {
    Answer answer;
    answer.status = status;
    answer.reason = status == 301 ? "Moved Permanently" : "Found";
    answer.headerLines = {"Location: " + std::string(location)};
    answer.body = "moved";
    return answer;
}

LoopbackServer::LoopbackServer(int port) {
    startWinsock();
    listener_ = static_cast<std::uintptr_t>(listenOn(port, &port_));
    if (static_cast<SOCKET>(listener_) == INVALID_SOCKET) {
        ADD_FAILURE() << "loopback server cannot listen on port " << port;
        return;
    }
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

LoopbackServer::LoopbackServer(Scheme scheme) : LoopbackServer(0) {
    if (scheme != Scheme::Https) return;
    trustTestCertificate();
    tls_ = std::make_unique<TlsForward>(port_);
    tlsPort_ = tls_->port();
}

LoopbackServer::~LoopbackServer() {
    tls_.reset();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    recorded_.notify_all();
    if (acceptThread_.joinable()) {
        // A connection of our own wakes the blocked accept, which then sees stopping_.
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<u_short>(port_));
        connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        acceptThread_.join();
        closesocket(s);
    }
    if (static_cast<SOCKET>(listener_) != INVALID_SOCKET) closesocket(static_cast<SOCKET>(listener_));
    std::vector<std::shared_ptr<Connection>> connections;
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
        workers.swap(workers_);
    }
    for (auto& connection : connections) connection->wake();
    for (auto& worker : workers) worker.join();
}

std::string LoopbackServer::url(std::string_view path) const {
    if (tls_) return "https://localhost:" + std::to_string(tlsPort_) + std::string(path);
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

void LoopbackServer::script(std::string path, Answer answer) {
    std::lock_guard lock(mutex_);
    responders_.erase(path);
    answers_[std::move(path)] = std::move(answer);
}

void LoopbackServer::script(std::string path, Responder responder) {
    std::lock_guard lock(mutex_);
    responders_[std::move(path)] = std::move(responder);
}

void LoopbackServer::setAnswerFilter(AnswerFilter filter) {
    std::lock_guard lock(mutex_);
    filter_ = std::move(filter);
}

std::vector<RecordedRequest> LoopbackServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

RecordedRequest LoopbackServer::lastRequest(std::string_view path) const {
    std::lock_guard lock(mutex_);
    for (auto it = requests_.rbegin(); it != requests_.rend(); ++it)
        if (pathOf(it->target) == path) return *it;
    ADD_FAILURE() << "no request came for " << path;
    return {};
}

void LoopbackServer::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
    ++clears_;
}

bool LoopbackServer::waitForRequests(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return recorded_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

void LoopbackServer::acceptLoop() {
    for (;;) {
        SOCKET s = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (s == INVALID_SOCKET) return;
        // An answer goes out as its header and then its body: without this the
        // body would wait for the client's delayed acknowledgement of the
        // header, 40 ms for every small answer.
        const BOOL noDelay = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
        auto connection = std::make_shared<Connection>(s);
        std::lock_guard lock(mutex_);
        if (stopping_) return;  // the connection closes itself
        connections_.push_back(connection);
        workers_.emplace_back([this, connection] { serve(connection); });
    }
}

Answer LoopbackServer::answerFor(const RecordedRequest& request) const {
    Responder responder;
    {
        std::lock_guard lock(mutex_);
        auto found = responders_.find(pathOf(request.target));
        if (found != responders_.end()) responder = found->second;
    }
    if (responder) return responder(request);
    std::lock_guard lock(mutex_);
    auto it = answers_.find(pathOf(request.target));
    if (it != answers_.end()) return it->second;
    Answer missing;
    missing.status = 404;
    missing.reason = "Not Found";
    missing.body = "not scripted";
    return missing;
}

void LoopbackServer::serve(std::shared_ptr<Connection> connection) {
    // Waits that end early when the server stops.
    auto pause = [this](std::chrono::milliseconds span) {
        std::unique_lock lock(mutex_);
        return !recorded_.wait_for(lock, span, [&] { return stopping_; });
    };
    std::string pending;
    char buffer[16384];
    auto receive = [&]() {
        // Under Wine shutdown() does not wake a blocked recv, and a client may
        // keep an idle connection open for half a minute: wait in short steps.
        for (;;) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(connection->socket, &readable);
            timeval step{0, 100000};
            const int ready = select(0, &readable, nullptr, nullptr, &step);
            if (ready < 0) return false;
            if (ready > 0) break;
            std::lock_guard lock(mutex_);
            if (stopping_) return false;
        }
        int n = recv(connection->socket, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        pending.append(buffer, static_cast<std::size_t>(n));
        return true;
    };
    for (;;) {
        std::size_t end;
        while ((end = pending.find("\r\n\r\n")) == std::string::npos)
            if (!receive()) return connection->close(false);
        RecordedRequest request;
        request.rawHeader = pending.substr(0, end + 4);
        pending.erase(0, end + 4);
        std::size_t lineStart = 0;
        bool first = true;
        while (lineStart < request.rawHeader.size() - 2) {
            std::size_t lineEnd = request.rawHeader.find("\r\n", lineStart);
            std::string line = request.rawHeader.substr(lineStart, lineEnd - lineStart);
            lineStart = lineEnd + 2;
            if (first) {
                request.requestLine = line;
                first = false;
            } else {
                request.headerLines.push_back(line);
            }
        }
        std::size_t space = request.requestLine.find(' ');
        request.method = request.requestLine.substr(0, space);
        std::size_t space2 = request.requestLine.find(' ', space + 1);
        request.target = request.requestLine.substr(space + 1, space2 - space - 1);
        std::size_t length = 0;
        if (request.hasHeader("Content-Length")) length = std::stoul(request.header("Content-Length"));
        while (pending.size() < length)
            if (!receive()) return connection->close(false);
        request.body = pending.substr(0, length);
        pending.erase(0, length);
        request.received = std::chrono::steady_clock::now();

        std::size_t recordIndex = 0;
        std::uint64_t recordClears = 0;
        {
            std::lock_guard lock(mutex_);
            recordIndex = requests_.size();
            recordClears = clears_;
            requests_.push_back(request);
        }
        recorded_.notify_all();

        Answer answer = answerFor(request);
        AnswerFilter filter;
        {
            std::lock_guard lock(mutex_);
            filter = filter_;
        }
        if (filter) answer = filter(request, std::move(answer));
        if (answer.delayBeforeHeaders.count() > 0 && !pause(answer.delayBeforeHeaders))
            return connection->close(false);
        if (answer.resetBeforeHeaders) return connection->close(true);
        std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + answer.reason + "\r\n";
        for (const std::string& line : answer.headerLines) head += line + "\r\n";
        switch (answer.framing) {
            case Framing::ContentLength:
                head += "Content-Length: " + std::to_string(answer.body.size() + answer.fillerBytes) + "\r\n";
                break;
            case Framing::Chunked: head += "Transfer-Encoding: chunked\r\n"; break;
            case Framing::Close: head += "Connection: close\r\n"; break;
        }
        head += "\r\n";
        if (!connection->sendAll(head)) return connection->close(false);

        const std::string_view body = answer.body;
        const std::size_t total = body.size() + answer.fillerBytes;
        static const std::string filler(kFillerPiece, 'f');
        std::size_t sent = 0;
        std::size_t piece = answer.trickleBytes ? answer.trickleBytes : std::max<std::size_t>(total, 1);
        const std::size_t cut = std::min(answer.resetAfterBodyBytes, answer.closeAfterBodyBytes);
        if (cut == 0) {
            pause(std::chrono::milliseconds(50));
            return connection->close(cut == answer.resetAfterBodyBytes);
        }
        while (sent < total) {
            // The filler goes out in pieces of its own size at most.
            std::size_t n = sent < body.size() ? std::min(piece, body.size() - sent)
                                               : std::min({piece, kFillerPiece, total - sent});
            if (cut != std::string::npos && sent + n > cut) n = cut - sent;
            std::string_view part =
                sent < body.size() ? body.substr(sent, n) : std::string_view(filler).substr(0, n);
            std::string framed;
            if (answer.framing == Framing::Chunked && n > 0) {
                char size[16];
                std::snprintf(size, sizeof size, "%zx\r\n", n);
                framed = size + std::string(part) + "\r\n";
                part = framed;
            }
            if (!connection->sendAll(part)) return connection->close(false);
            sent += n;
            if (sent == cut) {
                pause(std::chrono::milliseconds(50));
                return connection->close(cut == answer.resetAfterBodyBytes);
            }
            if (answer.trickleBytes && sent < total && !pause(answer.trickleGap))
                return connection->close(false);
        }
        if (answer.framing == Framing::Chunked && !connection->sendAll("0\r\n\r\n")) return connection->close(false);
        {
            std::lock_guard lock(mutex_);
            if (clears_ == recordClears) requests_[recordIndex].answered = std::chrono::steady_clock::now();
        }
        if (answer.framing == Framing::Close || lower(request.header("Connection")) == "close")
            return connection->close(false);
    }
}

int refusedPort() {
    startWinsock();
    int port = 0;
    SOCKET s = listenOn(0, &port);
    closesocket(s);
    return port;
}

}  // namespace quorvane::test
