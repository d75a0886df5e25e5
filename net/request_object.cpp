#include "net/request_object.h"

#include "net/host_map.h"
#include "net/url.h"

#include <cstring>

namespace quorvane {
namespace {

constexpr int kUseNamedProxy = 2;              // HTTPREQUEST_PROXYSETTING_PROXY, SXH_PROXY_SET_PROXY
constexpr int kCredentialsForProxy = 1;        // HTTPREQUEST_SETCREDENTIALS_FOR_PROXY
constexpr int kEnableRedirectsOption = 6;      // WinHttpRequestOption_EnableRedirects

Variant byteArray(const Bytes& bytes) {
    Variant v;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) return v;
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
        if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
    }
    v.get()->vt = VT_ARRAY | VT_UI1;
    v.get()->parray = array;
    return v;
}

Bytes bytesOf(const VARIANT& v) {
    if (v.vt != (VT_ARRAY | VT_UI1) || !v.parray || SafeArrayGetDim(v.parray) != 1) return {};
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(v.parray, 1, &lower);
    SafeArrayGetUBound(v.parray, 1, &upper);
    if (upper < lower) return {};
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(v.parray, &data))) return {};
    const auto* first = static_cast<const unsigned char*>(data);
    Bytes bytes(first, first + (upper - lower + 1));
    SafeArrayUnaccessData(v.parray);
    return bytes;
}

// Option is an indexed property, which comPut does not reach.
void putIndexed(IDispatch* object, const wchar_t* name, int index, const VARIANT& value) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return;
    Variant position = Variant::fromInt(index);
    VARIANT args[] = {value, position.value()};  // last argument first, the value being last
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{args, &put, 2, 1};
    object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

}  // namespace

RequestObject RequestObject::create(std::span<const wchar_t* const> progIds) {
    RequestObject request;
    for (const wchar_t* progId : progIds) {
        request.object_ = createComObject(progId);
        if (request.object_) break;
    }
    return request;
}

void RequestObject::setTimeouts(int milliseconds) {
    const Variant t = Variant::fromInt(milliseconds);
    Variant ignored;
    comCall(object_.get(), L"setTimeouts", ignored, {&t.value(), &t.value(), &t.value(), &t.value()});
}

void RequestObject::setProxy(std::string_view proxy) {
    const Variant setting = Variant::fromInt(kUseNamedProxy);
    const Variant server = Variant::fromGbk(proxy);
    Variant ignored;
    comCall(object_.get(), L"setProxy", ignored, {&setting.value(), &server.value()});
}

void RequestObject::setProxyCredentials(std::string_view userName, std::string_view password) {
    const Variant user = Variant::fromGbk(userName);
    const Variant secret = Variant::fromGbk(password);
    Variant ignored;
    if (comCall(object_.get(), L"setProxyCredentials", ignored, {&user.value(), &secret.value()})) return;
    const Variant forProxy = Variant::fromInt(kCredentialsForProxy);
    comCall(object_.get(), L"SetCredentials", ignored, {&user.value(), &secret.value(), &forProxy.value()});
}

void RequestObject::open(std::string_view method, std::string_view address) {
    const RequestTarget target =
        routeRequest(isHttpsUrl(address), stripHttpsScheme(address), portOfUrlOrDefault(address));
    std::string opened(address);
    if (target.mapped) {
        opened = "http://" + target.host + ":" + std::to_string(target.port) + pathOfHttpsUrl(address);
    }
    const Variant verb = Variant::fromGbk(method);
    const Variant url = Variant::fromGbk(opened);
    const Variant async = Variant::fromBool(false);
    Variant ignored;
    comCall(object_.get(), L"open", ignored, {&verb.value(), &url.value(), &async.value()});
    if (target.mapped) setRequestHeader("Host", target.hostLine);
}

void RequestObject::disableRedirects() {
    if (!object_) return;
    putIndexed(object_.get(), L"Option", kEnableRedirectsOption, Variant::fromBool(false).value());
}

void RequestObject::setRequestHeader(std::string_view name, std::string_view value) {
    const Variant key = Variant::fromGbk(name);
    const Variant text = Variant::fromGbk(value);
    Variant ignored;
    comCall(object_.get(), L"setRequestHeader", ignored, {&key.value(), &text.value()});
}

bool RequestObject::send(std::string_view body) {
    const Variant text = Variant::fromGbk(body);
    Variant ignored;
    return comCall(object_.get(), L"send", ignored, {&text.value()});
}

bool RequestObject::send(const Bytes& body) {
    const Variant bytes = byteArray(body);
    Variant ignored;
    return comCall(object_.get(), L"send", ignored, {&bytes.value()});
}

Bytes RequestObject::responseBody() {
    Variant body;
    if (!comGet(object_.get(), L"responseBody", body)) return {};
    return bytesOf(body.value());
}

std::string RequestObject::allResponseHeaders() {
    Variant headers;
    comCall(object_.get(), L"getAllResponseHeaders", headers);
    return headers.toGbk();
}

}  // namespace quorvane
