#pragma once
// The COM request object both COM request routines drive: the first of a list
// of ProgIDs that can be created, and the calls made on it by name. No call's
// outcome is examined; a failed call leaves an empty answer. The WinHttp
// object is stood in for by WinHttp's own functions (net/winhttp_call.h), so
// that its body can be bounded.
#include "net/winhttp_call.h"
#include "text/com.h"
#include "text/types.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace quorvane {

inline constexpr const wchar_t* kRequestObjects[] = {
    L"WinHttp.WinHttpRequest.5.1",
    L"MSXML2.ServerXMLHTTP.6.0",
    L"MSXML2.ServerXMLHTTP.5.0",
};

class RequestObject {
public:
    // Empty when none of the ProgIDs can be created. COM must be initialised
    // on the calling thread for the object's whole life.
    static RequestObject create(std::span<const wchar_t* const> progIds);

    explicit operator bool() const { return object_ || direct_; }

    void setTimeouts(int milliseconds);  // resolve, connect, send and receive alike
    void setProxy(std::string_view proxy);
    // ServerXMLHTTP's setProxyCredentials, or WinHttp's SetCredentials for
    // the proxy, whichever the object has.
    void setProxyCredentials(std::string_view userName, std::string_view password);
    // A synchronous request. An address whose host the host map redirects is
    // opened at the mapped place over plain HTTP, with the original Host line.
    void open(std::string_view method, std::string_view address);
    void disableRedirects();
    void setRequestHeader(std::string_view name, std::string_view value);
    // False when the request failed (no answer, or none in the time-outs).
    bool send(std::string_view body);
    bool send(const Bytes& body);
    std::string allResponseHeaders();
    // Appends the body to out, stopping when stopEarly says so and before out
    // would grow past maxBytes. A COM object hands its body over whole.
    BodyEnd readBody(Bytes& out, std::size_t maxBytes, const std::function<bool()>& stopEarly);

private:
    void openObject(std::string_view method, std::string_view opened);
    ComPtr<IDispatch> object_;
    std::unique_ptr<WinHttpCall> direct_;
};

}  // namespace quorvane
