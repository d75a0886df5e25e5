#include "net/request_object.h"

#include "net/host_map.h"
#include "net/url.h"
#include "text/codepage.h"

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
        if (std::wstring_view(progId) == kRequestObjects[0] && WinHttpCall::available()) {
            request.direct_ = std::make_unique<WinHttpCall>();
            break;
        }
        request.object_ = createComObject(progId);
        if (request.object_) break;
    }
    return request;
}

void RequestObject::setTimeouts(int milliseconds) {
    if (direct_) return direct_->setTimeouts(milliseconds);
    const Variant t = Variant::fromInt(milliseconds);
    Variant ignored;
    comCall(object_.get(), L"setTimeouts", ignored, {&t.value(), &t.value(), &t.value(), &t.value()});
}

void RequestObject::setProxy(std::string_view proxy) {
    if (direct_) return direct_->setProxy(gbkToWide(proxy));
    const Variant setting = Variant::fromInt(kUseNamedProxy);
    const Variant server = Variant::fromGbk(proxy);
    Variant ignored;
    comCall(object_.get(), L"setProxy", ignored, {&setting.value(), &server.value()});
}

void RequestObject::setProxyCredentials(std::string_view userName, std::string_view password) {
    if (direct_) return direct_->setProxyCredentials(gbkToWide(userName), gbkToWide(password));
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
    if (direct_) {
        direct_->open(gbkToWide(method), gbkToWide(opened));
    } else {
        openObject(method, opened);
    }
    if (target.mapped) setRequestHeader("Host", target.hostLine);
}

void RequestObject::openObject(std::string_view method, std::string_view opened) {
    const Variant verb = Variant::fromGbk(method);
    const Variant url = Variant::fromGbk(opened);
    const Variant async = Variant::fromBool(false);
    Variant ignored;
    comCall(object_.get(), L"open", ignored, {&verb.value(), &url.value(), &async.value()});
}

void RequestObject::disableRedirects() {
    if (direct_) return direct_->disableRedirects();
    if (!object_) return;
    putIndexed(object_.get(), L"Option", kEnableRedirectsOption, Variant::fromBool(false).value());
}

void RequestObject::setRequestHeader(std::string_view name, std::string_view value) {
    if (direct_) return direct_->setRequestHeader(gbkToWide(name), gbkToWide(value));
    const Variant key = Variant::fromGbk(name);
    const Variant text = Variant::fromGbk(value);
    Variant ignored;
    comCall(object_.get(), L"setRequestHeader", ignored, {&key.value(), &text.value()});
}

bool RequestObject::send(std::string_view body) {
    if (direct_) return direct_->send(gbkToWide(body));
    const Variant text = Variant::fromGbk(body);
    Variant ignored;
    return comCall(object_.get(), L"send", ignored, {&text.value()});
}

bool RequestObject::send(const Bytes& body) {
    if (direct_) return direct_->send(body);
    const Variant bytes = byteArray(body);
    Variant ignored;
    return comCall(object_.get(), L"send", ignored, {&bytes.value()});
}

BodyEnd RequestObject::readBody(Bytes& out, std::size_t maxBytes, const std::function<bool()>& stopEarly) {
    if (direct_) return direct_->readBody(out, maxBytes, stopEarly);
    Variant body;
    if (!comGet(object_.get(), L"responseBody", body)) return BodyEnd::Whole;
    Bytes bytes = bytesOf(body.value());
    if (bytes.size() > maxBytes - out.size()) return BodyEnd::PastBound;
    out.insert(out.end(), bytes.begin(), bytes.end());
    return BodyEnd::Whole;
}

std::string RequestObject::allResponseHeaders() {
    if (direct_) return wideToGbk(direct_->allResponseHeaders());
    Variant headers;
    comCall(object_.get(), L"getAllResponseHeaders", headers);
    return headers.toGbk();
}

}  // namespace quorvane
