#pragma once
// Whole-file reads and writes for the program's own files, by wide path.
#include "text/types.h"

#include <string>
#include <string_view>

namespace quorvane {

// The folder of the running program, ending in a backslash.
std::wstring programFolder();

[[nodiscard]] bool fileExists(const std::wstring& path);

// Creates the folder unless it exists; a trailing "\" is allowed (Wine
// refuses one in the call itself). True when the folder exists afterwards.
bool createFolder(std::wstring path);

// False when the file cannot be opened or read; bytes are then empty.
[[nodiscard]] bool readFileBytes(const std::wstring& path, Bytes& bytes);

// Creates the file or replaces it whole. False when it could not be created
// or written to the end; a partly written file is removed.
[[nodiscard]] bool writeWholeFile(const std::wstring& path, std::string_view content);

// Whether a write waits until its bytes are on the disk: the user's own files
// do; a file that can be fetched again (a picture) need not, and the wait
// costs a disk flush per file.
enum class FileFlush { ToDisk, Cached };

// Through a temporary file and a rename, so that a write cut short never
// leaves a half-written file under the real name.
[[nodiscard]] bool replaceFileContent(const std::wstring& path, std::string_view content,
                                      FileFlush flush = FileFlush::ToDisk);

// replaceFileContent for a file that other threads may write with the same
// bytes at the same moment: when the rename fails, a file that already holds
// exactly content counts as written.
[[nodiscard]] bool storeFileContent(const std::wstring& path, std::string_view content,
                                    FileFlush flush = FileFlush::ToDisk);

// Writes content only when no file of that name exists; an existing file is
// never touched. True when the file exists afterwards.
[[nodiscard]] bool createFileWhenMissing(const std::wstring& path, std::string_view content);

}  // namespace quorvane
