#include "net/com_request_thread.h"

#include "net/request_thread.h"
#include "text/search.h"

#include <cstdlib>
#include <vector>

namespace quorvane {
namespace {

// The Content-Length line's value; 0 when there is none.
std::size_t declaredLength(const std::string& headers) {
    for (const std::string& line : splitText(headers, "\r\n")) {
        constexpr std::string_view kName = "content-length:";
        if (lowerText(line.substr(0, kName.size())) == kName)
            return static_cast<std::size_t>(std::strtoull(line.c_str() + kName.size(), nullptr, 10));
    }
    return 0;
}

ComAnswer runComRequestWorker(const std::vector<std::wstring>& progIds, std::size_t maxBodyBytes,
                              const std::function<bool(RequestObject&)>& send, const RequestExchange& exchange) {
    const ComScope com;
    std::vector<const wchar_t*> names;
    for (const std::wstring& id : progIds) names.push_back(id.c_str());
    RequestObject object = RequestObject::create(names);
    if (!object) return {.noObject = true};
    if (exchange.abandoned()) return {};
    // A failed request has no body and no headers; Wine's WinHttp even faults
    // when asked for the body of one whose answer broke off.
    if (!send(object)) return {};
    ComAnswer answer;
    answer.responseHeaders = object.allResponseHeaders();
    if (declaredLength(answer.responseHeaders) > maxBodyBytes) return {.pastBound = true};
    // An abandoned request stops between two pieces of its body, so that a
    // server trickling bytes holds neither this thread nor memory for long.
    switch (object.readBody(answer.body, maxBodyBytes, [&] { return exchange.abandoned(); })) {
        case BodyEnd::Whole: return answer;
        case BodyEnd::PastBound: return {.pastBound = true};
        case BodyEnd::Stopped:
        case BodyEnd::Broken: break;
    }
    return {};
}

}  // namespace

std::optional<ComAnswer> runComRequest(std::span<const wchar_t* const> progIds, int limitMs, bool pumpMessages,
                                       std::size_t maxBodyBytes, std::function<bool(RequestObject&)> send) {
    // The caller's list may be gone before an abandoned thread looks at it.
    std::vector<std::wstring> ids(progIds.begin(), progIds.end());
    return runOnRequestThread<ComAnswer>(
        limitMs, pumpMessages,
        [ids = std::move(ids), maxBodyBytes, send = std::move(send)](const RequestExchange& exchange) {
            return runComRequestWorker(ids, maxBodyBytes, send, exchange);
        });
}

}  // namespace quorvane
