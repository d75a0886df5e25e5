#include "app/runtime/caption_layout.h"

#include <algorithm>

namespace quorvane::ui {
namespace {

// Two lines of the 12-pixel interface font and a frame.
constexpr int kTwoLineHeight = 30;

bool inWord(wchar_t c) { return c > L' ' && c < 0x80; }

void breakParagraph(HDC dc, std::wstring_view paragraph, int width, std::vector<std::wstring>& lines) {
    if (paragraph.empty()) {
        lines.emplace_back();
        return;
    }
    while (!paragraph.empty()) {
        int fit = 0;
        SIZE size{};
        GetTextExtentExPointW(dc, paragraph.data(), static_cast<int>(paragraph.size()), std::max(width, 0), &fit,
                              nullptr, &size);
        // At least one character a line, or a narrow label would never end.
        size_t cut = std::clamp<size_t>(static_cast<size_t>(std::max(fit, 0)), 1, paragraph.size());
        if (cut < paragraph.size() && inWord(paragraph[cut - 1]) && inWord(paragraph[cut])) {
            size_t start = cut - 1;
            while (start > 0 && inWord(paragraph[start - 1])) --start;
            if (start > 0) cut = start;
        }
        std::wstring_view line = paragraph.substr(0, cut);
        while (!line.empty() && line.back() == L' ') line.remove_suffix(1);
        lines.emplace_back(line);
        paragraph.remove_prefix(cut);
        while (!paragraph.empty() && paragraph.front() == L' ') paragraph.remove_prefix(1);
    }
}

}  // namespace

bool captionWraps(int height, std::wstring_view text) {
    return height >= kTwoLineHeight || text.find(L'\n') != std::wstring_view::npos;
}

std::vector<std::wstring> labelLines(HDC dc, std::wstring_view text, int width) {
    std::vector<std::wstring> lines;
    while (true) {
        const size_t end = text.find(L'\n');
        std::wstring_view paragraph = text.substr(0, end);
        if (!paragraph.empty() && paragraph.back() == L'\r') paragraph.remove_suffix(1);
        breakParagraph(dc, paragraph, width, lines);
        if (end == std::wstring_view::npos) return lines;
        text.remove_prefix(end + 1);
    }
}

int labelLinePitch(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight - metrics.tmInternalLeading;
}

}  // namespace quorvane::ui
