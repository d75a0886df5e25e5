#pragma once
#include <string>
#include <string_view>

namespace quorvane {

// Decodes the "\u" escapes (and, like JScript's unescape, the "%xx" ones) of
// a text through the JScript engine of "ScriptControl"; CRLFs and
// apostrophes come back as they were. "" when the engine cannot be had or
// the script fails. COM must be initialised on the calling thread.
std::string decodeUnicodeEscapes(std::string_view text);

}  // namespace quorvane
