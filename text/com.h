#pragma once
// Small RAII pieces for late-bound COM: an owning interface pointer, a
// per-thread initialisation scope, an owned VARIANT and calls by member name.
// Failures come back as empty values; callers treat those as "no result".
#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace quorvane {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& other) : p_(other.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }
    // Takes over a reference the caller owns.
    static ComPtr adopt(T* p) { ComPtr c; c.p_ = p; return c; }
    void reset() { if (p_) std::exchange(p_, nullptr)->Release(); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** out() { reset(); return &p_; }

private:
    T* p_ = nullptr;
};

// CoInitialize for the lifetime of the scope (apartment-threaded). While
// one is open on a thread, createComObject keeps the class factories it
// used there; the outermost scope lets them go before COM is uninitialised.
class ComScope {
public:
    ComScope();
    ~ComScope();
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

class Variant {
public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &v_; }
    const VARIANT& value() const { return v_; }
    static Variant fromBool(bool b);
    static Variant fromInt(int i);
    static Variant fromGbk(std::string_view gbk);

    // Conversions give "" / 0 / no object when the value does not convert.
    std::string toGbk() const;
    int toInt() const;
    ComPtr<IDispatch> toDispatch() const;

private:
    VARIANT v_;
};

// A new object of the class; its class factory is looked up once per thread
// and kept while a ComScope is open there (the look-up through the registry
// costs more than the object itself).
ComPtr<IDispatch> createComObject(const wchar_t* progId);

// Late-bound calls by member name; arguments are given in their natural
// order. Each returns false (and leaves result empty) when the call fails.
bool comGet(IDispatch* object, const wchar_t* name, Variant& result, std::initializer_list<const VARIANT*> args = {});
bool comPut(IDispatch* object, const wchar_t* name, const VARIANT& value);
bool comCall(IDispatch* object, const wchar_t* name, Variant& result, std::initializer_list<const VARIANT*> args = {});

}  // namespace quorvane
