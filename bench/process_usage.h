#pragma once
// What another process uses: processor time, in all and by kind of thread,
// peak memory and the processors it may run on.
#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace quorvane::bench {

// The program's threads by the names it gives them; the interface thread is
// its first one.
enum class ThreadKind { Interface, Worker, Request, Other };

struct ThreadSplit {
    double interface = 0, workers = 0, requests = 0;  // seconds
};

class ProgramUsage {
public:
    // Wine gives no real times for another process (GetProcessTimes keeps
    // the values of its start), so under Wine they come from /proc/<pid> of
    // the Linux process that runs it, found by its command line, which holds
    // commandLinePart.
    ProgramUsage(HANDLE process, const char* commandLinePart);

    // User plus system seconds of the whole process.
    std::optional<double> cpuSeconds() const;

    // Takes every live thread's time. A thread that has ended keeps the time
    // of the last sample that saw it: sample often enough.
    void sampleThreads();
    // The time each kind used between the first sample and the last.
    std::optional<ThreadSplit> threadSplit() const;

    // The peak working set in bytes (under Wine the process's VmHWM).
    std::optional<double> peakMemoryBytes() const;

    // The process's affinity mask and the system's, "0x1 of 0xff"; under Wine
    // followed by the processors the Linux threads may run on, which is what
    // the kernel holds them to.
    std::string processorMask() const;

private:
    struct ThreadTimes {
        ThreadKind kind = ThreadKind::Other;
        double first = 0, last = 0;
    };

    HANDLE process_;
    std::optional<std::string> linuxFolder_;  // "Z:\proc\<pid>" under Wine
    std::map<unsigned long long, ThreadTimes> threads_;
    bool sampled_ = false;
};

}  // namespace quorvane::bench
