#pragma once
// Calls of plain code addresses with integer arguments: 32-bit values in the
// 32-bit program, 64-bit values in the 64-bit build.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

namespace quorvane::toolkit {

inline constexpr int kMaxCodeAddressArguments = 15;

// routine(arguments[0], arguments[1], ...). In the 32-bit program `cdeclRoutine`
// must match the routine's convention: the stub removes the arguments after
// a cdecl routine and trusts a stdcall one to have removed them. The 64-bit
// build has one convention and ignores it.
std::intptr_t callWithArgs(const void* routine, std::span<const std::intptr_t> arguments, bool cdeclRoutine = false);

// address(the given arguments in order, the omitted ones skipped; at most
// 15 are passed). The target starts with eax 0 and may remove its arguments
// or leave them. Its result is returned and stored in *result when given.
std::intptr_t callCodeAddress(const void* address, std::intptr_t* result = nullptr,
                              std::initializer_list<std::optional<std::intptr_t>> arguments = {});

// routine(a, b, c); the routine may take fewer arguments and remove any
// number of them.
std::intptr_t callWithThreeArgs(const void* routine, std::intptr_t a, std::intptr_t b = 0, std::intptr_t c = 0);

}  // namespace quorvane::toolkit
