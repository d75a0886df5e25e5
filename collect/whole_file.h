#pragma once
// Writing a file in one piece, from a GBK path.
#include <string>
#include <string_view>

namespace quorvane {

// Creates the file or replaces it whole with bytes. False when the file
// could not be created or not be written to the end; a partly written file
// is removed.
[[nodiscard]] bool writeWholeFile(const std::string& path, std::string_view bytes);

}  // namespace quorvane
