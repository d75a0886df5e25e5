#pragma once
// What another process has used so far: CPU time and peak memory.
#include <windows.h>

#include <optional>

namespace quorvane::bench {

// User plus system seconds of the process. Wine gives no real times for
// another process (GetProcessTimes keeps the values of its start), so under
// Wine they come from /proc/<pid>/stat of the Linux process that runs it,
// found by its command line, which holds `commandLinePart`.
std::optional<double> cpuSeconds(HANDLE process, const char* commandLinePart);

// The peak working set in bytes (under Wine the process's VmHWM).
std::optional<double> peakMemoryBytes(HANDLE process);

}  // namespace quorvane::bench
