#include "toolkit/executable_code.h"

#include <windows.h>

#include <cstring>
#include <utility>

namespace quorvane::toolkit {
namespace {

// One growable heap of executable pages for all the small pieces of code.
HANDLE codeHeap() {
    static const HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    return heap;
}

}  // namespace

ExecutableCode::ExecutableCode(std::span<const unsigned char> code) {
    if (code.empty() || !codeHeap()) return;
    address_ = HeapAlloc(codeHeap(), 0, code.size());
    if (!address_) return;
    size_ = code.size();
    std::memcpy(address_, code.data(), code.size());
    FlushInstructionCache(GetCurrentProcess(), address_, size_);
}

ExecutableCode::~ExecutableCode() {
    if (address_) HeapFree(codeHeap(), 0, address_);
}

ExecutableCode::ExecutableCode(ExecutableCode&& other) noexcept
    : address_(std::exchange(other.address_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ExecutableCode& ExecutableCode::operator=(ExecutableCode&& other) noexcept {
    if (this != &other) {
        if (address_) HeapFree(codeHeap(), 0, address_);
        address_ = std::exchange(other.address_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

bool ExecutableCode::rewrite(std::span<const unsigned char> code) {
    if (!address_ || code.size() != size_) return false;
    std::memcpy(address_, code.data(), code.size());
    FlushInstructionCache(GetCurrentProcess(), address_, size_);
    return true;
}

}  // namespace quorvane::toolkit
