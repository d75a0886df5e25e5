#pragma once
// Whether an answer came as its server meant it to: what a picture download
// stores must be the picture, not an error page or the first half of one.
#include <cstddef>
#include <string_view>

namespace quorvane {

// A success status (2xx) when the raw header block starts with a status
// line, and a body of exactly the Content-Length when the block has one.
// A block without either says nothing against the answer.
bool isWholeSuccessfulAnswer(std::string_view rawHeaders, std::size_t bodyBytes);

}  // namespace quorvane
