#pragma once
// How captions are laid out in their components: which ones wrap, and the
// lines of a label's text. The runtime creates and paints components by
// these rules; the test of the window templates measures captions by them.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::ui {

// Captions wrap where the component has room for two lines, or where the
// text breaks its lines itself.
bool captionWraps(int height, std::wstring_view text);

// A wrapping label's lines in the font selected into `dc`: the text's own
// line breaks, and a break wherever a line would run past `width`. Chinese
// text breaks between any two characters; a word of Latin letters and digits
// moves to the next line whole unless it fills a line alone.
std::vector<std::wstring> labelLines(HDC dc, std::wstring_view text, int width);

// The lines of a label lie one em apart, as those of 宋体 do, whatever
// leading the font that stands in for it has.
int labelLinePitch(HDC dc);

}  // namespace quorvane::ui
