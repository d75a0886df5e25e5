// Both picture downloads against a picture host that answers with an error
// page or breaks off: what comes is no picture, so nothing is stored for it.
#include "collect/pictures/picture_download.h"

#include "text/com.h"

#include "tests/support/loopback_server.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

test::LoopbackServer& pictureHost() {
    static test::LoopbackServer server;
    return server;
}

const bool mapSet = SetEnvironmentVariableA("QUORVANE_HOST_MAP",
                                            ("*.example-mall.cn=127.0.0.1:" + std::to_string(pictureHost().port())).c_str()) != 0;

TEST(PictureDownload, AnErrorPageOrAPictureCutShortIsNoPicture) {
    ASSERT_TRUE(mapSet);
    const ComScope com;
    const std::string picture = "\xFF\xD8\xFF\xE0" + std::string(20000, 'p');
    struct Case {
        const char* name;
        test::Answer answer;
        bool stored;
    };
    test::Answer whole = test::okAnswer(picture, {"Content-Type: image/jpeg"});
    test::Answer chunked = whole;
    chunked.framing = test::Framing::Chunked;
    test::Answer serverError = whole;  // a picture's bytes even, under an error status
    serverError.status = 500;
    serverError.reason = "Internal Server Error";
    test::Answer closedHalfWay = whole;
    closedHalfWay.closeAfterBodyBytes = picture.size() / 2;
    test::Answer resetHalfWay = whole;
    resetHalfWay.resetAfterBodyBytes = picture.size() / 2;
    const Case cases[] = {{"whole", whole, true},
                          {"chunked", chunked, true},
                          {"server error", serverError, false},
                          {"closed half way", closedHalfWay, false},
                          {"reset half way", resetHalfWay, false}};
    const test::ScopedRequestLimit limit(5000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pictureHost().script("/p.jpg", c.answer);
        const Bytes expected = c.stored ? Bytes(picture.begin(), picture.end()) : Bytes{};
        const Bytes plain = downloadPackagePicture("http://img.example-mall.cn/p.jpg");
        EXPECT_TRUE(plain == expected) << "WinINet: " << plain.size() << " bytes";
        const Bytes either = downloadPicture("img.example-mall.cn/p.jpg").bytes;
        EXPECT_TRUE(either == expected) << "COM, then WinINet: " << either.size() << " bytes";
    }
}

}  // namespace
}  // namespace quorvane
