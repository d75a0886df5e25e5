#include "net/com_request_thread.h"

#include "net/request_thread.h"

#include <vector>

namespace quorvane {
namespace {

ComAnswer runComRequestWorker(const std::vector<std::wstring>& progIds,
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
    answer.body = object.responseBody();
    answer.responseHeaders = object.allResponseHeaders();
    return answer;
}

}  // namespace

std::optional<ComAnswer> runComRequest(std::span<const wchar_t* const> progIds, int limitMs, bool pumpMessages,
                                       std::function<bool(RequestObject&)> send) {
    // The caller's list may be gone before an abandoned thread looks at it.
    std::vector<std::wstring> ids(progIds.begin(), progIds.end());
    return runOnRequestThread<ComAnswer>(
        limitMs, pumpMessages, [ids = std::move(ids), send = std::move(send)](const RequestExchange& exchange) {
            return runComRequestWorker(ids, send, exchange);
        });
}

}  // namespace quorvane
