#pragma once
// Whole-file reads and writes for the program's own files. A file is replaced
// through a temporary file and a rename, so a write cut short never leaves a
// half-written file under the real name.
#include "text/types.h"

#include <string>
#include <string_view>

namespace quorvane {

// False when the file cannot be opened or read; bytes are then empty.
[[nodiscard]] bool readFileBytes(const std::wstring& path, Bytes& bytes);

[[nodiscard]] bool replaceFileContent(const std::wstring& path, std::string_view content);

// Writes content only when no file of that name exists; an existing file is
// never touched. True when the file exists afterwards.
[[nodiscard]] bool createFileWhenMissing(const std::wstring& path, std::string_view content);

[[nodiscard]] bool fileExists(const std::wstring& path);

// The program's folder + "options\" (settings and category caches).
std::wstring optionsFolder();
std::wstring optionsFilePath();

}  // namespace quorvane
