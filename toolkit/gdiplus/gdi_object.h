#pragma once
// The base of the GDI+ wrapper family. Every object keeps its one GDI+
// handle at up to three levels of its class tree (base, class, leaf), all
// written together by setNativeHandle; each operation reads the handle of
// the level that defines it. Wrappers never start GDI+ themselves and never
// raise errors: a failure is a false, zero or empty result, with GDI+'s
// Status kept in lastGdiStatus(). Interface thread only.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane::toolkit::gdiplus {

using Handle = void*;
using Argb = DWORD;  // what GDI+ calls ARGB
using Status = std::int32_t;

inline constexpr Status kOk = 0;
inline constexpr Status kInvalidParameter = 2;

// The Status of the family's most recent GDI+ call; 0 at start.
Status lastGdiStatus();

// GDI+ for the whole process, started on the first call (with the given
// GDI+ version) and never shut down: the token of that start, 0 when GDI+
// refused to start. Later calls give the same token.
ULONG_PTR startGdiplus(std::uint32_t version = 1);

struct PointF {
    float x = 0, y = 0;
};
struct Point {
    std::int32_t x = 0, y = 0;
};
struct RectF {
    float x = 0, y = 0, width = 0, height = 0;
};
struct Rect {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};
struct SizeF {
    float width = 0, height = 0;
};
struct CharacterRange {
    std::int32_t first = 0, length = 0;
};

// GBK text to the UTF-16 that GDI+ takes, always ending in a zero unit.
std::wstring toWideText(std::string_view text);
// UTF-16 text up to its terminator to GBK.
std::string fromWideText(const wchar_t* text);

// ARGB from a COLORREF (0x00BBGGRR) and an alpha.
constexpr Argb colorrefToArgb(COLORREF colour, std::uint8_t alpha = 255) {
    return static_cast<Argb>(alpha) << 24 | (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

class GdiObject {
public:
    virtual ~GdiObject() = default;
    // Two wrappers of one handle would release it twice.
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle getNativeHandle() const { return nativeHandle_; }
    // The one way a handle enters or leaves an object: every level gets it.
    void setNativeHandle(Handle handle) {
        nativeHandle_ = handle;
        syncClassHandle(handle);
    }

    static void* gdipAlloc(std::size_t size);
    static void gdipFree(void* pointer);

protected:
    GdiObject() = default;
    virtual void syncClassHandle(Handle handle) = 0;

private:
    Handle nativeHandle_ = nullptr;
};

// The handle of an object argument; an omitted one passes none.
inline Handle handleOf(const GdiObject* object) { return object ? object->getNativeHandle() : nullptr; }
inline Handle handleOf(const GdiObject& object) { return object.getNativeHandle(); }

}  // namespace quorvane::toolkit::gdiplus
