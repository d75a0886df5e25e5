#include "toolkit/gdiplus/flat.h"

namespace quorvane::toolkit::gdiplus {
namespace {

// Text inside the system is GBK whatever the machine's code pages are.
constexpr UINT kGbk = 936;

Status& lastStatus() {
    static Status status = kOk;
    return status;
}

static_assert(sizeof(PointF) == sizeof(Gdiplus::PointF) && sizeof(Point) == sizeof(Gdiplus::Point));
static_assert(sizeof(RectF) == sizeof(Gdiplus::RectF) && sizeof(Rect) == sizeof(Gdiplus::Rect));
static_assert(sizeof(SizeF) == sizeof(Gdiplus::SizeF));
static_assert(sizeof(CharacterRange) == sizeof(Gdiplus::CharacterRange));

}  // namespace

Status lastGdiStatus() { return lastStatus(); }

void rememberStatus(Gdiplus::GpStatus status) { lastStatus() = static_cast<Status>(status); }

ULONG_PTR startGdiplus(std::uint32_t version) {
    static const ULONG_PTR token = [version] {
        ULONG_PTR started = 0;
        Gdiplus::GdiplusStartupInput input;
        input.GdiplusVersion = version;
        return Gdiplus::GdiplusStartup(&started, &input, nullptr) == Gdiplus::Ok ? started : 0;
    }();
    return token;
}

std::wstring toWideText(std::string_view text) {
    const int units =
        text.empty() ? 0 : MultiByteToWideChar(kGbk, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (units > 0) MultiByteToWideChar(kGbk, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    // A zero inside the text ends it for GDI+ as for lstrlenW.
    wide.resize(wcsnlen(wide.c_str(), wide.size()));
    return wide;
}

std::string fromWideText(const wchar_t* text) {
    if (!text) return {};
    const int bytes = WideCharToMultiByte(kGbk, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string narrow(static_cast<std::size_t>(bytes), ' ');
    WideCharToMultiByte(kGbk, 0, text, -1, narrow.data(), bytes, nullptr, nullptr);
    narrow.resize(narrow.find('\0'));
    return narrow;
}

void* GdiObject::gdipAlloc(std::size_t size) { return flat::GdipAlloc(size); }

void GdiObject::gdipFree(void* pointer) { flat::GdipFree(pointer); }

}  // namespace quorvane::toolkit::gdiplus
