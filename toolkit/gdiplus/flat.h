#pragma once
// What the wrappers' sources share: the flat API and the result kinds.
#include "toolkit/gdiplus/gdi_object.h"

#include <objidl.h>
#include <gdiplus.h>

#include <vector>

namespace quorvane::toolkit::gdiplus {

namespace flat = Gdiplus::DllExports;

void rememberStatus(Gdiplus::GpStatus status);

// ok: the Status is kept; true for Ok.
inline bool ok(Gdiplus::GpStatus status) {
    rememberStatus(status);
    return status == Gdiplus::Ok;
}

// value: what GDI+ wrote into a zeroed out value, whatever the Status.
template <class T, class Call, class... Args>
T value(Call call, Args... args) {
    T out{};
    rememberStatus(call(args..., &out));
    return out;
}

// flag: a GDI+ BOOL as a bool; false when the call failed.
template <class Call, class... Args>
bool flag(Call call, Args... args) {
    BOOL out = FALSE;
    rememberStatus(call(args..., &out));
    return out != FALSE;
}

// A list's array for GDI+: none for an empty list.
template <class T>
auto* arrayOf(std::vector<T>& list) {
    return list.empty() ? nullptr : list.data();
}
template <class T>
const auto* arrayOf(const std::vector<T>& list) {
    return list.empty() ? nullptr : list.data();
}
template <class T>
INT countOf(const std::vector<T>& list) {
    return static_cast<INT>(list.size());
}

// Our records cross the boundary as GDI+'s own.
inline const Gdiplus::PointF* gp(const PointF* p) { return reinterpret_cast<const Gdiplus::PointF*>(p); }
inline Gdiplus::PointF* gp(PointF* p) { return reinterpret_cast<Gdiplus::PointF*>(p); }
inline const Gdiplus::Point* gp(const Point* p) { return reinterpret_cast<const Gdiplus::Point*>(p); }
inline Gdiplus::Point* gp(Point* p) { return reinterpret_cast<Gdiplus::Point*>(p); }
inline const Gdiplus::RectF* gp(const RectF* r) { return reinterpret_cast<const Gdiplus::RectF*>(r); }
inline Gdiplus::RectF* gp(RectF* r) { return reinterpret_cast<Gdiplus::RectF*>(r); }
inline const Gdiplus::Rect* gp(const Rect* r) { return reinterpret_cast<const Gdiplus::Rect*>(r); }
inline Gdiplus::Rect* gp(Rect* r) { return reinterpret_cast<Gdiplus::Rect*>(r); }
inline const Gdiplus::CharacterRange* gp(const CharacterRange* r) {
    return reinterpret_cast<const Gdiplus::CharacterRange*>(r);
}
template <class T>
auto gpArray(std::vector<T>& list) {
    return gp(arrayOf(list));
}
template <class T>
auto gpArray(const std::vector<T>& list) {
    return gp(arrayOf(list));
}

// Handles of object arguments as GDI+'s types.
template <class T>
T* as(Handle handle) {
    return static_cast<T*>(handle);
}
inline Gdiplus::GpMatrix* matrixOf(const GdiObject* object) { return as<Gdiplus::GpMatrix>(handleOf(object)); }
inline Gdiplus::GpMatrix* matrixOf(const GdiObject& object) { return as<Gdiplus::GpMatrix>(handleOf(object)); }

// The list getters: the count call, then the lists sized to the count and
// the data call. 0 and untouched lists when the count call fails.
template <class CountCall, class DataCall>
int listGetter(CountCall count, DataCall data) {
    INT n = 0;
    if (!ok(count(&n))) return 0;
    data(n);
    return n;
}

// create: GDI+ writes the new handle into the operation's level (which keeps
// what it held when GDI+ writes nothing), and every level gets it.
template <class T, class Call>
bool createAt(GdiObject& object, Handle level, Call call) {
    T* made = static_cast<T*>(level);
    const Gdiplus::GpStatus status = call(&made);
    object.setNativeHandle(made);
    return ok(status);
}

// release: nothing to do for an object that holds nothing.
template <class Call>
bool releaseAt(GdiObject& object, Handle level, Call call) {
    if (!level) return false;
    const Gdiplus::GpStatus status = call(level);
    object.setNativeHandle(nullptr);
    return ok(status);
}

// clone: the target gets the new handle, none when the call failed.
template <class T, class Call>
bool cloneInto(GdiObject& target, Call call) {
    T* made = nullptr;
    const Gdiplus::GpStatus status = call(&made);
    target.setNativeHandle(made);
    return ok(status);
}

}  // namespace quorvane::toolkit::gdiplus
