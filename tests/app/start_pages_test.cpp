// The start page's comment that start-up puts into the log box, and the
// addresses the program keeps enciphered.
#include "app/handlers/start_pages.h"
#include "app/handlers/stored_pages.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(StartPageComment, IsTheTextOfTheFirstCommentOrNothing) {
    const struct {
        const char* why;
        const char* source;
        const char* comment;
    } cases[] = {
        {"no page loaded yet", "", ""},
        {"a page without a comment", "<html><body>欢迎</body></html>", ""},
        {"the first comment", "<html><!--  欢迎使用！\r\n第二行--><body><!--later--></body></html>",
         "  欢迎使用！\r\n第二行"},
        {"an empty comment", "<html><!----></html>", ""},
        {"a comment that is never closed", "<html><!-- open <body></body></html>", ""},
        {"a closing mark before the comment does not count", "--> <html><!--a--></html>", "a"},
        {"the first closing mark ends it", "<!--a-->b-->", "a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(startPageComment(c.source), c.comment);
    }
}

TEST(StoredPages, DecipherToOurOwnAddresses) {
    const struct {
        const char* stored;
        const char* address;
    } cases[] = {
        {kStartPage, "http://www.quorvane.net/start.htm"},
        {kHelpPage, "http://help.quorvane.net/help.htm"},
        {kHeaderPage, "http://www.quorvane.net/"},
        {kWhyFailedPage, "http://help.quorvane.net/why-items-fail.htm"},
        {kTutorialPage, "http://help.quorvane.net/upload-tutorial.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(storedPageAddress(c.stored), c.address);
    }
}

}  // namespace
}  // namespace quorvane
