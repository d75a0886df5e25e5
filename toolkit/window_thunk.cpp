#include "toolkit/window_thunk.h"

#include "toolkit/method_thunk.h"

#include <utility>

namespace quorvane::toolkit {
namespace {

constexpr int kWindowProcedureArguments = 4;
constexpr int kWindowProcedureMethod = 3;

// What a thunk that must outlive its object calls instead: the procedure the
// window had before the thunk.
struct Forwarder : MethodTableObject {
    WNDPROC previous = nullptr;
};

LRESULT WINAPI forwardToPrevious(ObjectReference self, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(objectOf<Forwarder>(self).previous, window, message, wParam, lParam);
}

const MethodAddress kForwarderMethods[] = {nullptr, nullptr, reinterpret_cast<MethodAddress>(&forwardToPrevious)};

WNDPROC currentProcedure(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }

}  // namespace

bool WindowProcedureThunk::attach(HWND window, ObjectReference self, int methodNumber) {
    detach();
    ExecutableCode code(buildMethodThunk(self, methodNumber, kWindowProcedureArguments));
    if (code.empty() || !IsWindow(window)) return false;
    SetLastError(0);
    const LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(code.address()));
    if (!previous && GetLastError()) return false;
    window_ = window;
    previous_ = reinterpret_cast<WNDPROC>(previous);
    code_ = std::move(code);
    return true;
}

void WindowProcedureThunk::detach() {
    if (!window_) return;
    const HWND window = std::exchange(window_, nullptr);
    if (!IsWindow(window)) {
        code_ = ExecutableCode();  // gone with its window
        return;
    }
    if (currentProcedure(window) == code_.as<WNDPROC>()) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        code_ = ExecutableCode();
        return;
    }
    // A later subclass keeps our address as its previous procedure.
    auto* forwarder = new Forwarder;
    forwarder->methodTable = kForwarderMethods;
    forwarder->previous = previous_;
    MethodTableObject* object = forwarder;
    if (code_.rewrite(buildMethodThunk(&object, kWindowProcedureMethod, kWindowProcedureArguments))) code_.release();
}

}  // namespace quorvane::toolkit
