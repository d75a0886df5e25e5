#pragma once
// Fetched page bytes as the system's text: zero bytes become blanks, and a page
// that does not declare itself GBK is taken as UTF-8 and converted.
#include "text/types.h"

#include <string>
#include <string_view>

namespace quorvane {

// The bytes as text, every zero byte a blank, before the charset test.
std::string spacedPageText(const Bytes& bytes);

// Only the exact spellings 'charset="gbk' and "charset=GBK" keep the bytes;
// any other page, charset=gbk and charset="GBK" included, is UTF-8.
std::string gbkPageText(std::string text);

std::string pageText(const Bytes& bytes);

}  // namespace quorvane
