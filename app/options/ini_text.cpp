#include "app/options/ini_text.h"

#include "text/search.h"

namespace quorvane {

namespace {

constexpr std::size_t npos = std::string::npos;

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[k]) != fold(b[k])) return false;
    }
    return true;
}

// The name of a "[name]" line; no value for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(line);
    if (!line.starts_with('[')) return {};
    const int close = findLeft(line, "]", 2);
    return trimBlanks(line.substr(1, close == -1 ? npos : static_cast<std::size_t>(close) - 2));
}

struct KeyLine {
    std::string_view key, value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
    const std::string_view trimmed = trimBlanks(line);
    if (trimmed.starts_with(';')) return {};
    const int equals = findLeft(line, "=");
    if (equals == -1) return {};
    std::string_view value = trimBlanks(line.substr(static_cast<std::size_t>(equals)));
    // A value in matching quotes is given without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return KeyLine{trimBlanks(line.substr(0, static_cast<std::size_t>(equals) - 1)), value};
}

}  // namespace

IniText::IniText(std::string_view text) {
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines_.emplace_back(line);
        from = end + 1;
    }
}

std::size_t IniText::findSection(std::string_view section) const {
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        const auto name = sectionName(lines_[k]);
        if (name && sameName(*name, section)) return k;
    }
    return npos;
}

std::size_t IniText::sectionEnd(std::size_t header) const {
    std::size_t k = header + 1;
    while (k < lines_.size() && !sectionName(lines_[k])) ++k;
    return k;
}

std::size_t IniText::findKey(std::size_t header, std::string_view key) const {
    const std::size_t end = sectionEnd(header);
    for (std::size_t k = header + 1; k < end; ++k) {
        const auto entry = keyLine(lines_[k]);
        if (entry && sameName(entry->key, key)) return k;
    }
    return npos;
}

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const {
    const std::size_t header = findSection(section);
    if (header == npos) return {};
    const std::size_t line = findKey(header, key);
    if (line == npos) return {};
    return std::string(keyLine(lines_[line])->value);
}

void IniText::setValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string entry(key);
    entry.append("=").append(value);
    const std::size_t header = findSection(section);
    if (header == npos) {
        std::string sectionLine("[");
        lines_.push_back(sectionLine.append(section).append("]"));
        lines_.push_back(std::move(entry));
        return;
    }
    if (const std::size_t line = findKey(header, key); line != npos) {
        lines_[line] = std::move(entry);
        return;
    }
    // After the section's last non-blank line, so a blank line before the
    // next section stays where it was.
    std::size_t at = sectionEnd(header);
    while (at > header + 1 && trimBlanks(lines_[at - 1]).empty()) --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

std::string IniText::text() const {
    std::string text;
    for (const auto& line : lines_) text.append(line).append("\r\n");
    return text;
}

}  // namespace quorvane
