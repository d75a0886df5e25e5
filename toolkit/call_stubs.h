#pragma once
// The constant call stubs, as machine code. They are data in every build;
// routine_call.h runs the ones of the build's own processor.
#include <array>

namespace quorvane::toolkit {

// 32-bit, stdcall (routine, argument array, count, cdecl flag): pushes the
// array's elements from the last to the first, calls the routine, removes
// count × 4 bytes after it when the flag is set, returns its eax.
extern const std::array<unsigned char, 69> kX86ArgumentArrayStub;

// 32-bit, stdcall (routine, a, b, c): calls routine(a, b, c) and returns its
// eax; the frame restores the stack, whatever the routine removed.
extern const std::array<unsigned char, 19> kX86ThreeArgumentStub;

// 32-bit, stdcall (routine, argument array, count): like the argument-array
// stub, but eax is 0 when the routine starts and the stack is restored from
// the frame, so the routine may remove its arguments or leave them.
extern const std::array<unsigned char, 40> kX86CodeAddressStub;

// 64-bit (routine, argument array of 8-byte values, count): the first four
// in rcx, rdx, r8, r9, the rest above the shadow space; eax is 0 when the
// routine starts and the stack is restored from the frame.
extern const std::array<unsigned char, 83> kX64CallStub;

}  // namespace quorvane::toolkit
