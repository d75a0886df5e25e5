#include "toolkit/routine_call.h"

#include "toolkit/call_stubs.h"
#include "toolkit/executable_code.h"

#include <windows.h>

#include <array>

namespace quorvane::toolkit {
namespace {

// Each stub is copied once into executable memory and kept for the process.
template <const auto& code>
const ExecutableCode& stub() {
    static const ExecutableCode copy{std::span<const unsigned char>(code)};
    return copy;
}

#if defined(__i386__)
using CodeAddressStub = std::intptr_t(WINAPI*)(const void*, const std::intptr_t*, std::intptr_t);

std::intptr_t callThroughFrame(const void* routine, const std::intptr_t* arguments, std::size_t count) {
    return stub<kX86CodeAddressStub>().as<CodeAddressStub>()(routine, arguments, static_cast<std::intptr_t>(count));
}
#else
using CallStub = std::intptr_t (*)(const void*, const std::intptr_t*, std::size_t);

std::intptr_t callThroughFrame(const void* routine, const std::intptr_t* arguments, std::size_t count) {
    return stub<kX64CallStub>().as<CallStub>()(routine, arguments, count);
}
#endif

}  // namespace

std::intptr_t callWithArgs(const void* routine, std::span<const std::intptr_t> arguments, bool cdeclRoutine) {
#if defined(__i386__)
    // The stub takes four 32-bit values, which is what a window procedure
    // takes: CallWindowProcA invokes it with them.
    return CallWindowProcA(stub<kX86ArgumentArrayStub>().as<WNDPROC>(),
                           reinterpret_cast<HWND>(const_cast<void*>(routine)),
                           static_cast<UINT>(reinterpret_cast<std::uintptr_t>(arguments.data())),
                           static_cast<WPARAM>(arguments.size()), cdeclRoutine ? 1 : 0);
#else
    (void)cdeclRoutine;
    return callThroughFrame(routine, arguments.data(), arguments.size());
#endif
}

std::intptr_t callCodeAddress(const void* address, std::intptr_t* result,
                              std::initializer_list<std::optional<std::intptr_t>> arguments) {
    std::array<std::intptr_t, kMaxCodeAddressArguments> given{};
    std::size_t count = 0;
    for (const std::optional<std::intptr_t>& argument : arguments)
        if (argument && count < given.size()) given[count++] = *argument;
    const std::intptr_t value = callThroughFrame(address, given.data(), count);
    if (result) *result = value;
    return value;
}

std::intptr_t callWithThreeArgs(const void* routine, std::intptr_t a, std::intptr_t b, std::intptr_t c) {
#if defined(__i386__)
    return CallWindowProcA(stub<kX86ThreeArgumentStub>().as<WNDPROC>(),
                           reinterpret_cast<HWND>(const_cast<void*>(routine)), static_cast<UINT>(a),
                           static_cast<WPARAM>(b), static_cast<LPARAM>(c));
#else
    const std::intptr_t arguments[] = {a, b, c};
    return callThroughFrame(routine, arguments, 3);
#endif
}

}  // namespace quorvane::toolkit
