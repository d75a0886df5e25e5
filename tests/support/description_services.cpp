#include "tests/support/description_services.h"

#include "tests/support/fixtures.h"

#include <algorithm>

namespace quorvane::test {

const MarketplaceItem kPictureTrialItem{"527018364909", "picture_trial_item.html", ""};

namespace {

constexpr ServedPicture kPictures[] = {
    {"img.example-mall.cn/bao/nuanyang/main_1.jpg", "nuanyang_main_1.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/bao/nuanyang/main_gone.jpg", "", PictureKind::Missing},
    {"img.example-mall.cn/bao/nuanyang/main_3.png", "nuanyang_main_3.png", PictureKind::Fixture},
    {"img.example-mall.cn/bao/nuanyang/swatch_black.jpg", "nuanyang_swatch_black.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/bao/nuanyang/swatch_navy.gif", "nuanyang_swatch_navy.gif", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i1/nuanyang/desc_1.jpg", "nuanyang_desc_1.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i3/nuanyang/desc_2.png", "nuanyang_desc_2.png", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i2/nuanyang/desc_bg.gif", "nuanyang_desc_bg.gif", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i1/nuanyang/w_1.jpg", "nuanyang_w_1.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i1/nuanyang/w_2.gif", "nuanyang_w_2.gif", PictureKind::Fixture},
    {"img.example-mall.cn/bao/qingyu/main_1.jpg", "qingyu_main_1.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/bao/qingyu/main_2.png", "qingyu_main_2.png", PictureKind::Fixture},
    {"img.example-mall.cn/bao/qingyu/main_3.gif", "qingyu_main_3.gif", PictureKind::Fixture},
    {"img.example-mall.cn/bao/qingyu/swatch_black.jpg", "qingyu_swatch_black.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/bao/qingyu/swatch_blue.png", "qingyu_swatch_blue.png", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i4/qingyu/d_1.jpg", "qingyu_d_1.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i4/qingyu/d_1.jpg_60x60.jpg", "qingyu_d_1.jpg_60x60.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i4/qingyu/d_bg.png", "qingyu_d_bg.png", PictureKind::Fixture},
    {"img.example-mall.cn/imgextra/i4/qingyu/w_1.png", "qingyu_w_1.png", PictureKind::Fixture},
    {"img.example-mall.cn/trial/ok.jpg", "trial_ok.jpg", PictureKind::Fixture},
    {"img.example-mall.cn/trial/blank.gif", "", PictureKind::Blank},
    {"img.example-mall.cn/trial/gone.jpg", "", PictureKind::Missing},
    {"img.example-mall.cn/trial/empty.jpg", "", PictureKind::Empty},
    {"img.example-mall.cn/trial/slow.jpg", "trial_slow.jpg", PictureKind::Slow},
    {"img.example-mall.cn/trial/sniffless.jpg", "trial_fallback.jpg", PictureKind::Sniffless},
    {"img.example-mall.cn/trial/bg_gone.gif", "", PictureKind::Missing},
    {"img.example-mall.cn/trial/w_gone.jpg", "", PictureKind::Missing},
};

// The items with a description of their own, by id: the Tmall item's comes
// from its description page.
struct Description {
    const char* itemId;
    const char* description;  // under descriptions/, or "" for none
    const char* wireless;
};
constexpr Description kDescriptions[] = {
    {"527018364901", "wdesc_527018364901.txt", "mdesc_527018364901.txt"},
    {"541236987012", "", "mdesc_541236987012.txt"},
    {"527018364909", "wdesc_527018364909.txt", "mdesc_527018364909.txt"},
};

// What the marketplace's picture servers send in place of a missing picture.
constexpr unsigned char kBlank[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x91, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x21,
                                    0xf9, 0x04, 0x01, 0x00, 0x00, 0x02, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x01,
                                    0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x54, 0x01, 0x00, 0x3b};
// A JPEG 2000 signature: no type the program knows.
constexpr char kSniffless[] = "\x00\x00\x00\x0cjP  \r\n\x87\n";

// The program's WinINet requests carry this agent; its COM requests another.
constexpr std::string_view kWinInetAgentMark = "MSIE 6.0";

std::string descriptionFile(const std::string& name) { return fixtureText("marketplace/descriptions/" + name); }

Answer withType(std::string body, std::string_view type) {
    return okAnswer(std::move(body), {"Content-Type: " + std::string(type)});
}

Answer missing(std::string body) {
    Answer answer;
    answer.status = 404;
    answer.reason = "Not Found";
    answer.headerLines = {"Content-Type: text/html"};
    answer.body = std::move(body);
    return answer;
}

std::string itemIdOf(const RecordedRequest& request) {
    const auto mark = request.target.find('?');
    return mark == std::string::npos ? std::string() : formValue(request.target.substr(mark + 1), "id");
}

const Description* descriptionOf(std::string_view id) {
    for (const Description& description : kDescriptions)
        if (id == description.itemId) return &description;
    return nullptr;
}

Answer pictureAnswer(const ServedPicture& picture, const RecordedRequest& request) {
    switch (picture.kind) {
    case PictureKind::Fixture: return withType(pictureFileBytes(picture), "image/jpeg");
    case PictureKind::Missing:
        return missing("<html><head><title>404 Not Found</title></head><body>404 Not Found</body></html>");
    case PictureKind::Blank: return withType(std::string(std::begin(kBlank), std::end(kBlank)), "image/gif");
    case PictureKind::Empty: return withType("", "image/jpeg");
    case PictureKind::Slow: {
        Answer answer = withType(pictureFileBytes(picture), "image/jpeg");
        answer.trickleBytes = 16;
        answer.trickleGap = std::chrono::milliseconds(1000);
        return answer;
    }
    case PictureKind::Sniffless:
        if (request.header("User-Agent").find(kWinInetAgentMark) != std::string::npos)
            return withType(pictureFileBytes(picture), "image/jpeg");
        return withType(std::string(kSniffless, sizeof kSniffless - 1), "application/octet-stream");
    }
    return missing("404");
}

std::string pathOf(std::string_view address) { return std::string(address.substr(address.find('/'))); }

std::string loadAddress(int number) { return std::string(kPictureHost) + "/load/p" + std::to_string(number) + ".jpg"; }

// The descriptions of a load of `count` pictures, each answered by `answer`.
void scriptLoad(LoopbackServer& server, const std::function<Answer(Answer)>& finish, int count,
                const std::function<Answer(int number)>& answer) {
    std::string images;
    for (int i = 1; i <= count; ++i) images += "<img src=\"//" + loadAddress(i) + "\">";
    const std::string description = "var d = {\r\n    tfsContent : '<p>" + images + "</p>',\r\n};\r\n";
    const std::string tmallDescription = "var desc='<p>" + images + "</p>';\r\n";
    server.script(std::string(kDescriptionPath), [finish, description](const RecordedRequest&) {
        return finish(withType(description, "text/javascript;charset=GBK"));
    });
    server.script(std::string(kTmallDescriptionPath), [finish, tmallDescription](const RecordedRequest&) {
        return finish(withType(tmallDescription, "text/javascript;charset=GBK"));
    });
    for (int i = 1; i <= count; ++i) {
        server.script(pathOf(loadAddress(i)),
                      [finish, picture = answer(i)](const RecordedRequest&) { return finish(picture); });
    }
}

}  // namespace

std::string loadPicture(int number, std::size_t bytes) {
    std::string data = "\xFF\xD8\xFF\xE0" + std::to_string(number) + ";";
    data.resize(std::max(bytes, data.size()), 'q');
    return data;
}

std::span<const ServedPicture> servedPictures() { return kPictures; }

const ServedPicture* servedPicture(std::string_view address) {
    for (const ServedPicture& picture : kPictures)
        if (address == picture.address) return &picture;
    return nullptr;
}

std::string pictureFileBytes(const ServedPicture& picture) {
    return fixtureText("marketplace/pictures/" + std::string(picture.file));
}

void scriptDescriptionServices(LoopbackServer& server, const std::function<Answer(Answer)>& finish) {
    server.script(std::string(kDescriptionPath), [finish](const RecordedRequest& request) {
        const Description* description = descriptionOf(itemIdOf(request));
        if (!description || !*description->description) return finish(missing("no such item"));
        return finish(withType(descriptionFile(description->description), "text/javascript;charset=GBK"));
    });
    server.script(std::string(kWirelessDescriptionPath), [finish](const RecordedRequest& request) {
        const Description* description = descriptionOf(itemIdOf(request));
        if (!description) return finish(missing("no such item"));
        return finish(withType(descriptionFile(description->wireless), "application/json;charset=GBK"));
    });
    server.script(std::string(kTmallDescriptionPath), [finish](const RecordedRequest&) {
        return finish(withType(descriptionFile("tmall_desc_541236987012.txt"), "text/javascript;charset=GBK"));
    });
    for (const ServedPicture& picture : kPictures) {
        server.script(pathOf(picture.address), [finish, &picture](const RecordedRequest& request) {
            return finish(pictureAnswer(picture, request));
        });
    }
}

void scriptPictureLoad(LoopbackServer& server, const std::function<Answer(Answer)>& finish, int count,
                       std::size_t bytes) {
    scriptLoad(server, finish, count,
               [bytes](int number) { return withType(loadPicture(number, bytes), "image/jpeg"); });
}

void scriptPictureLoad(LoopbackServer& server, const std::function<Answer(Answer)>& finish, int count,
                       const Answer& picture) {
    scriptLoad(server, finish, count, [&picture](int) { return picture; });
}

}  // namespace quorvane::test
