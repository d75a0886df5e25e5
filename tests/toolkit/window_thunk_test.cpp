// Method thunks run as machine code: a window procedure that reaches one
// method of one object, and the thunk's life beside its window.
#include "toolkit/executable_code.h"
#include "toolkit/method_thunk.h"
#include "toolkit/window_thunk.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvane::toolkit {
namespace {

constexpr UINT kProbe = WM_APP + 1;

struct Recorder : MethodTableObject {
    int calls = 0;
    ObjectReference self = nullptr;
    HWND window = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

LRESULT WINAPI recordingProcedure(ObjectReference self, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& recorder = objectOf<Recorder>(self);
    if (message != kProbe) return DefWindowProcW(window, message, wParam, lParam);
    ++recorder.calls;
    recorder.self = self;
    recorder.window = window;
    recorder.wParam = wParam;
    recorder.lParam = lParam;
    return 0x1234;
}

std::intptr_t WINAPI countingMethod(ObjectReference self) { return ++objectOf<Recorder>(self).calls; }

std::vector<std::intptr_t> sixReceived;
std::intptr_t WINAPI sixArgumentMethod(ObjectReference self, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                                       std::intptr_t d, std::intptr_t e, std::intptr_t f) {
    sixReceived = {a, b, c, d, e, f};
    return objectOf<Recorder>(self).calls;
}

const MethodAddress kMethods[] = {reinterpret_cast<MethodAddress>(&countingMethod),
                                  reinterpret_cast<MethodAddress>(&sixArgumentMethod),
                                  reinterpret_cast<MethodAddress>(&recordingProcedure)};

class WindowThunkTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder.methodTable = kMethods;
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuorvaneThunkTest";
        RegisterClassW(&windowClass);
        window = CreateWindowW(L"QuorvaneThunkTest", L"thunk", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
    }

    WNDPROC procedure() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }

    Recorder recorder;
    MethodTableObject* object = &recorder;
    HWND window = nullptr;
};

TEST_F(WindowThunkTest, WindowProcedureReachesTheObjectsMethod) {
    WindowProcedureThunk thunk;
    ASSERT_TRUE(thunk.attach(window, &object, 3));
    EXPECT_NE(procedure(), &DefWindowProcW);
    EXPECT_EQ(SendMessageW(window, kProbe, 7, -9), 0x1234);
    EXPECT_EQ(recorder.calls, 1);
    EXPECT_EQ(recorder.window, window);
    EXPECT_EQ(recorder.wParam, 7u);
    EXPECT_EQ(recorder.lParam, -9);
    // The reference is the address of a variable that holds the object.
    ASSERT_NE(recorder.self, nullptr);
    EXPECT_EQ(*recorder.self, object);
    // Messages the method passes on still work.
    EXPECT_TRUE(SetWindowTextW(window, L"renamed"));
    EXPECT_EQ(GetWindowTextLengthW(window), 7);

    thunk.detach();
    EXPECT_EQ(procedure(), &DefWindowProcW);
    SendMessageW(window, kProbe, 0, 0);
    EXPECT_EQ(recorder.calls, 1);
}

TEST_F(WindowThunkTest, ThunkForAnEmptySlotIsRefused) {
    static const MethodAddress emptyTable[] = {nullptr, nullptr, nullptr};
    Recorder empty;
    empty.methodTable = emptyTable;
    MethodTableObject* emptyObject = &empty;
    WindowProcedureThunk thunk;
    EXPECT_FALSE(thunk.attach(window, &emptyObject, 3));
    EXPECT_EQ(procedure(), &DefWindowProcW);
}

DWORD protectionAt(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(address, &info, sizeof(info)) ? info.Protect : 0;
}

LONG_PTR laterPrevious = 0;
LRESULT CALLBACK laterSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(reinterpret_cast<WNDPROC>(laterPrevious), window, message, wParam, lParam);
}

TEST_F(WindowThunkTest, ThunkReplacedByALaterSubclassForwardsToThePreviousProcedure) {
    {
        WindowProcedureThunk thunk;
        ASSERT_TRUE(thunk.attach(window, &object, 3));
        laterPrevious = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&laterSubclass));
        ASSERT_NE(laterPrevious, 0);
        EXPECT_EQ(SendMessageW(window, kProbe, 1, 1), 0x1234);
        EXPECT_EQ(protectionAt(reinterpret_cast<const void*>(laterPrevious)), static_cast<DWORD>(PAGE_EXECUTE_READ));
    }
    // The thunk's owner is gone; the later subclass still calls what was
    // the thunk, which now hands every message to the window's old procedure.
    // It was rewritten in place and is execute-read again.
    EXPECT_EQ(protectionAt(reinterpret_cast<const void*>(laterPrevious)), static_cast<DWORD>(PAGE_EXECUTE_READ));
    EXPECT_EQ(SendMessageW(window, kProbe, 2, 2), 0);
    EXPECT_TRUE(SetWindowTextW(window, L"still here"));
    EXPECT_EQ(GetWindowTextLengthW(window), 10);
    EXPECT_EQ(recorder.calls, 1);
}

TEST_F(WindowThunkTest, ThunkOfADestroyedWindowIsSimplyFreed) {
    WindowProcedureThunk thunk;
    ASSERT_TRUE(thunk.attach(window, &object, 3));
    DestroyWindow(window);
    thunk.detach();
    EXPECT_EQ(thunk.window(), nullptr);
}

TEST_F(WindowThunkTest, ThunksOfOtherArgumentCounts) {
    const ExecutableCode none(buildMethodThunk(&object, 1));
    ASSERT_FALSE(none.empty());
    using NoArguments = std::intptr_t(WINAPI*)();
    EXPECT_EQ(none.as<NoArguments>()(), 1);
    EXPECT_EQ(none.as<NoArguments>()(), 2);

    const ExecutableCode six(buildMethodThunk(&object, 2, 6));
    ASSERT_FALSE(six.empty());
    using SixArguments = std::intptr_t(WINAPI*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                                std::intptr_t, std::intptr_t);
    EXPECT_EQ(six.as<SixArguments>()(-1, 2, -3, 4, -5, 6), 2);
    EXPECT_EQ(sixReceived, (std::vector<std::intptr_t>{-1, 2, -3, 4, -5, 6}));
}

#if defined(__i386__)
// The caller's registers and FPU control word around a call of the thunk.
struct Probe {
    std::uint32_t thunk;
    std::uint32_t ebx, ecx, esi, edi;
    std::uint16_t controlWordBefore, controlWordAfter;
    std::uint32_t result;
};
static_assert(offsetof(Probe, ebx) == 4 && offsetof(Probe, edi) == 16 && offsetof(Probe, controlWordBefore) == 20 &&
              offsetof(Probe, controlWordAfter) == 22 && offsetof(Probe, result) == 24);

std::uint16_t controlWordSeen = 0;

LRESULT WINAPI clobberingProcedure(ObjectReference, HWND, UINT, WPARAM, LPARAM) {
    std::uint16_t word = 0;
    asm volatile("fnstcw %0" : "=m"(word));
    controlWordSeen = word;
    const std::uint16_t chop = 0x0C7F;
    asm volatile("fldcw %0\n\txorl %%ecx, %%ecx" : : "m"(chop) : "ecx");
    return 77;
}

TEST_F(WindowThunkTest, ThunkKeepsTheCallersRegistersAndFpuControlWord) {
    static const MethodAddress table[] = {nullptr, nullptr, reinterpret_cast<MethodAddress>(&clobberingProcedure)};
    recorder.methodTable = table;
    const ExecutableCode thunk(buildMethodThunk(&object, 3, 4));
    ASSERT_FALSE(thunk.empty());
    Probe probe{
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(thunk.address())), 0, 0, 0, 0, 0x027F, 0, 0};
    Probe* p = &probe;
    std::uint16_t callersWord = 0;
    asm volatile("fnstcw %0" : "=m"(callersWord));
    asm volatile(
        "fldcw 20(%%eax)\n\t"
        "movl $0x0B0B0B0B, %%ebx\n\t"
        "movl $0x0C0C0C0C, %%ecx\n\t"
        "movl $0x05050505, %%esi\n\t"
        "movl $0x0D0D0D0D, %%edi\n\t"
        "pushl %%eax\n\t"
        "pushl $4\n\tpushl $3\n\tpushl $2\n\tpushl $1\n\t"
        "call *(%%eax)\n\t"
        "xchgl (%%esp), %%eax\n\t"
        "movl %%ebx, 4(%%eax)\n\t"
        "movl %%ecx, 8(%%eax)\n\t"
        "movl %%esi, 12(%%eax)\n\t"
        "movl %%edi, 16(%%eax)\n\t"
        "fnstcw 22(%%eax)\n\t"
        "popl %%ecx\n\t"
        "movl %%ecx, 24(%%eax)\n\t"
        : "+a"(p)
        :
        : "ebx", "ecx", "edx", "esi", "edi", "memory", "cc");
    asm volatile("fldcw %0" : : "m"(callersWord));
    EXPECT_EQ(probe.result, 77u);
    EXPECT_EQ(probe.ebx, 0x0B0B0B0Bu);
    EXPECT_EQ(probe.ecx, 0x0C0C0C0Cu);
    EXPECT_EQ(probe.esi, 0x05050505u);
    EXPECT_EQ(probe.edi, 0x0D0D0D0Du);
    EXPECT_EQ(probe.controlWordAfter, 0x027F) << "the method's control word does not leak out";
    EXPECT_EQ(controlWordSeen, 0x037F) << "the method starts with a clean FPU";
}
#endif

}  // namespace
}  // namespace quorvane::toolkit
