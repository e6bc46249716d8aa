// Times one conversion run of the real ruvelto.exe, driven through its window as a person would:
// start the program, pick the input folder in the tree, check every row, set the options, type
// the output folder, click start and wait for the completion message. Wine's own cost is
// measured apart: a bare Wine process start, the program's start-up to a ready window, and the
// memory the program holds before the run begins.
//
// Usage: ruvelto_run_bench <input folder> <output folder> <pictures> <result file> [options]
//   resize=<p>%        resize by percentage p
//   resize=<w>x<h>     resize to a custom size
//   format=<bmp|gif|jpg|png|ico>   convert to this format (otherwise each keeps its own)
// The result file gets one "key value" line per figure; the exit status is 0 when the run
// ended with the completion message.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/app/e2e/ruvelto_driver.h"

namespace {

using ruvelto::testing::ClientRect;
using ruvelto::testing::RuveltoDriver;
namespace c = ruvelto::testing::controls;

// "您选择的图片已处理完毕！" (GBK): the message that ends a run in which every picture was written.
const std::string kAllDone = "\xC4\xFA\xD1\xA1\xD4\xF1\xB5\xC4\xCD\xBC\xC6\xAC\xD2\xD1\xB4\xA6\xC0\xED\xCD\xEA\xB1\xCF\xA3\xA1";
constexpr DWORD kRunLimit = 30 * 60 * 1000;

struct Options {
    std::string input, output, resultFile;
    int pictures = 0;
    int percent = 0;               // resize by percentage when > 0
    int width = 0, height = 0;     // resize to a custom size when > 0
    std::string format;            // convert to this format when not empty
};

bool ParseOptions(int argc, char** argv, Options& options) {
    if (argc < 5) return false;
    options.input = argv[1];
    options.output = argv[2];
    options.pictures = std::atoi(argv[3]);
    options.resultFile = argv[4];
    for (int i = 5; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("resize=", 0) == 0) {
            const std::string size = arg.substr(7);
            if (!size.empty() && size.back() == '%') {
                options.percent = std::atoi(size.c_str());
            } else if (std::sscanf(size.c_str(), "%dx%d", &options.width, &options.height) != 2) {
                return false;
            }
        } else if (arg.rfind("format=", 0) == 0) {
            options.format = arg.substr(7);
        } else {
            return false;
        }
    }
    return options.pictures > 0;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

PROCESS_MEMORY_COUNTERS Memory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters;
}

double Megabytes(size_t bytes) { return double(bytes) / (1024.0 * 1024.0); }

// What a Wine process costs before any of our code runs: the time from creating a console
// program that does nothing to its end.
double BareWineProcessMilliseconds() {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION info{};
    char commandLine[] = "C:\\windows\\system32\\cmd.exe /c exit";
    const LARGE_INTEGER start = Now();
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &info))
        return -1;
    WaitForSingleObject(info.hProcess, 30000);
    const LARGE_INTEGER end = Now();
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return Milliseconds(start, end);
}

// The figures, printed and written to the result file (a Windows path) as "key value" lines.
class Report {
public:
    explicit Report(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr)) {}
    ~Report() {
        if (ok()) CloseHandle(file_);
    }
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    void Figure(const char* key, double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", value);
        Line(key, text);
    }
    void Line(const char* key, const std::string& value) {
        const std::string line = std::string(key) + " " + value + "\n";
        std::fputs(line.c_str(), stdout);
        DWORD written = 0;
        if (ok()) WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    bool ok() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
};

BOOL CALLBACK FindSlider(HWND child, LPARAM param) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, TRACKBAR_CLASSA) != 0) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

// The JPEG quality the run will use: the position of the main window's quality slider.
int QualitySliderPosition(HWND mainWindow) {
    HWND slider = nullptr;
    EnumChildWindows(mainWindow, &FindSlider, reinterpret_cast<LPARAM>(&slider));
    return slider ? static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0)) : -1;
}

bool WaitUntil(const std::function<bool()>& condition) { return RuveltoDriver::WaitFor(condition, 10000); }

// Turns on resizing and format conversion as asked; the program starts with both off.
bool SetOptions(RuveltoDriver& program, const Options& options) {
    auto enabled = [&](const ClientRect& control) { return IsWindowEnabled(program.Control(control)) != FALSE; };
    if (options.percent > 0 || options.width > 0) {
        if (!program.IsChecked(c::kResizeSwitch)) program.Click(c::kResizeSwitch);
        if (!WaitUntil([&] { return enabled(c::kPercentRadio); })) return false;
        if (options.percent > 0) {
            program.Click(c::kPercentRadio);
            if (!WaitUntil([&] { return enabled(c::kPercentage); })) return false;
            program.Type(c::kPercentage, std::to_string(options.percent));
        } else {
            program.Click(c::kCustomRadio);
            if (!WaitUntil([&] { return enabled(c::kCustomWidth); })) return false;
            program.Type(c::kCustomWidth, std::to_string(options.width));
            program.Type(c::kCustomHeight, std::to_string(options.height));
        }
    }
    if (!options.format.empty()) {
        const struct {
            const char* name;
            ClientRect box;
        } formats[] = {{"bmp", c::kFormatBmp}, {"gif", c::kFormatGif}, {"jpg", c::kFormatJpg},
                       {"png", c::kFormatPng}, {"ico", c::kFormatIco}};
        const ClientRect* box = nullptr;
        for (const auto& format : formats)
            if (options.format == format.name) box = &format.box;
        if (!box) return false;
        if (!program.IsChecked(c::kConvertSwitch)) program.Click(c::kConvertSwitch);
        if (!WaitUntil([&] { return enabled(*box); })) return false;
        if (!program.IsChecked(*box)) program.Click(*box);
        if (!WaitUntil([&] { return program.IsChecked(*box); })) return false;
    }
    return true;
}

int Run(const Options& options, Report& report) {
    report.Figure("bench_process_ws_mb", Megabytes(Memory(GetCurrentProcess()).WorkingSetSize));
    report.Figure("bare_wine_start_ms", BareWineProcessMilliseconds());

    RuveltoDriver program;
    LARGE_INTEGER start = Now();
    if (!program.Start()) return report.Line("error", "ruvelto.exe did not start"), 1;
    report.Figure("startup_ms", Milliseconds(start, Now()));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.ProcessId());
    const PROCESS_MEMORY_COUNTERS started = Memory(process);
    report.Figure("startup_ws_mb", Megabytes(started.WorkingSetSize));
    report.Figure("startup_commit_mb", Megabytes(started.PagefileUsage));

    start = Now();
    if (!program.SelectFolder(options.input)) return report.Line("error", "the input folder is not in the tree"), 1;
    if (!RuveltoDriver::WaitFor([&] { return program.RowCount() == options.pictures; }, 120000))
        return report.Line("error", "the list has " + std::to_string(program.RowCount()) + " rows"), 1;
    report.Figure("import_ms", Milliseconds(start, Now()));
    // An import checks every row; make sure of it, as a person would glance at the list.
    auto allChecked = [&] {
        for (int row = 0; row < options.pictures; ++row)
            if (program.CheckState(row) != 1) return false;
        return true;
    };
    if (!allChecked()) {
        program.Click(c::kCheckAll);
        if (!WaitUntil(allChecked)) return report.Line("error", "rows stay unchecked"), 1;
    }
    if (!SetOptions(program, options)) return report.Line("error", "the options could not be set"), 1;
    program.Type(c::kOutputFolder, options.output);
    report.Figure("quality", QualitySliderPosition(program.MainWindow()));

    // The program's memory before the run: what Wine and the program's windows hold.
    Sleep(500);
    const PROCESS_MEMORY_COUNTERS before = Memory(process);
    report.Figure("base_ws_mb", Megabytes(before.WorkingSetSize));
    report.Figure("base_peak_ws_mb", Megabytes(before.PeakWorkingSetSize));
    report.Figure("base_commit_mb", Megabytes(before.PagefileUsage));

    // The run: from the click to the message box that ends it. Committed memory is sampled while
    // it runs (Wine's peak figure for it is only the current one).
    size_t peakCommit = before.PagefileUsage;
    start = Now();
    program.Click(c::kStartButton);
    LARGE_INTEGER end = start;
    bool ended = false;
    while (Milliseconds(start, Now()) < kRunLimit) {
        const PROCESS_MEMORY_COUNTERS now = Memory(process);
        if (now.PagefileUsage > peakCommit) peakCommit = now.PagefileUsage;
        if (program.VisibleDialog()) {
            end = Now();
            ended = true;
            break;
        }
        if (!program.Running()) break;
        Sleep(10);
    }
    const PROCESS_MEMORY_COUNTERS after = Memory(process);
    CloseHandle(process);
    if (!ended) return report.Line("error", "no message box ended the run"), 1;
    report.Figure("run_ms", Milliseconds(start, end));
    report.Figure("run_ms_per_picture", Milliseconds(start, end) / options.pictures);
    report.Figure("peak_ws_mb", Megabytes(after.PeakWorkingSetSize));
    report.Figure("peak_commit_mb", Megabytes(peakCommit));
    report.Figure("run_peak_ws_growth_mb", Megabytes(after.PeakWorkingSetSize) - Megabytes(before.WorkingSetSize));
    report.Figure("run_peak_commit_growth_mb", Megabytes(peakCommit) - Megabytes(before.PagefileUsage));

    const ruvelto::testing::MessageBoxSeen box = program.NextMessageBox(5000);
    const bool allDone = box.text == kAllDone;
    report.Line("completion", allDone ? "ok" : "unexpected message: " + box.text);
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    program.WaitForExit(20000);
    return allDone ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: ruvelto_run_bench <input folder> <output folder> <pictures> <result file> "
                     "[resize=<p>%%|resize=<w>x<h>] [format=bmp|gif|jpg|png|ico]\n");
        return 2;
    }
    Report report(options.resultFile);
    if (!report.ok()) {
        std::fprintf(stderr, "ruvelto_run_bench: cannot write %s\n", options.resultFile.c_str());
        return 2;
    }
    const int status = Run(options, report);
    std::fflush(stdout);
    return status;
}
