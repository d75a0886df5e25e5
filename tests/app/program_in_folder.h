#pragma once
// quorvane.exe copied into a fresh folder of its own, so it runs with the
// options.ini and options\api_access.txt a test gives (or none), started and
// shown. The folder goes with the object.
#include "tests/support/gui_driver.h"
#include "tests/support/scratch_folder.h"
#include "text/codepage.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::test {

inline bool writeWholeFile(const std::string& path, std::string_view content) {
    HANDLE file = CreateFileW(gbkToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    CloseHandle(file);
    return ok;
}

class ProgramInFolder {
public:
    // folderName: GBK, under the temporary folder.
    explicit ProgramInFolder(std::string_view folderName, std::optional<std::string_view> optionsIni = {},
                             std::optional<std::string_view> apiAccess = {}) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = wideToGbk(temp) + std::string(folderName);
        removeFolder(gbkToWide(folder_));
        exe_ = copyProgramTo(QUORVANE_EXE, folder_);
        if (exe_.empty()) return;
        if (optionsIni || apiAccess) CreateDirectoryW(gbkToWide(folder_ + "\\options").c_str(), nullptr);
        if (optionsIni && !writeWholeFile(optionsPath(), *optionsIni)) return;
        if (apiAccess && !writeWholeFile(folder_ + "\\options\\api_access.txt", *apiAccess)) return;
        program_ = std::make_unique<GuiProgram>(exe_, folder_);
        main_ = program_->waitForWindow("Quorvane V3.60");
    }
    ~ProgramInFolder() {
        program_.reset();  // ends the program first: it holds its folder
        removeFolder(gbkToWide(folder_));
    }
    ProgramInFolder(const ProgramInFolder&) = delete;
    ProgramInFolder& operator=(const ProgramInFolder&) = delete;

    // The main window, shown; nullptr when the program did not start.
    HWND main() const { return main_; }
    GuiProgram& program() { return *program_; }
    HWND operator[](std::string_view component) const { return findComponent(main_, component); }
    std::string file(std::string_view name) const { return folder_ + "\\" + std::string(name); }
    std::string optionsPath() const { return folder_ + "\\options\\options.ini"; }

    // Polls until the condition holds, for at most five seconds.
    template <typename Condition>
    static bool waitFor(Condition condition) {
        for (int i = 0; i < 100; ++i, Sleep(50))
            if (condition()) return true;
        return condition();
    }

    // "导入列表" with this file: the import's message, after answering it.
    std::string importList(const std::string& path, const char* title = "温馨提示：") {
        pressButton((*this)["添加到列表1"]);
        if (!program_->answerFileDialog(path)) return "(no file dialog)";
        return answerMessage(title);
    }

    // The message box of this title: its text, after answering it with OK.
    std::string answerMessage(std::string_view title) {
        auto box = program_->waitForMessageBox(title);
        if (!box) return "(no message box \"" + std::string(title) + "\")";
        answerMessageBox(box->window, IDOK);
        program_->waitForWindowGone(title);
        return box->text;
    }

private:
    std::string folder_, exe_;
    std::unique_ptr<GuiProgram> program_;
    HWND main_ = nullptr;
};

}  // namespace quorvane::test
