#include "toolkit/gdiplus/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quorvane::toolkit::gdiplus {

IStream* MemoryStream::createFromBytes(std::span<const unsigned char> bytes, std::optional<std::size_t> size) {
    release();
    const std::size_t length = std::min(size.value_or(bytes.size()), bytes.size());
    memoryHandle_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length);
    if (!memoryHandle_) return nullptr;
    if (FAILED(CreateStreamOnHGlobal(memoryHandle_, FALSE, &streamPointer_))) {
        streamPointer_ = nullptr;
        GlobalFree(std::exchange(memoryHandle_, nullptr));
        return nullptr;
    }
    lockedPointer_ = GlobalLock(memoryHandle_);
    if (lockedPointer_ && length) std::memcpy(lockedPointer_, bytes.data(), length);
    GlobalUnlock(memoryHandle_);
    return streamPointer_;
}

void MemoryStream::release() {
    if (!streamPointer_) return;
    std::exchange(streamPointer_, nullptr)->Release();
    GlobalFree(std::exchange(memoryHandle_, nullptr));
    lockedPointer_ = nullptr;
}

std::size_t MemoryStream::getSize() const { return memoryHandle_ ? GlobalSize(memoryHandle_) : 0; }

bool MemoryStream::attachStream(IStream* stream) {
    release();
    HGLOBAL memory = nullptr;
    if (!stream || FAILED(GetHGlobalFromStream(stream, &memory))) return false;
    memoryHandle_ = memory;
    streamPointer_ = stream;
    return true;
}

std::vector<unsigned char> MemoryStream::toBytes() {
    if (!memoryHandle_ || !streamPointer_) return {};
    STATSTG status{};
    if (FAILED(streamPointer_->Stat(&status, STATFLAG_NONAME))) return {};
    const std::size_t size = std::min<std::size_t>(static_cast<std::size_t>(status.cbSize.QuadPart), getSize());
    lockedPointer_ = GlobalLock(memoryHandle_);
    if (!lockedPointer_) return {};
    const auto* data = static_cast<const unsigned char*>(lockedPointer_);
    std::vector<unsigned char> bytes(data, data + size);
    GlobalUnlock(memoryHandle_);
    return bytes;
}

}  // namespace quorvane::toolkit::gdiplus
