#pragma once
// A COM request on a request thread of its own: Wine's request objects ignore
// their time-outs, so only an abandonable thread bounds them. COM is
// initialised on that thread and the object lives and dies there.
#include "net/request_object.h"
#include "text/types.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace quorvane {

struct ComAnswer {
    bool noObject = false;  // none of the request objects could be created
    bool pastBound = false;  // the body was longer than the bound: no answer
    Bytes body;
    std::string responseHeaders;
};

// Creates the first of progIds that can be created, lets send prepare and send
// it, and hands back the body and the header text; send says whether the
// object's send worked. send runs on the request thread, possibly after the
// caller has given up, so it holds copies only.
// Nothing when no answer came within limitMs or the calling thread's cancel
// event was set. An answer longer than maxBodyBytes is refused (pastBound,
// nothing else set) before more of it is read.
std::optional<ComAnswer> runComRequest(std::span<const wchar_t* const> progIds, int limitMs, bool pumpMessages,
                                       std::size_t maxBodyBytes, std::function<bool(RequestObject&)> send);

}  // namespace quorvane
