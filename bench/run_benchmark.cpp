// The run benchmark: quorvane.exe (GUI, five workers) in a fresh folder copies
// a list of N rows from the loopback marketplace, which holds every answer for
// a delay, and the program is timed and measured from outside, as a user
// would see it.
//   quorvane_bench [--rows N] [--delay-ms D] [--pictures P] [--picture-kb K]
//                  [--faults F] [--fault-seed S] [--request-limit-ms L]
//     N 1 to 1000 (200), D >= 0 (50); with P > 0 every item's description
//     names P pictures of K KB (100) in place of its own. With F > 0, F % of
//     the requests get a fault chosen from seed S (1), the program's request
//     limit is L ms (3000), and the run's outcome is checked.
#include "bench/bench_list.h"
#include "bench/process_usage.h"
#include "bench/run_outcome.h"
#include "tests/app/program_in_folder.h"
#include "tests/support/gui_driver.h"
#include "tests/support/description_services.h"
#include "tests/support/marketplace.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace quorvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWorkers = 5;
constexpr int kStepLimitMs = 5 * 60000;
constexpr int kRunLimitMs = 20 * 60000;
constexpr int kSampleMs = 100;
constexpr const char* kFolderName = "quorvane-bench";

struct Options {
    int rows = 200;
    int delayMs = 50;
    int pictures = 0;
    int pictureKb = 100;
    int faultPercent = 0;
    int faultSeed = 1;
    int requestLimitMs = 3000;
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (name == "--rows") options.rows = value;
        else if (name == "--delay-ms") options.delayMs = value;
        else if (name == "--pictures") options.pictures = value;
        else if (name == "--picture-kb") options.pictureKb = value;
        else if (name == "--faults") options.faultPercent = value;
        else if (name == "--fault-seed") options.faultSeed = value;
        else if (name == "--request-limit-ms") options.requestLimitMs = value;
        else return std::nullopt;
    }
    if (argc % 2 == 0 || options.rows < 1 || options.rows > 1000 || options.delayMs < 0 || options.pictures < 0 ||
        options.pictureKb < 1 || options.faultPercent < 0 || options.faultPercent > 100 ||
        options.requestLimitMs < 1)
        return std::nullopt;
    return options;
}

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Every millisecond: the interval is how exactly the moments below are seen.
template <class Test>
bool pollUntil(Test test, int limitMs) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!test()) {
        if (Clock::now() > end) return false;
        Sleep(1);
    }
    return true;
}

// Read without opening it: the writer holds the file exclusively while it
// writes, and an open from here could make its write fail.
bool hasContent(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(gbkToWide(path).c_str(), GetFileExInfoStandard, &data) &&
           (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

// Answered by the list view only when the interface thread is free.
int listRowCount(HWND listView) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(listView, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kStepLimitMs, &count);
    return static_cast<int>(count);
}

HWND shownWindow(const test::GuiProgram& program, std::string_view title) {
    HWND window = program.findWindow(title);
    return window && IsWindowVisible(window) ? window : nullptr;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "bench: %s\n", message.c_str());
    return 1;
}

// 导入列表 with the file: seconds from the file dialog's close to the list
// showing every row, without the time the import's message box waits for OK.
std::optional<double> importList(test::ProgramInFolder& app, const std::string& path, int rows) {
    test::pressButton(app["添加到列表1"]);
    if (!app.program().answerFileDialog(path)) return std::nullopt;
    const Clock::time_point chosen = Clock::now();
    HWND box = nullptr;
    if (!pollUntil([&] { return (box = shownWindow(app.program(), "温馨提示：")) != nullptr; }, kStepLimitMs))
        return std::nullopt;
    const Clock::time_point boxShown = Clock::now();
    test::answerMessageBox(box, IDOK);
    if (!pollUntil([&] { return !shownWindow(app.program(), "温馨提示："); }, kStepLimitMs)) return std::nullopt;
    const Clock::time_point answered = Clock::now();
    if (!pollUntil([&] { return listRowCount(app["超级列表框1"]) == rows; }, kStepLimitMs)) return std::nullopt;
    return secondsBetween(chosen, boxShown) + secondsBetween(answered, Clock::now());
}

struct RunMoments {
    Clock::time_point pressed, firstRequest, workersDone, summaryOpen;
    std::size_t requests = 0;
    // The marketplace's own time per answer beyond the delay, over the
    // answers it sent whole: from the whole request to the last byte sent.
    double serverMsPerAnswer = 0;
    HWND summary = nullptr;
};

// 生成数据包 until the run summary is open; the package file getting its
// content marks the last worker's end (it writes the file just before it
// hands the end of the run to the interface).
// The threads' times are sampled meanwhile, every kSampleMs: a thread that
// ends takes at most that much of its time out of the split.
std::optional<RunMoments> runList(test::ProgramInFolder& app, test::Marketplace& market,
                                  const std::string& packagePath, ProgramUsage& usage) {
    RunMoments moments;
    market.server().clearRequests();
    usage.sampleThreads();
    moments.pressed = Clock::now();
    Clock::time_point sampled = moments.pressed;
    test::pressButton(app["开始"]);
    std::optional<Clock::time_point> workersDone;
    const bool open = pollUntil(
        [&] {
            if (Clock::now() - sampled >= std::chrono::milliseconds(kSampleMs)) {
                usage.sampleThreads();
                sampled = Clock::now();
            }
            if (!workersDone && hasContent(packagePath)) workersDone = Clock::now();
            moments.summary = shownWindow(app.program(), "复制完成！");
            return moments.summary != nullptr;
        },
        kRunLimitMs);
    moments.summaryOpen = Clock::now();
    usage.sampleThreads();
    if (!open || !workersDone) return std::nullopt;
    moments.workersDone = *workersDone;
    const std::vector<test::RecordedRequest> requests = market.server().requests();
    if (requests.empty()) return std::nullopt;
    moments.requests = requests.size();
    moments.firstRequest = std::min_element(requests.begin(), requests.end(), [](const auto& a, const auto& b) {
                               return a.received < b.received;
                           })->received;
    double answerSeconds = 0;
    std::size_t answers = 0;
    for (const test::RecordedRequest& request : requests) {
        if (!request.answered) continue;
        answerSeconds += secondsBetween(request.received, *request.answered);
        ++answers;
    }
    if (answers > 0) moments.serverMsPerAnswer = answerSeconds * 1000.0 / static_cast<double>(answers);
    return moments;
}

// The count after the label's "： ".
int summaryCount(HWND summary, std::string_view label) {
    const std::string text = test::textOf(test::findComponent(summary, label));
    const std::size_t blank = text.rfind(' ');
    return blank == std::string::npos ? -1 : std::atoi(text.c_str() + blank + 1);
}

// Faults on a share of the requests; a stall outlasts the program's request
// limit, which is set for the program here.
void setUpFaults(test::Marketplace& market, const Options& options) {
    market.setFaults({.percent = options.faultPercent,
                      .seed = static_cast<std::uint64_t>(options.faultSeed),
                      .stall = std::chrono::milliseconds(options.requestLimitMs + 2000)});
    SetEnvironmentVariableA("QUORVANE_REQUEST_LIMIT_MS", std::to_string(options.requestLimitMs).c_str());
}

// The bytes of every picture the marketplace serves.
std::set<std::string> servedPictureBytes(const Options& options) {
    std::set<std::string> bytes;
    for (const test::ServedPicture& picture : test::servedPictures())
        if (*picture.file) bytes.insert(test::pictureFileBytes(picture));
    for (int i = 1; i <= options.pictures; ++i)
        bytes.insert(test::loadPicture(i, static_cast<std::size_t>(options.pictureKb) * 1024));
    return bytes;
}

std::map<std::string, int> rowsById(HWND listView) {
    std::map<std::string, int> rows;
    for (const std::vector<std::string>& row : test::listRows(listView))
        if (row.size() > 3) ++rows[row[3]];
    return rows;
}

// The faults the marketplace sent and the checks of the run's outcome;
// false when one fails.
bool reportFaultyRun(test::ProgramInFolder& app, test::Marketplace& market, const Options& options,
                     const std::string& packagePath, HWND summary, const std::map<std::string, int>& listBefore) {
    const auto counts = market.faultCounts();
    std::uint64_t all = 0;
    for (std::uint64_t count : counts) all += count;
    std::printf("faults                  %d %% of requests, seed %d, request limit %d ms: %llu of %llu requests (",
                options.faultPercent, options.faultSeed, options.requestLimitMs,
                static_cast<unsigned long long>(all - counts[0]), static_cast<unsigned long long>(all));
    for (int kind = 1; kind <= test::kFaultKinds; ++kind)
        std::printf("%s%s %llu", kind > 1 ? ", " : "", test::faultName(static_cast<test::Fault>(kind)),
                    static_cast<unsigned long long>(counts[static_cast<std::size_t>(kind)]));
    std::printf(")\n");
    RunOutcomeFigures figures;
    figures.listRowsBeforeById = listBefore;
    for (const auto& [id, count] : listBefore) figures.listRowsBefore += count;
    figures.summaryTotal = summaryCount(summary, "透明标签4");
    figures.summaryCopied = summaryCount(summary, "透明标签2");
    figures.summaryFailed = summaryCount(summary, "透明标签3");
    // The copied rows leave the list before the summary opens.
    figures.listRowsById = rowsById(app["超级列表框1"]);
    for (const auto& [id, count] : figures.listRowsById) figures.listRowsAfter += count;
    readPackage(
        packagePath, servedPictureBytes(options),
        [&](const std::string& bytes) { return market.sentAsGarbage(bytes); }, figures);
    return reportOutcome(figures, stdout);
}

int run(const Options& options) {
    test::Marketplace market;
    market.setAnswerDelay(std::chrono::milliseconds(options.delayMs));
    if (options.pictures > 0)
        market.servePictureLoad(options.pictures, static_cast<std::size_t>(options.pictureKb) * 1024);
    if (options.faultPercent > 0) setUpFaults(market, options);
    // The program reads the host map once, at its first request.
    SetEnvironmentVariableA("QUORVANE_HOST_MAP", market.hostMap().c_str());
    // The program pins itself as users get it, unless the caller chose a
    // processor mask (QUORVANE_PROCESSOR_MASK) for a comparison.
    if (!GetEnvironmentVariableA("QUORVANE_PROCESSOR_MASK", nullptr, 0))
        SetEnvironmentVariableA("QUORVANE_PROCESSOR_MASK", "");
    test::ProgramInFolder app(kFolderName);
    if (!app.main()) return fail("quorvane.exe did not start");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.program().processId());
    if (!process) return fail("cannot open the program's process");
    const std::string commandLinePart = std::string(kFolderName) + "\\quorvane.exe";

    const std::string listPath = app.file("bench_list.txt");
    if (!test::writeWholeFile(listPath, benchListText(options.rows))) return fail("cannot write the list file");
    const std::optional<double> importSeconds = importList(app, listPath, options.rows);
    if (!importSeconds) return fail("the list was not imported");

    const std::string packagePath = app.file("package.csv");
    test::pressButton(app["添加到列表2"]);
    if (!app.program().answerFileDialog(packagePath) ||
        !pollUntil([&] { return test::textOf(app["编辑框3"]) == packagePath; }, kStepLimitMs))
        return fail("the package path was not set");

    const std::map<std::string, int> listBefore = rowsById(app["超级列表框1"]);
    ProgramUsage usage(process, commandLinePart.c_str());
    const std::optional<double> cpuBefore = usage.cpuSeconds();
    const std::optional<RunMoments> moments = runList(app, market, packagePath, usage);
    if (!moments) return fail("the run did not end with its package and summary");
    const std::optional<double> cpuAfter = usage.cpuSeconds();
    const std::optional<double> peak = usage.peakMemoryBytes();
    const std::optional<ThreadSplit> split = usage.threadSplit();
    const std::string mask = usage.processorMask();
    CloseHandle(process);

    const double n = options.rows;
    const double span = secondsBetween(moments->firstRequest, moments->workersDone);
    const double requestsPerItem = static_cast<double>(moments->requests) / n;
    std::printf("rows %d (the three fixture items that copy, repeated), delay %d ms per request\n", options.rows,
                options.delayMs);
    if (options.pictures > 0)
        std::printf("pictures                %d of %d KB in every description, besides the pages' own\n",
                    options.pictures, options.pictureKb);
    std::printf("copied                  %d of %d\n", summaryCount(moments->summary, "透明标签2"), options.rows);
    std::printf("list import             %.3f s\n", *importSeconds);
    std::printf("wall time               %.3f s   (press of the start button -> run summary open)\n",
                secondsBetween(moments->pressed, moments->summaryOpen));
    std::printf("workers' span           %.3f s   (first request -> last worker done)\n", span);
    std::printf("items per second        %.1f   (over the workers' span)\n", n / span);
    if (options.delayMs > 0)
        std::printf("bound at this delay     %.1f items/s   (%d workers, %.2f requests per item x %d ms)\n",
                    kWorkers / (requestsPerItem * options.delayMs / 1000.0), kWorkers, requestsPerItem,
                    options.delayMs);
    else
        std::printf("bound at this delay     none   (%.2f requests per item, no delay)\n", requestsPerItem);
    const double overhead = kWorkers * span * 1000.0 / static_cast<double>(moments->requests) - options.delayMs;
    const double serverOwn = moments->serverMsPerAnswer - options.delayMs;
    std::printf("overhead per request    %.1f ms   (%d workers x span / requests - delay)\n", overhead, kWorkers);
    std::printf("  of it the marketplace %.1f ms   (its answer's time beyond the delay)\n", serverOwn);
    std::printf("  of it the program     %.1f ms\n", overhead - serverOwn);
    std::printf("processor mask          %s\n", mask.c_str());
    if (cpuBefore && cpuAfter) {
        const double cpu = *cpuAfter - *cpuBefore;
        std::printf("CPU per item            %.1f ms   (%.2f s user+system during the run)\n", cpu * 1000.0 / n, cpu);
        if (split)
            std::printf("CPU by thread           interface %.2f s, workers %.2f s, request threads %.2f s, "
                        "other %.2f s\n",
                        split->interface, split->workers, split->requests,
                        cpu - split->interface - split->workers - split->requests);
    } else {
        std::printf("CPU per item            unknown\n");
    }
    if (peak) std::printf("peak memory             %.1f MB\n", *peak / (1024.0 * 1024.0));
    else std::printf("peak memory             unknown\n");
    std::printf("interface behind        %.3f s   (last worker done -> run summary open)\n",
                secondsBetween(moments->workersDone, moments->summaryOpen));
    const bool outcomeHolds =
        options.faultPercent == 0 ||
        reportFaultyRun(app, market, options, packagePath, moments->summary, listBefore);
    std::fflush(stdout);
    return outcomeHolds ? 0 : 1;
}

}  // namespace
}  // namespace quorvane::bench

int main(int argc, char** argv) {
    const std::optional<quorvane::bench::Options> options = quorvane::bench::parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: quorvane_bench [--rows 1..1000] [--delay-ms D] [--pictures P] [--picture-kb K]\n"
                     "                      [--faults 0..100] [--fault-seed S] [--request-limit-ms L]\n");
        return 2;
    }
    return quorvane::bench::run(*options);
}
