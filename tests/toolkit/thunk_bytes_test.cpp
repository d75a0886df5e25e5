// The machine code that the thunk builder writes and the constant call
// stubs, byte for byte. These are data in every build; running them is the
// business of the call tests.
#include "toolkit/call_stubs.h"
#include "toolkit/method_thunk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane::toolkit {
namespace {

using Code = std::vector<unsigned char>;

Code hex(const std::string& text) {
    std::istringstream in(text);
    Code code;
    std::string byte;
    while (in >> byte) code.push_back(static_cast<unsigned char>(std::stoul(byte, nullptr, 16)));
    return code;
}

template <std::size_t N>
Code codeOf(const std::array<unsigned char, N>& stub) {
    return Code(stub.begin(), stub.end());
}

Code tail(const Code& code, std::size_t n) { return Code(code.end() - static_cast<std::ptrdiff_t>(n), code.end()); }

constexpr std::uint32_t kObject = 0x11223344;
constexpr std::uint32_t kMethod = 0x55667788;

TEST(X86MethodThunk, WindowProcedureThunkIsTheWholeTable) {
    const Code expected =
        hex("55  8B EC  68 44 33 22 11  53  51  56  57  6A 00  D9 3C 24  DB E3"
            "  B9 10 00 00 00  2B E1  8D 75 08  8D 3C 24  FC  F3 A4  8B 4D F4  8B 75 F0  8B 7D EC"
            "  8D 45 FC  50  B8 88 77 66 55  FF D0  8B 5D F8  8B 4D F4  8B 75 F0  8B 7D EC"
            "  D9 6D E8  8B E5  5D  C2 10 00");
    EXPECT_EQ(expected.size(), 76u);
    EXPECT_EQ(x86MethodThunk(kObject, kMethod, 4, false, false), expected);
}

TEST(X86MethodThunk, ArgumentCountAndOptionsShapeTheThunk) {
    const Code copyPieces = hex("2B E1  8D 75 08  8D 3C 24  FC  F3 A4  8B 4D F4  8B 75 F0  8B 7D EC");
    struct Case {
        int argumentCount;
        bool passEcx;
        bool callerCleans;
        std::size_t size;
        Code ret;
        const char* why;
    };
    const Case cases[] = {
        {4, false, false, 76, hex("C2 10 00"), "the window procedure: the thunk removes 16 bytes"},
        {4, false, true, 76, hex("C2 00 00"), "the caller removes the arguments"},
        {4, true, false, 77, hex("C2 10 00"), "pass-ecx adds one push"},
        {0, false, false, 51, hex("C2 00 00"), "no arguments: no copy pieces"},
        {0, true, true, 52, hex("C2 00 00"), "no arguments, pass-ecx"},
        {1, false, false, 76, hex("C2 04 00"), "one argument"},
        {256, false, false, 76, hex("C2 00 04"), "1024 bytes is the largest size accepted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const Code code = x86MethodThunk(kObject, kMethod, c.argumentCount, c.passEcx, c.callerCleans);
        ASSERT_EQ(code.size(), c.size);
        EXPECT_EQ(tail(code, 3), c.ret);
        const bool hasCopy = std::search(code.begin(), code.end(), copyPieces.begin(), copyPieces.end()) != code.end();
        EXPECT_EQ(hasCopy, c.argumentCount > 0);
        // The object reference is pushed right after the optional ecx push.
        const std::size_t referencePush = c.size - 32;
        EXPECT_EQ(Code(code.begin() + referencePush, code.begin() + referencePush + 4), hex("8D 45 FC 50"));
        EXPECT_EQ(code[referencePush - 1] == 0x51, c.passEcx);
        if (c.argumentCount > 0) {
            const auto n = static_cast<std::uint32_t>(c.argumentCount * 4);
            EXPECT_EQ(Code(code.begin() + 19, code.begin() + 24),
                      (Code{0xB9, static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8), 0, 0}));
        }
    }
}

TEST(X86MethodThunk, ArgumentSizesOutsideTheLimitGiveNoThunk) {
    EXPECT_TRUE(x86MethodThunk(kObject, kMethod, 257, false, false).empty());
    EXPECT_TRUE(x86MethodThunk(kObject, kMethod, -1, false, false).empty());
}

TEST(X64MethodThunk, RegisterArgumentsMoveUpOnePlace) {
    const Code expected =
        hex("48 81 EC 38 00 00 00"  // sub rsp, 0x38
            "  4C 89 4C 24 20  4D 89 C1  49 89 D0  48 89 CA"
            "  48 B8 88 77 66 55 44 33 22 11"  // mov rax, obj
            "  48 89 84 24 28 00 00 00  48 8D 8C 24 28 00 00 00"
            "  48 B8 00 FF EE DD CC BB AA 99  FF D0  48 81 C4 38 00 00 00  C3");
    EXPECT_EQ(x64MethodThunk(0x1122334455667788, 0x99AABBCCDDEEFF00, 4), expected);
}

TEST(X64MethodThunk, StackArgumentsAreCopiedAndTheFrameStaysAligned) {
    struct Case {
        int argumentCount;
        std::uint32_t frame;
        int stackCopies;
    };
    const Case cases[] = {{0, 0x28, 0}, {3, 0x28, 0}, {4, 0x38, 0}, {5, 0x38, 1}, {6, 0x48, 2}, {256, 0x818, 252}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argumentCount);
        const Code code = x64MethodThunk(1, 2, c.argumentCount);
        ASSERT_FALSE(code.empty());
        EXPECT_EQ(c.frame % 16, 8u) << "rsp is 8 off a 16-byte boundary at entry";
        EXPECT_EQ(Code(code.begin(), code.begin() + 7), (Code{0x48, 0x81, 0xEC, static_cast<unsigned char>(c.frame),
                                                              static_cast<unsigned char>(c.frame >> 8), 0, 0}));
        int copies = 0;
        for (std::size_t i = 7; i + 16 <= code.size() && code[i] == 0x48 && code[i + 1] == 0x8B; i += 16) {
            const std::uint32_t from = code[i + 4] | code[i + 5] << 8;
            const std::uint32_t to = code[i + 12] | code[i + 13] << 8;
            const int argument = c.argumentCount - 1 - copies;
            EXPECT_EQ(from, c.frame + 8 + 8 * argument) << "the caller's slot of argument " << argument;
            EXPECT_EQ(to, 8u * (argument + 1)) << "the method's slot of argument " << argument;
            ++copies;
        }
        EXPECT_EQ(copies, c.stackCopies);
        EXPECT_EQ(code.back(), 0xC3);
    }
    EXPECT_TRUE(x64MethodThunk(1, 2, 257).empty());
    EXPECT_TRUE(x64MethodThunk(1, 2, -1).empty());
}

struct Holder : MethodTableObject {};

TEST(BuildMethodThunk, TakesTheMethodFromTheObjectsTable) {
    static const int method3 = 0;
    const MethodAddress table[] = {nullptr, nullptr, &method3};
    Holder holder;
    holder.methodTable = table;
    MethodTableObject* object = &holder;
    const ObjectReference self = &object;
    const auto objectAddress = reinterpret_cast<std::uintptr_t>(object);
    const auto methodAddress = reinterpret_cast<std::uintptr_t>(&method3);
#if defined(__i386__)
    EXPECT_EQ(buildMethodThunk(self, 3, 4), x86MethodThunk(objectAddress, methodAddress, 4, false, false));
    EXPECT_EQ(buildMethodThunk(self, 3, 4, true, true), x86MethodThunk(objectAddress, methodAddress, 4, true, true));
#else
    EXPECT_EQ(buildMethodThunk(self, 3, 4), x64MethodThunk(objectAddress, methodAddress, 4));
    EXPECT_TRUE(buildMethodThunk(self, 3, 4, true).empty()) << "no ecx to pass in the 64-bit convention";
#endif
    EXPECT_TRUE(buildMethodThunk(self, 1, 4).empty()) << "slot 0 holds 0";
    EXPECT_TRUE(buildMethodThunk(self, 0, 4).empty()) << "method numbers count from 1";
    EXPECT_TRUE(buildMethodThunk(self, 3, 257).empty());
}

TEST(CallStubs, ConstantStubsAreTheTablesBytes) {
    EXPECT_EQ(codeOf(kX86ArgumentArrayStub),
              hex("55 8B EC 56 8B 75 10 8D 4E FF 85 C9 7C 15 8B 45 0C 8D 04 88 41 8B 10 89 55 10 FF 75 10 83 E8 04 49"
                  " 75 F2 FF 55 08 89 45 0C 8B 45 14 85 C0 74 0D 8D 04 B5 00 00 00 00 89 45 10 03 65 10 8B 45 0C 5E"
                  " 5D C2 10 00"));
    EXPECT_EQ(codeOf(kX86ThreeArgumentStub), hex("55 8B EC FF 75 14 FF 75 10 FF 75 0C FF 55 08 C9 C2 10 00"));
}

TEST(CallStubs, CodeAddressStubsRestoreTheStackFromTheFrame) {
    // eax is cleared right before the call, and esp / rsp comes back from
    // ebp / rbp right after it, whatever the target removed.
    const Code x86 = codeOf(kX86CodeAddressStub);
    EXPECT_EQ(Code(x86.end() - 14, x86.end()), hex("33 C0  FF 55 08  8D 65 F8  5F 5E 5D  C2 0C 00"));
    const Code x64 = codeOf(kX64CallStub);
    EXPECT_EQ(Code(x64.end() - 13, x64.end()), hex("31 C0  41 FF D2  48 8D 65 F0  5F 5E 5D  C3"));
}

}  // namespace
}  // namespace quorvane::toolkit
