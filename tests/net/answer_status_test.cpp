#include "net/answer_status.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(AnswerStatus, OnlyASuccessWithItsWholeBodyCounts) {
    struct Case {
        const char* headers;
        std::size_t bodyBytes;
        bool whole;
    };
    for (const Case& c : {
             Case{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", 10, true},
             Case{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", 5, false},  // closed half way
             Case{"HTTP/1.1 200 OK\r\ncontent-length:  10\r\n\r\n", 10, true},
             Case{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", 7, true},
             Case{"HTTP/1.1 204 No Content\r\n\r\n", 0, true},
             Case{"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 10\r\n\r\n", 10, false},
             Case{"HTTP/1.1 404 Not Found\r\n\r\n", 3, false},
             Case{"HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\n", 3, false},
             Case{"HTTP/1.1\r\n\r\n", 3, false},
             // The COM objects' header text has no status line.
             Case{"Content-Type: image/jpeg\r\nContent-Length: 4\r\n", 4, true},
             Case{"Content-Type: image/jpeg\r\nContent-Length: 4\r\n", 3, false},
             Case{"", 3, true},
             Case{"HTTP/1.1 200 OK\r\nContent-Length: many\r\n\r\n", 3, true},
         }) {
        SCOPED_TRACE(std::string(c.headers) + std::to_string(c.bodyBytes));
        EXPECT_EQ(isWholeSuccessfulAnswer(c.headers, c.bodyBytes), c.whole);
    }
}

}  // namespace
}  // namespace quorvane
