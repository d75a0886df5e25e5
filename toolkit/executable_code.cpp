#include "toolkit/executable_code.h"

#include <windows.h>

#include <cstring>
#include <utility>

namespace quorvane::toolkit {
namespace {

// Each piece has pages of its own, so that it alone changes protection:
// written while read-write, then executable and read-only for its life.
// There are only a handful of pieces (the call stubs, one thunk per
// toolbar), so the 64 KB of address space each one reserves is no concern.
void* writeCode(std::span<const unsigned char> code) {
    void* block = VirtualAlloc(nullptr, code.size(), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!block) return nullptr;
    std::memcpy(block, code.data(), code.size());
    DWORD old = 0;
    if (!VirtualProtect(block, code.size(), PAGE_EXECUTE_READ, &old)) {
        VirtualFree(block, 0, MEM_RELEASE);
        return nullptr;
    }
    FlushInstructionCache(GetCurrentProcess(), block, code.size());
    return block;
}

void freeCode(void* block) {
    if (block) VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace

ExecutableCode::ExecutableCode(std::span<const unsigned char> code) {
    if (code.empty()) return;
    address_ = writeCode(code);
    if (address_) size_ = code.size();
}

ExecutableCode::~ExecutableCode() { freeCode(address_); }

ExecutableCode::ExecutableCode(ExecutableCode&& other) noexcept
    : address_(std::exchange(other.address_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ExecutableCode& ExecutableCode::operator=(ExecutableCode&& other) noexcept {
    if (this != &other) {
        freeCode(address_);
        address_ = std::exchange(other.address_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

bool ExecutableCode::rewrite(std::span<const unsigned char> code) {
    if (!address_ || code.size() != size_) return false;
    DWORD old = 0;
    if (!VirtualProtect(address_, size_, PAGE_READWRITE, &old)) return false;
    std::memcpy(address_, code.data(), code.size());
    const bool executable = VirtualProtect(address_, size_, PAGE_EXECUTE_READ, &old);
    FlushInstructionCache(GetCurrentProcess(), address_, size_);
    return executable;
}

}  // namespace quorvane::toolkit
