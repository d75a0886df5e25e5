#pragma once
// A block of movable global memory with a COM stream on it: how bytes in
// memory reach GDI+'s stream functions. Not a GDI+ object: it keeps no
// Status.
#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace quorvane::toolkit::gdiplus {

class MemoryStream {
public:
    MemoryStream() = default;
    ~MemoryStream() { release(); }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    // Releases what the stream held, then copies the bytes (the first
    // `size` of them when given) into a new block with a stream on it.
    // The stream, or nullptr when no memory was left.
    IStream* createFromBytes(std::span<const unsigned char> bytes, std::optional<std::size_t> size = std::nullopt);
    void release();
    std::size_t getSize() const;  // of the memory block
    IStream* getStream() const { return streamPointer_; }
    HGLOBAL getHandle() const { return memoryHandle_; }
    // Takes over a stream on global memory; false when it has none.
    bool attachStream(IStream* stream);
    // What the stream holds: its own size, which may be less than the block's.
    std::vector<unsigned char> toBytes();

private:
    HGLOBAL memoryHandle_ = nullptr;
    void* lockedPointer_ = nullptr;
    IStream* streamPointer_ = nullptr;
};

}  // namespace quorvane::toolkit::gdiplus
