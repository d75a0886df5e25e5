#pragma once
// Figures of a process, the test's own by default: its peak working set (under
// Wine the VmHWM of the Linux process that runs it) and its thread count.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstddef>

namespace quorvane::test {

inline std::size_t peakWorkingSetMb(HANDLE process = GetCurrentProcess()) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize >> 20;
}

inline int threadCount(DWORD processId = GetCurrentProcessId()) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId) ++count;
    CloseHandle(snapshot);
    return count;
}

}  // namespace quorvane::test
