#include "text/thread_name.h"

#include <windows.h>

namespace quorvane {

void nameCurrentThread(const wchar_t* name) {
    // Looked up, not linked: older systems lack the call, and the program must still start there.
    using Describe = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    static const auto describe = reinterpret_cast<Describe>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
    if (describe) describe(GetCurrentThread(), name);
}

}  // namespace quorvane
