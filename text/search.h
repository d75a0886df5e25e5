#pragma once
// The text-search primitives everything else is built from. Positions are
// 1-based byte positions, -1 means not found, and searches step over GBK
// double-byte characters so a trail byte never matches an ASCII byte.
#include "text/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

int findLeft(std::string_view text, std::string_view sought, int start = 1, bool ignoreCase = false);
int findRight(std::string_view text, std::string_view sought, bool ignoreCase = false);

std::string leftBytes(std::string_view text, int n);
std::string rightBytes(std::string_view text, int n);
std::string middleBytes(std::string_view text, int start, int n);

// count < 0 replaces every occurrence from start on; bytes before start stay.
std::string replaceText(std::string_view text, std::string_view sought, std::string_view replacement,
                        int start = 1, int count = -1, bool caseSensitive = true);

// Empty pieces inside are kept; a trailing delimiter adds no piece.
std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);

// Removes ASCII and full-width (A1 A1) spaces from both ends.
std::string trimText(std::string_view text);

// ASCII letters only; the bytes of GBK double-byte characters stay as they are.
std::string upperText(std::string_view text);
std::string lowerText(std::string_view text);

// A byte array read as text ends at its first zero byte.
std::string bytesAsText(const Bytes& bytes);

}  // namespace quorvane
