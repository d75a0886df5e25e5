#pragma once
// Unpacking gzip bodies through gzip.dll in the program's folder. The program
// carries its own copy of that DLL and writes it there when it is missing.
#include "text/types.h"

#include <cstddef>
#include <optional>

namespace quorvane {

// Writes the carried gzip.dll beside the program unless one is there already.
// False when it is missing and cannot be written.
bool writeGzipDllWhenMissing();

// Every byte unpacked before the stream ended, failed or stopped making
// progress; empty when gzip.dll cannot be loaded. Nothing at all when the
// output would grow past maxOutputBytes: a small answer can unpack to
// gigabytes.
std::optional<Bytes> gunzip(const Bytes& input, std::size_t maxOutputBytes);

}  // namespace quorvane
