// The program's four skin calls against the spy build of our engine: the
// arguments each export receives, and calls skipped when the library or an
// export is missing.
#include "tests/toolkit/image_view.h"
#include "toolkit/skin.h"
#include "toolkit/skin_dll/skin_spy.h"
#include "toolkit/skin_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::toolkit {
namespace {

struct Call {
    std::string exportName;
    std::vector<std::intptr_t> arguments;
    bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Call& call) {
    out << call.exportName << "(";
    for (std::intptr_t argument : call.arguments) out << argument << ",";
    return out << ")";
}

std::intptr_t word(const void* address) { return reinterpret_cast<std::intptr_t>(address); }

class SkinCallsTest : public ::testing::Test {
protected:
    void SetUp() override { load(spyImage()); }
    void TearDown() override {
        freeMemoryLibrary(skinModule);
        skinModule = nullptr;
    }

    void load(const Image& image) {
        freeMemoryLibrary(skinModule);
        skinModule = loadLibraryFromMemory(image);
        ASSERT_NE(skinModule, nullptr);
        const auto logExport = reinterpret_cast<skin::SpyLogExport>(getMemoryProcAddress(skinModule, "SkinSpy_Log"));
        ASSERT_NE(logExport, nullptr);
        log = logExport();
    }

    std::vector<Call> calls() const {
        std::vector<Call> seen;
        for (int i = 0; i < log->callCount && i < skin::kSpyCallCapacity; ++i) {
            const skin::SpyCall& call = log->calls[i];
            seen.push_back({call.exportName, {call.arguments, call.arguments + call.argumentCount}});
        }
        return seen;
    }

    const skin::SpyLog* log = nullptr;
    // Any window handle will do: the calls only pass it on.
    const HWND window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x12340));
};

TEST_F(SkinCallsTest, EachCallPassesItsArgumentsInOrder) {
    const auto skinFile = carriedSkinFile();
    const char password[] = "pw";
    attachSkin(skinFile);
    attachSkin(skinFile, password, 5, -6, 7);
    setSkinTitleBar(window);
    setSkinTitleBar(window, 1, 22, 0, 15);
    adjustSkinHsv(180, -14, 10);
    detachSkin(window);
    const std::vector<Call> expected = {
        {"SkinH_AttachRes", {word(skinFile.data()), 13987, 0, 0, 0, 0}},  // no password: 0, not ""
        {"SkinH_AttachRes", {word(skinFile.data()), 13987, word(password), 5, -6, 7}},
        {"SkinH_SetTitleMenuBar", {word(window), 1, 22, 0, 0}},
        {"SkinH_SetTitleMenuBar", {word(window), 1, 22, 0, 15}},
        {"SkinH_AdjustHSV", {180, -14, 10}},
        {"SkinH_DetachEx", {word(window)}},
    };
    EXPECT_EQ(calls(), expected);
}

TEST_F(SkinCallsTest, CarriedSkinFileIsOursAndWhole) {
    const auto skinFile = carriedSkinFile();
    ASSERT_EQ(skinFile.size(), 13987u);
    EXPECT_EQ(std::string(skinFile.begin(), skinFile.begin() + 4), ".SHE");
    const auto attach = reinterpret_cast<int(WINAPI*)(const unsigned char*, int, const char*, int, int, int)>(
        getMemoryProcAddress(skinModule, "SkinH_AttachRes"));
    ASSERT_NE(attach, nullptr);
    EXPECT_EQ(attach(skinFile.data(), 13987, nullptr, 0, 0, 0), 1);
    EXPECT_EQ(attach(skinFile.data(), 13986, nullptr, 0, 0, 0), 0) << "cut";
    std::vector<unsigned char> damaged(skinFile.begin(), skinFile.end());
    damaged[9000] ^= 1;
    EXPECT_EQ(attach(damaged.data(), 13987, nullptr, 0, 0, 0), 0) << "damaged";
}

TEST_F(SkinCallsTest, CallsAreSkippedWithoutTheLibrary) {
    MemoryLibrary* loaded = skinModule;
    skinModule = nullptr;
    attachSkin(carriedSkinFile());
    setSkinTitleBar(window);
    adjustSkinHsv(1, 2, 3);
    detachSkin(window);
    skinModule = loaded;
    EXPECT_TRUE(calls().empty());
}

TEST_F(SkinCallsTest, CallOfAMissingExportIsSkipped) {
    Image image = spyImage();
    char* name = ImageView(image).exportName("SkinH_AdjustHSV");
    ASSERT_NE(name, nullptr);
    name[14] = 'v';  // SkinH_AdjustHSv: the lookup is case-sensitive
    load(image);
    adjustSkinHsv(1, 2, 3);
    detachSkin(window);
    EXPECT_EQ(calls(), (std::vector<Call>{{"SkinH_DetachEx", {word(window)}}}));
}

TEST(SkinLibrary, CarriedEngineIsMappedOnceWithItsFourExports) {
    loadSkinLibrary();
    MemoryLibrary* first = skinModule;
    ASSERT_NE(first, nullptr);
    loadSkinLibrary();
    EXPECT_EQ(skinModule, first);
    for (const char* name : {"SkinH_AttachRes", "SkinH_SetTitleMenuBar", "SkinH_AdjustHSV", "SkinH_DetachEx"})
        EXPECT_NE(getMemoryProcAddress(skinModule, name), nullptr) << name;
    EXPECT_EQ(getMemoryProcAddress(skinModule, "SkinSpy_Log"), nullptr) << "the spy exports are the test build's";
    const IMAGE_OPTIONAL_HEADER& headers = skinModule->ntHeaders->OptionalHeader;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
        skinModule->imageBase + headers.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
    EXPECT_EQ(exports->NumberOfNames, 4u);
    // A DLL mapped from memory gets no thread-local storage set up for it.
    EXPECT_EQ(headers.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS].Size, 0u) << "no C runtime in the engine";
    freeMemoryLibrary(skinModule);
    skinModule = nullptr;
}

}  // namespace
}  // namespace quorvane::toolkit
