// Writing a file that another thread may be writing with the same bytes.
#include "text/files.h"

#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <optional>

namespace quorvane {
namespace {

// The file open as another writer keeps it for a moment: its rename over
// the file fails meanwhile.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

TEST(StoreFileContent, AFileThatAlreadyHoldsTheBytesIsStored) {
    struct Case {
        const char* why;
        std::optional<std::string> before;  // nothing: no file yet
        bool held;
        bool stored;
        std::string after;
    };
    const Case cases[] = {
        {"a new file", std::nullopt, false, true, "GIF89a same"},
        {"a file it replaces", "old bytes", false, true, "GIF89a same"},
        {"held by a writer of the same bytes", "GIF89a same", true, true, "GIF89a same"},
        {"held with other bytes", "GIF89a other", true, false, "GIF89a other"},
    };
    test::ScratchFolder folder("quorvane_store_file");
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const std::wstring path = gbkToWide(folder.path() + "\\" + std::to_string(++n) + ".gif");
        if (c.before) {
            ASSERT_TRUE(writeWholeFile(path, *c.before));
        }
        std::optional<HeldFile> holder;
        if (c.held) {
            holder.emplace(path);
            ASSERT_TRUE(holder->held());
            ASSERT_FALSE(replaceFileContent(path, "GIF89a same")) << "the rename no longer fails";
        }
        EXPECT_EQ(storeFileContent(path, "GIF89a same"), c.stored);
        holder.reset();
        EXPECT_EQ(test::scratch::contentOf(path), c.after);
    }
    EXPECT_EQ(folder.files().size(), std::size(cases)) << "a temporary file was left behind";
}

}  // namespace
}  // namespace quorvane
