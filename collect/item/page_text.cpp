#include "collect/item/page_text.h"

#include "text/codepage.h"
#include "text/search.h"

namespace quorvane {

std::string spacedPageText(const Bytes& bytes) {
    std::string text(bytes.begin(), bytes.end());
    for (char& c : text)
        if (c == '\0') c = ' ';
    return text;
}

std::string gbkPageText(std::string text) {
    if (findLeft(text, "charset=GBK") == -1 && findLeft(text, "charset=\"gbk") == -1) return utf8TextToGbk(text);
    return text;
}

std::string pageText(const Bytes& bytes) { return gbkPageText(spacedPageText(bytes)); }

}  // namespace quorvane
