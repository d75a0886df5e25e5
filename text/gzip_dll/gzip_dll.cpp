// gzip.dll: a streaming gunzip with the entry points and results its callers
// expect: Decompress returns S_OK while the stream goes on, S_FALSE at its end
// and an error code on corrupt data.
#include <windows.h>
#include <zlib.h>

#include <new>

namespace {

constexpr int kAutoDetectGzipOrZlib = 15 + 32;

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI InitDecompression() { return S_OK; }

__declspec(dllexport) HRESULT WINAPI CreateDecompression(void** context, LONG /*flags*/) {
    if (!context) return E_POINTER;
    *context = nullptr;
    auto* stream = new (std::nothrow) z_stream{};
    if (!stream) return E_OUTOFMEMORY;
    if (inflateInit2(stream, kAutoDetectGzipOrZlib) != Z_OK) {
        delete stream;
        return E_FAIL;
    }
    *context = stream;
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI Decompress(void* context, BYTE* input, LONG inputSize, BYTE* output,
                                                LONG outputSize, LONG* inputUsed, LONG* outputUsed) {
    if (inputUsed) *inputUsed = 0;
    if (outputUsed) *outputUsed = 0;
    auto* stream = static_cast<z_stream*>(context);
    if (!stream || inputSize < 0 || outputSize < 0 || (inputSize && !input) || (outputSize && !output))
        return E_INVALIDARG;

    stream->next_in = input;
    stream->avail_in = static_cast<uInt>(inputSize);
    stream->next_out = output;
    stream->avail_out = static_cast<uInt>(outputSize);
    const int result = inflate(stream, Z_NO_FLUSH);
    if (inputUsed) *inputUsed = inputSize - static_cast<LONG>(stream->avail_in);
    if (outputUsed) *outputUsed = outputSize - static_cast<LONG>(stream->avail_out);

    switch (result) {
        case Z_STREAM_END: return S_FALSE;
        case Z_OK:
        case Z_BUF_ERROR: return S_OK;  // no progress possible: the caller sees nothing used
        default: return E_FAIL;
    }
}

__declspec(dllexport) HRESULT WINAPI DestroyDecompression(void* context) {
    auto* stream = static_cast<z_stream*>(context);
    if (stream) {
        inflateEnd(stream);
        delete stream;
    }
    return S_OK;
}

}  // extern "C"
