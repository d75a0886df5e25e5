// Routine calls through the call stubs: the 32-bit stubs in the 32-bit
// program, the 64-bit stub in the 64-bit build.
#include "toolkit/executable_code.h"
#include "toolkit/routine_call.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace quorvane::toolkit {
namespace {

using Words = std::vector<std::intptr_t>;

Words received;

template <class... Word>
std::intptr_t WINAPI stdcallRecorder(Word... words) {
    received = {words...};
    return 1000 + static_cast<std::intptr_t>(sizeof...(Word));
}

template <class... Word>
std::intptr_t __cdecl cdeclRecorder(Word... words) {
    received = {words...};
    return 2000 + static_cast<std::intptr_t>(sizeof...(Word));
}

template <std::size_t>
using Word = std::intptr_t;

struct Recorders {
    const void* stdcallRoutine;
    const void* cdeclRoutine;
};

template <std::size_t... I>
Recorders recordersTaking(std::index_sequence<I...>) {
    return {reinterpret_cast<const void*>(&stdcallRecorder<Word<I>...>),
            reinterpret_cast<const void*>(&cdeclRecorder<Word<I>...>)};
}

template <std::size_t... Count>
std::array<Recorders, sizeof...(Count)> recordersUpTo(std::index_sequence<Count...>) {
    return {recordersTaking(std::make_index_sequence<Count>())...};
}

const auto kRecorders = recordersUpTo(std::make_index_sequence<16>());

Words firstWords(std::size_t count) {
    Words words;
    for (std::size_t i = 0; i < count; ++i) words.push_back(static_cast<std::intptr_t>(0x100 * (i + 1) + i));
    return words;
}

TEST(CallWithArgs, PassesTheArrayInOrderStdcallAndCdecl) {
    for (std::size_t count = 0; count < kRecorders.size(); ++count) {
        SCOPED_TRACE(count);
        const Words words = firstWords(count);
        received = {-1};
        EXPECT_EQ(callWithArgs(kRecorders[count].stdcallRoutine, words), 1000 + static_cast<std::intptr_t>(count));
        EXPECT_EQ(received, words);
        received = {-1};
        EXPECT_EQ(callWithArgs(kRecorders[count].cdeclRoutine, words, true), 2000 + static_cast<std::intptr_t>(count));
        EXPECT_EQ(received, words);
    }
}

TEST(CallWithArgs, KeepsTheCallersStackOverManyCalls) {
    // A stub that got the cleanup wrong would move the stack a little per
    // call; a thousand calls make that fatal.
    const Words words = firstWords(5);
    std::intptr_t total = 0;
    for (int i = 0; i < 1000; ++i) {
        total += callWithArgs(kRecorders[5].stdcallRoutine, words);
        total += callWithArgs(kRecorders[5].cdeclRoutine, words, true);
    }
    EXPECT_EQ(total, 1000 * (1005 + 2005));
}

TEST(CallCodeAddress, SkipsOmittedArgumentsAndStoresTheResult) {
    received = {};
    std::intptr_t result = -1;
    EXPECT_EQ(callCodeAddress(kRecorders[2].stdcallRoutine, &result, {11, std::nullopt, 33}), 1002);
    EXPECT_EQ(result, 1002);
    EXPECT_EQ(received, (Words{11, 33}));

    // A cdecl target leaves its arguments; the frame takes them away.
    EXPECT_EQ(callCodeAddress(kRecorders[3].cdeclRoutine, nullptr, {std::nullopt, 1, 2, 3}), 2003);
    EXPECT_EQ(received, (Words{1, 2, 3}));
    EXPECT_EQ(callCodeAddress(kRecorders[0].stdcallRoutine), 1000);
}

TEST(CallCodeAddress, PassesFifteenArgumentsAtMost) {
    const Words words = firstWords(16);
    received = {};
    EXPECT_EQ(callCodeAddress(kRecorders[15].stdcallRoutine, nullptr,
                              {words[0], words[1], words[2], words[3], words[4], words[5], words[6], words[7], words[8],
                               words[9], words[10], words[11], words[12], words[13], words[14], words[15]}),
              1015);
    EXPECT_EQ(received, Words(words.begin(), words.begin() + 15));
}

TEST(CallCodeAddress, TargetStartsWithEaxZero) {
    struct Case {
        std::vector<unsigned char> code;
        std::intptr_t result;
        const char* why;
    };
    const std::vector<Case> cases = {
        {{0xC3}, 0, "ret: the target returns the eax it started with"},
        {{0xB8, 0x2A, 0x00, 0x00, 0x00, 0xC3}, 42, "mov eax, 42; ret"},
#if defined(__i386__)
        {{0xC2, 0x08, 0x00}, 0, "ret 8: the target removes its two arguments"},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const ExecutableCode target(c.code);
        ASSERT_FALSE(target.empty());
        std::intptr_t result = -1;
        EXPECT_EQ(callCodeAddress(target.address(), &result, {7, 8}), c.result);
        EXPECT_EQ(result, c.result);
    }
}

std::intptr_t WINAPI takesOne(std::intptr_t a) {
    received = {a};
    return 1;
}

TEST(CallWithThreeArgs, RoutineMayTakeFewerOrRemoveNone) {
    received = {};
    EXPECT_EQ(callWithThreeArgs(kRecorders[3].stdcallRoutine, 0x203), 1003);
    EXPECT_EQ(received, (Words{0x203, 0, 0}));
    EXPECT_EQ(callWithThreeArgs(kRecorders[3].cdeclRoutine, 1, 2, 3), 2003);
    EXPECT_EQ(received, (Words{1, 2, 3}));
    EXPECT_EQ(callWithThreeArgs(reinterpret_cast<const void*>(&takesOne), 0x204), 1);
    EXPECT_EQ(received, (Words{0x204}));
}

const void* calledFrom = nullptr;

std::intptr_t WINAPI recordCaller(std::intptr_t, std::intptr_t, std::intptr_t) {
    calledFrom = __builtin_return_address(0);
    return 0;
}

DWORD protectionAt(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(address, &info, sizeof(info)) ? info.Protect : 0;
}

// Generated code is written first and then made execute-read: memory that is
// writable and executable at once would turn any stray write into code.
TEST(GeneratedCode, RunsFromExecuteReadMemory) {
    const auto routine = reinterpret_cast<const void*>(&recordCaller);
    const std::intptr_t three[] = {1, 2, 3};
    struct Case {
        const char* why;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"the argument-array stub", [&] { callWithArgs(routine, three); }},
        {"the code-address stub", [&] { callCodeAddress(routine, nullptr, {1, 2, 3}); }},
        {"the three-argument stub", [&] { callWithThreeArgs(routine, 1, 2, 3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        calledFrom = nullptr;
        c.call();
        ASSERT_NE(calledFrom, nullptr);
        EXPECT_EQ(protectionAt(calledFrom), static_cast<DWORD>(PAGE_EXECUTE_READ));
    }

    const std::vector<unsigned char> returnsOne = {0xB8, 0x01, 0x00, 0x00, 0x00, 0xC3};  // mov eax, 1; ret
    const std::vector<unsigned char> returnsTwo = {0xB8, 0x02, 0x00, 0x00, 0x00, 0xC3};
    ExecutableCode code(returnsOne);
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(protectionAt(code.address()), static_cast<DWORD>(PAGE_EXECUTE_READ));
    EXPECT_EQ(callCodeAddress(code.address()), 1);
    ASSERT_TRUE(code.rewrite(returnsTwo));
    EXPECT_EQ(protectionAt(code.address()), static_cast<DWORD>(PAGE_EXECUTE_READ)) << "again after a rewrite";
    EXPECT_EQ(callCodeAddress(code.address()), 2);
}

}  // namespace
}  // namespace quorvane::toolkit
