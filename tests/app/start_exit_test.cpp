// The program starts, shows its main window and ends cleanly when it is closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct FoundWindow {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK findProcessWindow(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<FoundWindow*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (owner == found->processId && std::wstring(className) == L"QuorvaneMainWindow") {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

TEST(StartExit, MainWindowOpensAndProgramEndsWithCodeZero) {
    std::string commandLine = std::string("\"") + QUORVANE_EXE + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));

    FoundWindow found{process.dwProcessId, nullptr};
    for (int tries = 0; tries < 300 && !found.window; ++tries) {
        EnumWindows(findProcessWindow, reinterpret_cast<LPARAM>(&found));
        if (!found.window) Sleep(50);
    }
    ASSERT_NE(found.window, nullptr) << "no main window within 15 s";
    PostMessageW(found.window, WM_CLOSE, 0, 0);

    EXPECT_EQ(WaitForSingleObject(process.hProcess, 15000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
