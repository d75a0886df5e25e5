#pragma once
// A picture shown by components: a shared GDI bitmap, deleted with its last
// owner. Components keep a copy, so a picture outlives the code that drew it.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace quorvane::ui {

class Picture {
public:
    Picture() = default;
    explicit Picture(HBITMAP bitmap)
        : bitmap_(bitmap ? std::shared_ptr<std::remove_pointer_t<HBITMAP>>(bitmap, DeleteObject) : nullptr) {}

    HBITMAP handle() const { return bitmap_.get(); }
    explicit operator bool() const { return bitmap_ != nullptr; }
    SIZE size() const {
        BITMAP info{};
        if (bitmap_) GetObjectW(bitmap_.get(), sizeof info, &info);
        return {info.bmWidth, info.bmHeight};
    }

private:
    std::shared_ptr<std::remove_pointer_t<HBITMAP>> bitmap_;
};

}  // namespace quorvane::ui
