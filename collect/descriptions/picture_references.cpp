#include "collect/descriptions/picture_references.h"

#include "collect/item/page_parts.h"
#include "text/search.h"

#include <cctype>

namespace quorvane {
namespace {

constexpr std::string_view kImgSequence[] = {R"(src=""http://)", "\"", ">"};
constexpr std::string_view kWirelessSequence[] = {"</img>"};
constexpr std::string_view kBackgroundSequence[] = {R"("")"};

constexpr DescriptionPicturePass kPasses[] = {
    {R"re(<IMG .*?src=""http://(.*?)".*?>)re", "<IMG ", kImgSequence, PictureText::Description, true, false},
    {R"re(\<img\>http://(.*?)\<\/img\>)re", "<img>http://", kWirelessSequence, PictureText::WirelessDescription, false,
     false},
    {R"re(background=""http://(.*?)"")re", R"(background=""http://)", kBackgroundSequence, PictureText::Description,
     true, true},
};

// Letters, digits, the marks an address's parts are written with, and the
// bytes of double-byte characters (a path may name a file in Chinese).
// Quotes, brackets, blanks and "<" ">" close an address in page text.
bool belongsToAddress(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || std::isalnum(byte)) return true;
    return std::string_view("-._~:/?#[]@!$&*+,;=%").find(c) != std::string_view::npos;
}

}  // namespace

std::span<const DescriptionPicturePass> descriptionPicturePasses() { return kPasses; }

std::vector<std::string> pictureAddresses(std::string_view text, const DescriptionPicturePass& pass, RegExpA& regExp) {
    regExp.create(pass.pattern);
    const int count = regExp.execute(piecesText(text, pass.start, pass.sequence));
    std::vector<std::string> addresses;
    for (int i = 1; i <= count; ++i) addresses.push_back(regExp.subMatchText(i, 1));
    return addresses;
}

std::string replacePictureAddress(std::string_view text, std::string_view address, std::string_view replacement) {
    const std::string sought = "http://" + std::string(address);
    std::string result;
    std::size_t copied = 0;
    for (int at = findLeft(text, sought, 1, true); at != -1;) {
        const std::size_t start = static_cast<std::size_t>(at - 1);
        const std::size_t end = start + sought.size();
        const bool whole = end == text.size() || !belongsToAddress(text[end]);
        if (whole) {
            result.append(text.substr(copied, start - copied)).append(replacement);
            copied = end;
        }
        const std::size_t next = whole ? end : start + 1;
        at = next < text.size() ? findLeft(text, sought, static_cast<int>(next) + 1, true) : -1;
    }
    return result.append(text.substr(copied));
}

}  // namespace quorvane
