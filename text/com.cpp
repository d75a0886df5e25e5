#include "text/com.h"

#include <cwchar>
#include <vector>

namespace quorvane {

namespace {

constexpr UINT kGbkCodePage = 936;

// Late-bound call with the arguments in natural order; IDispatch wants them
// last to first.
bool invoke(IDispatch* object, const wchar_t* name, WORD flags, std::initializer_list<const VARIANT*> args,
            DISPID* namedArg, VARIANT* result) {
    if (!object) return false;
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    // Shallow copies: Invoke only reads in-arguments, the caller keeps ownership.
    std::vector<VARIANT> reversed(args.size());
    size_t k = args.size();
    for (const VARIANT* arg : args) reversed[--k] = *arg;
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    if (namedArg) {
        params.rgdispidNamedArgs = namedArg;
        params.cNamedArgs = 1;
    }
    return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr));
}

bool invokeForResult(IDispatch* object, const wchar_t* name, WORD flags, Variant& result,
                     std::initializer_list<const VARIANT*> args) {
    VariantClear(result.get());
    if (invoke(object, name, flags, args, nullptr, result.get())) return true;
    VariantClear(result.get());
    return false;
}

}  // namespace

Variant Variant::fromBool(bool b) {
    Variant v;
    v.v_.vt = VT_BOOL;
    v.v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::fromInt(int i) {
    Variant v;
    v.v_.vt = VT_I4;
    v.v_.lVal = i;
    return v;
}

Variant Variant::fromGbk(std::string_view gbk) {
    Variant v;
    const int size = static_cast<int>(gbk.size());
    const int units = size ? MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), size, nullptr, 0) : 0;
    BSTR s = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (!s) return v;
    if (units) MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), size, s, units);
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = s;
    return v;
}

std::string Variant::toGbk() const {
    if (v_.vt == VT_EMPTY || v_.vt == VT_NULL) return {};
    Variant text;
    if (FAILED(VariantChangeType(text.get(), const_cast<VARIANT*>(&v_), 0, VT_BSTR))) return {};
    const BSTR s = text.value().bstrVal;
    const int units = static_cast<int>(SysStringLen(s));
    if (!units) return {};
    const int size = WideCharToMultiByte(kGbkCodePage, 0, s, units, nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<size_t>(size), '\0');
    if (size) WideCharToMultiByte(kGbkCodePage, 0, s, units, gbk.data(), size, nullptr, nullptr);
    return gbk;
}

int Variant::toInt() const {
    Variant number;
    if (FAILED(VariantChangeType(number.get(), const_cast<VARIANT*>(&v_), 0, VT_I4))) return 0;
    return static_cast<int>(number.value().lVal);
}

ComPtr<IDispatch> Variant::toDispatch() const {
    ComPtr<IDispatch> object;
    IUnknown* unknown = nullptr;
    if (v_.vt == VT_DISPATCH)
        unknown = v_.pdispVal;
    else if (v_.vt == VT_UNKNOWN)
        unknown = v_.punkVal;
    if (unknown) unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.out()));
    return object;
}

namespace {

constexpr DWORD kServerContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;

// The class factories of the thread's open ComScopes, by program id. Plain
// pointers: nothing here may need a destructor at thread exit, when COM is
// gone; the outermost scope releases them.
struct ThreadFactories {
    static constexpr int kKept = 8;
    static constexpr std::size_t kLongestProgId = 63;
    int openScopes = 0;
    int count = 0;
    wchar_t progIds[kKept][kLongestProgId + 1];
    IClassFactory* factories[kKept];
};
thread_local ThreadFactories threadFactories;

IClassFactory* keptFactory(const wchar_t* progId) {
    ThreadFactories& kept = threadFactories;
    for (int i = 0; i < kept.count; ++i)
        if (std::wcscmp(kept.progIds[i], progId) == 0) return kept.factories[i];
    if (kept.count == ThreadFactories::kKept || std::wcslen(progId) > ThreadFactories::kLongestProgId) return nullptr;
    CLSID clsid;
    IClassFactory* factory = nullptr;
    if (FAILED(CLSIDFromProgID(progId, &clsid)) ||
        FAILED(CoGetClassObject(clsid, kServerContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return nullptr;
    std::wcscpy(kept.progIds[kept.count], progId);
    kept.factories[kept.count++] = factory;
    return factory;
}

void releaseKeptFactories() {
    ThreadFactories& kept = threadFactories;
    for (int i = 0; i < kept.count; ++i) kept.factories[i]->Release();
    kept.count = 0;
}

}  // namespace

ComScope::ComScope() : result_(CoInitialize(nullptr)) {
    if (SUCCEEDED(result_)) ++threadFactories.openScopes;
}

ComScope::~ComScope() {
    if (FAILED(result_)) return;
    if (--threadFactories.openScopes == 0) releaseKeptFactories();
    CoUninitialize();
}

ComPtr<IDispatch> createComObject(const wchar_t* progId) {
    ComPtr<IDispatch> object;
    if (threadFactories.openScopes > 0) {
        if (IClassFactory* factory = keptFactory(progId)) {
            if (FAILED(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.out()))))
                object.reset();
            return object;
        }
    }
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(progId, &clsid))) return object;
    if (FAILED(CoCreateInstance(clsid, nullptr, kServerContext, IID_IDispatch, reinterpret_cast<void**>(object.out()))))
        object.reset();
    return object;
}

bool comGet(IDispatch* object, const wchar_t* name, Variant& result, std::initializer_list<const VARIANT*> args) {
    return invokeForResult(object, name, DISPATCH_PROPERTYGET, result, args);
}

bool comPut(IDispatch* object, const wchar_t* name, const VARIANT& value) {
    DISPID putId = DISPID_PROPERTYPUT;
    return invoke(object, name, DISPATCH_PROPERTYPUT, {&value}, &putId, nullptr);
}

bool comCall(IDispatch* object, const wchar_t* name, Variant& result, std::initializer_list<const VARIANT*> args) {
    return invokeForResult(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, result, args);
}

}  // namespace quorvane
