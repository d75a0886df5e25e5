#include "collect/picture_references.h"

#include "text/search.h"

namespace quorvane {
namespace {

constexpr DescriptionPicturePass kPasses[] = {
    {R"re(<IMG .*?src=""http://(.*?)".*?>)re", PictureText::Description, "\"", true, false},
    {R"re(\<img\>http://(.*?)\<\/img\>)re", PictureText::WirelessDescription, "</img>", false, false},
    {R"re(background=""http://(.*?)"")re", PictureText::Description, "\"\"", true, true},
};

}  // namespace

std::span<const DescriptionPicturePass> descriptionPicturePasses() { return kPasses; }

std::vector<std::string> pictureAddresses(std::string_view text, const DescriptionPicturePass& pass, RegExpA& regExp) {
    regExp.create(pass.pattern);
    const int count = regExp.execute(text);
    std::vector<std::string> addresses;
    for (int i = 1; i <= count; ++i) addresses.push_back(regExp.subMatchText(i, 1));
    return addresses;
}

std::string replacePictureAddress(std::string_view text, std::string_view address, std::string_view closing,
                                  std::string_view replacement) {
    const std::string sought = "http://" + std::string(address);
    std::string result;
    std::size_t copied = 0;
    for (int at = findLeft(text, sought, 1, true); at != -1;) {
        const std::size_t start = static_cast<std::size_t>(at - 1);
        const std::size_t end = start + sought.size();
        const bool whole = findLeft(text.substr(end, closing.size()), closing, 1, true) == 1;
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
