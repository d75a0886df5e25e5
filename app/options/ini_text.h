#pragma once
// An INI file held as its lines, read and changed the way the private-profile
// functions treat it (sections and keys without regard to ASCII case, blanks
// around keys and values ignored), but byte for byte in GBK whatever the
// machine's code page, and written back whole by the caller.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

class IniText {
public:
    IniText() = default;
    explicit IniText(std::string_view text);

    // No value when the section or the key is missing; a key written as
    // "key=" gives the empty text.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Replaces the key's line, or adds it at the end of its section, or adds
    // the section at the end of the file.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Every line followed by CR LF.
    std::string text() const;

private:
    std::size_t findSection(std::string_view section) const;  // npos when missing
    std::size_t sectionEnd(std::size_t header) const;         // the next header or the end
    std::size_t findKey(std::size_t header, std::string_view key) const;

    std::vector<std::string> lines_;
};

}  // namespace quorvane
