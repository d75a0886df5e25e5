// Start-up writes the default options.ini into a folder without one and
// shows options.ini in the settings page, missing and odd values included.
#include "tests/app/program_in_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::test {
namespace {

constexpr const char* kDefaultFile =
    "[DL_PIC]\r\ndownload=真\r\ntaobao_only=假\r\nfall=3\r\nqcl=1\r\nqcllr=\r\nzly=2\r\nxsby=2\r\nbmby=2\r\n"
    "qccx=2\r\nzdyzbb=2\r\nsssx=2\r\n[SAVE]\r\ntype=5\r\n";

// What the settings page shows.
struct PageSeen {
    bool download;
    int failureChoice;      // item of 组合框1, -1 for none
    const char* linkRadio;  // the checked one of 单选框5/4/3, "" for none
    std::string link;       // 编辑框4
    std::vector<bool> boxes;  // 选择框1, 2, 3, 4, 5, 7
    bool format4;             // 单选框1 (and then 单选框2 unchecked)

    bool operator==(const PageSeen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PageSeen& p) {
    out << "download " << p.download << ", choice " << p.failureChoice << ", radio \"" << p.linkRadio
        << "\", link \"" << p.link << "\", boxes";
    for (bool b : p.boxes) out << ' ' << b;
    return out << ", 4.X " << p.format4;
}

PageSeen pageOf(const ProgramInFolder& app) {
    PageSeen seen{isChecked(app["选择框6"]), comboSelection(app["组合框1"]), "", textOf(app["编辑框4"]), {}, false};
    for (const char* radio : {"单选框5", "单选框4", "单选框3"})
        if (isChecked(app[radio])) seen.linkRadio = radio;
    for (const char* box : {"选择框1", "选择框2", "选择框3", "选择框4", "选择框5", "选择框7"})
        seen.boxes.push_back(isChecked(app[box]));
    seen.format4 = isChecked(app["单选框1"]);
    EXPECT_NE(isChecked(app["单选框1"]), isChecked(app["单选框2"])) << "exactly one format is checked";
    return seen;
}

const std::vector<bool> kNoBoxes(6, false);

TEST(SettingsPageLoad, FirstStartWritesTheDefaultFileAndShowsTheDefaults) {
    ProgramInFolder app("设置默认");
    ASSERT_NE(app.main(), nullptr);
    EXPECT_EQ(readFile(app.optionsPath()), std::optional<std::string>(kDefaultFile));
    EXPECT_EQ(pageOf(app), (PageSeen{true, 2, "单选框5", "", kNoBoxes, false}));
}

TEST(SettingsPageLoad, FilesWithMissingAndOddValues) {
    struct Case {
        const char* what;
        const char* file;
        PageSeen expected;
    };
    const std::vector<Case> cases = {
        // Missing keys take their "missing" values: qcl then removes links.
        {"only a section", "[DL_PIC]\r\n", {true, 2, "单选框4", "", kNoBoxes, false}},
        {"every value set",
         "[DL_PIC]\r\ndownload=假\r\nfall=1\r\nqcl=3\r\nqcllr=http://例子.example/店\r\nzly=1\r\nxsby=2\r\n"
         "bmby=1\r\nqccx=2\r\nzdyzbb=1\r\nsssx=1\r\n[SAVE]\r\ntype=4\r\n",
         {false, 0, "单选框3", "http://例子.example/店", {true, false, true, false, true, true}, true}},
        // Only "2" and the empty text leave a box unchecked; only "4" gives 4.X.
        {"odd check values and 4.X",
         "[DL_PIC]\r\nfall=2\r\nzly=0\r\nxsby=真\r\nbmby=\r\nqccx=2 \r\n[SAVE]\r\ntype=4.X\r\n",
         {true, 1, "单选框4", "", {true, true, false, false, false, false}, false}},
        // Unknown values leave the controls as the window made them.
        {"unknown choices", "[DL_PIC]\r\ndownload=yes\r\nfall=7\r\nqcl=9\r\n",
         {false, -1, "", "", kNoBoxes, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramInFolder app("设置读取", c.file);
        ASSERT_NE(app.main(), nullptr);
        EXPECT_EQ(pageOf(app), c.expected);
        EXPECT_EQ(readFile(app.optionsPath()), std::optional<std::string>(c.file)) << "an existing file stays";
    }
}

}  // namespace
}  // namespace quorvane::test
