#include "bench/process_usage.h"

#include "tests/support/gui_driver.h"
#include "text/codepage.h"

#include <psapi.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace quorvane::bench {
namespace {

// Linux counts process times in ticks of USER_HZ, 100 on every x86 kernel.
constexpr double kLinuxTicksPerSecond = 100.0;

bool isWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// utime and stime, the 14th and 15th fields; the name before them is in
// parentheses and may hold blanks, so the fields are counted from the
// state letter after it (the 3rd field).
std::optional<double> linuxCpuSeconds(const std::string& stat) {
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    double ticks = 0;
    for (int number = 3; number <= 15; ++number) {
        if (!(fields >> field)) return std::nullopt;
        if (number >= 14) ticks += std::strtod(field.c_str(), nullptr);
    }
    return ticks / kLinuxTicksPerSecond;
}

std::optional<double> wineCpuSeconds(const char* commandLinePart) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<double> seconds;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || found.cFileName[0] < L'0' ||
            found.cFileName[0] > L'9')
            continue;
        const std::string folder = "Z:\\proc\\" + wideToGbk(found.cFileName);
        const std::optional<std::string> commandLine = test::readFile(folder + "\\cmdline");
        if (!commandLine || commandLine->find(commandLinePart) == std::string::npos) continue;
        if (const std::optional<std::string> stat = test::readFile(folder + "\\stat")) seconds = linuxCpuSeconds(*stat);
        break;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return seconds;
}

double seconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

}  // namespace

std::optional<double> cpuSeconds(HANDLE process, const char* commandLinePart) {
    if (isWine()) return wineCpuSeconds(commandLinePart);
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::nullopt;
    return seconds(kernel) + seconds(user);
}

std::optional<double> peakMemoryBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return std::nullopt;
    return static_cast<double>(counters.PeakWorkingSetSize);
}

}  // namespace quorvane::bench
