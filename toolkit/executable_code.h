#pragma once
// Machine code copied into memory that may be executed: the process runs with
// no-execute protection, so code in a plain heap block faults when called.
// The code is written first and then made execute-read: no page of
// generated code is ever writable and executable at once.
#include <cstddef>
#include <span>

namespace quorvane::toolkit {

class ExecutableCode {
public:
    ExecutableCode() = default;
    // Empty (no address) when the code is empty or no memory is left.
    explicit ExecutableCode(std::span<const unsigned char> code);
    ~ExecutableCode();
    ExecutableCode(ExecutableCode&& other) noexcept;
    ExecutableCode& operator=(ExecutableCode&& other) noexcept;
    ExecutableCode(const ExecutableCode&) = delete;
    ExecutableCode& operator=(const ExecutableCode&) = delete;

    void* address() const { return address_; }
    std::size_t size() const { return size_; }
    bool empty() const { return !address_; }

    // Overwrites the code in place with code of the same size. Its page is
    // not executable meanwhile, so only the thread that alone runs the code
    // (a window's own thread) may do this.
    [[nodiscard]] bool rewrite(std::span<const unsigned char> code);

    template <class Function>
    Function as() const {
        return reinterpret_cast<Function>(address_);
    }

    // Forgets the block without freeing it, for code that something may
    // still call until the process ends.
    void release() {
        address_ = nullptr;
        size_ = 0;
    }

private:
    void* address_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace quorvane::toolkit
