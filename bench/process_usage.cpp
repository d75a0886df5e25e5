#include "bench/process_usage.h"

#include "tests/support/gui_driver.h"
#include "text/codepage.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane::bench {
namespace {

// Linux counts process times in ticks of USER_HZ, 100 on every x86 kernel.
constexpr double kLinuxTicksPerSecond = 100.0;

bool isWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The numbered entries of a /proc folder.
std::vector<std::string> numberedEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(gbkToWide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] >= L'0' &&
            found.cFileName[0] <= L'9')
            names.push_back(wideToGbk(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// The WINEPREFIX entry of a Linux process's environment ("" when none).
std::string winePrefixEntry(const std::string& folder) {
    const std::optional<std::string> environment = test::readFile(folder + "\\environ");
    if (!environment) return {};
    const std::string entries = std::string(1, '\0') + *environment;
    const std::size_t at = entries.find(std::string(1, '\0') + "WINEPREFIX=");
    if (at == std::string::npos) return {};
    return entries.substr(at + 1, entries.find('\0', at + 1) - at - 1);
}

// Another benchmark may run a program of the same name at the same time in
// another Wine prefix: the program is the one in ours.
std::optional<std::string> linuxProcessFolder(const char* commandLinePart) {
    const std::string prefix = winePrefixEntry("Z:\\proc\\self");
    for (const std::string& pid : numberedEntries("Z:\\proc")) {
        const std::string folder = "Z:\\proc\\" + pid;
        const std::optional<std::string> commandLine = test::readFile(folder + "\\cmdline");
        if (commandLine && commandLine->find(commandLinePart) != std::string::npos &&
            winePrefixEntry(folder) == prefix)
            return folder;
    }
    return std::nullopt;
}

// A stat line's name (in parentheses, possibly with blanks) and its utime
// plus stime, the 14th and 15th fields, counted from the state letter after
// the name (the 3rd field).
struct LinuxStat {
    std::string name;
    double seconds = 0;
};

std::optional<LinuxStat> parseLinuxStat(const std::string& stat) {
    const std::size_t open = stat.find('(');
    const std::size_t close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
    LinuxStat parsed{stat.substr(open + 1, close - open - 1)};
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    double ticks = 0;
    for (int number = 3; number <= 15; ++number) {
        if (!(fields >> field)) return std::nullopt;
        if (number >= 14) ticks += std::strtod(field.c_str(), nullptr);
    }
    parsed.seconds = ticks / kLinuxTicksPerSecond;
    return parsed;
}

ThreadKind kindByName(const std::string& name) {
    if (name.starts_with("worker ")) return ThreadKind::Worker;
    if (name == "request") return ThreadKind::Request;
    return ThreadKind::Other;
}

double seconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

// The thread's name where the system keeps one (Windows 10 and later).
std::string windowsThreadName(HANDLE thread) {
    using Describe = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    static const auto describe = reinterpret_cast<Describe>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
    PWSTR name = nullptr;
    if (!describe || FAILED(describe(thread, &name)) || !name) return {};
    const std::string text = wideToGbk(name);
    LocalFree(name);
    return text;
}

struct SampledThread {
    unsigned long long id;
    ThreadKind kind;
    double seconds;
};

std::vector<SampledThread> linuxThreads(const std::string& folder) {
    std::vector<SampledThread> threads;
    const std::string pid = folder.substr(folder.rfind('\\') + 1);
    for (const std::string& tid : numberedEntries(folder + "\\task")) {
        const std::optional<std::string> stat = test::readFile(folder + "\\task\\" + tid + "\\stat");
        const std::optional<LinuxStat> parsed = stat ? parseLinuxStat(*stat) : std::nullopt;
        if (!parsed) continue;  // ended meanwhile
        // The Windows program's first thread is the Linux process's first.
        const ThreadKind kind = tid == pid ? ThreadKind::Interface : kindByName(parsed->name);
        threads.push_back({std::strtoull(tid.c_str(), nullptr, 10), kind, parsed->seconds});
    }
    return threads;
}

std::vector<SampledThread> windowsThreads(DWORD processId) {
    std::vector<SampledThread> threads;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    double earliest = 0;
    std::size_t first = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
            // The interface thread is the one the process started with.
            if (threads.empty() || seconds(created) < earliest) {
                earliest = seconds(created);
                first = threads.size();
            }
            threads.push_back({entry.th32ThreadID, kindByName(windowsThreadName(thread)),
                               seconds(kernel) + seconds(user)});
        }
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    if (!threads.empty()) threads[first].kind = ThreadKind::Interface;
    return threads;
}

// "0" or "0-7": the distinct lists the process's Linux threads are allowed on.
std::string linuxAllowedProcessors(const std::string& folder) {
    std::set<std::string> lists;
    for (const std::string& tid : numberedEntries(folder + "\\task")) {
        const std::optional<std::string> status = test::readFile(folder + "\\task\\" + tid + "\\status");
        constexpr std::string_view kKey = "Cpus_allowed_list:";
        const std::size_t at = status ? status->find(kKey) : std::string::npos;
        if (at == std::string::npos) continue;
        std::istringstream value(status->substr(at + kKey.size()));
        std::string list;
        if (value >> list) lists.insert(list);
    }
    std::string text;
    for (const std::string& list : lists) text += (text.empty() ? "" : " / ") + list;
    return text.empty() ? "unknown" : text;
}

}  // namespace

ProgramUsage::ProgramUsage(HANDLE process, const char* commandLinePart) : process_(process) {
    if (isWine()) linuxFolder_ = linuxProcessFolder(commandLinePart);
}

std::optional<double> ProgramUsage::cpuSeconds() const {
    if (isWine()) {
        if (!linuxFolder_) return std::nullopt;
        const std::optional<std::string> stat = test::readFile(*linuxFolder_ + "\\stat");
        const std::optional<LinuxStat> parsed = stat ? parseLinuxStat(*stat) : std::nullopt;
        if (!parsed) return std::nullopt;
        return parsed->seconds;
    }
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process_, &created, &exited, &kernel, &user)) return std::nullopt;
    return seconds(kernel) + seconds(user);
}

void ProgramUsage::sampleThreads() {
    if (isWine() && !linuxFolder_) return;
    const std::vector<SampledThread> threads =
        linuxFolder_ ? linuxThreads(*linuxFolder_) : windowsThreads(GetProcessId(process_));
    for (const SampledThread& thread : threads) {
        const auto [at, added] = threads_.try_emplace(thread.id, ThreadTimes{thread.kind, 0, 0});
        // A thread seen first after the first sample was started since.
        if (added && !sampled_) at->second.first = thread.seconds;
        at->second.kind = thread.kind;  // a thread names itself once it runs
        at->second.last = thread.seconds;
    }
    sampled_ = true;
}

std::optional<ThreadSplit> ProgramUsage::threadSplit() const {
    if (threads_.empty()) return std::nullopt;
    ThreadSplit split;
    for (const auto& [id, times] : threads_) {
        const double used = times.last - times.first;
        switch (times.kind) {
            case ThreadKind::Interface: split.interface += used; break;
            case ThreadKind::Worker: split.workers += used; break;
            case ThreadKind::Request: split.requests += used; break;
            case ThreadKind::Other: break;
        }
    }
    return split;
}

std::optional<double> ProgramUsage::peakMemoryBytes() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process_, &counters, sizeof counters)) return std::nullopt;
    return static_cast<double>(counters.PeakWorkingSetSize);
}

std::string ProgramUsage::processorMask() const {
    DWORD_PTR processMask = 0, systemMask = 0;
    char text[64] = "unknown";
    if (GetProcessAffinityMask(process_, &processMask, &systemMask))
        std::snprintf(text, sizeof text, "0x%llx of 0x%llx", static_cast<unsigned long long>(processMask),
                      static_cast<unsigned long long>(systemMask));
    if (!linuxFolder_) return text;
    return std::string(text) + "   (Linux threads allowed on processors " + linuxAllowedProcessors(*linuxFolder_) +
           ")";
}

}  // namespace quorvane::bench
