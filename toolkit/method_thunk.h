#pragma once
// Method thunks: a few bytes of machine code that turn a plain call (such as
// Windows calling a window procedure) into a call of one method of one
// object. The method receives the object reference first, then the caller's
// arguments in their order, and its result is the thunk's result.
#include "toolkit/method_table.h"

#include <cstdint>
#include <vector>

namespace quorvane::toolkit {

using MachineCode = std::vector<unsigned char>;

// 256 arguments of 4 bytes.
inline constexpr int kMaxThunkArgumentBytes = 1024;

// The 32-bit thunk (stdcall in, stdcall method): keeps the caller's ebx,
// ecx, esi, edi and FPU control word and gives the method a clean FPU.
// passEcx hands the caller's ecx to the method as its second argument;
// callerCleans leaves the arguments for the caller to remove. Empty for an
// argument size outside 0 to 1024 bytes.
MachineCode x86MethodThunk(std::uint32_t object, std::uint32_t method, int argumentCount, bool passEcx,
                           bool callerCleans);

// The 64-bit thunk of the same contract in the one x64 calling convention,
// where the caller always removes the arguments and there is no ecx to pass.
MachineCode x64MethodThunk(std::uint64_t object, std::uint64_t method, int argumentCount);

// The thunk of this build for method `methodNumber` (counted from 1) of the
// object that `self` refers to; empty when that slot holds 0, for an
// argument size outside 0 to 1024 bytes, and for passEcx in the 64-bit build.
MachineCode buildMethodThunk(ObjectReference self, int methodNumber, int argumentCount = 0, bool passEcx = false,
                             bool callerCleans = false);

}  // namespace quorvane::toolkit
