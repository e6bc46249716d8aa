// Run against a real child program of our own (run_probe.exe, MinGW) that records its command
// line, the show mode it was given, its window's state and how it ends: show modes, waiting for
// the end, the one-second wait for a program to become ready for input, failures, GBK paths.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/commands/command_arguments.h"
#include "tests/runtime/child_process.h"

namespace ruvelto::testing {
namespace {

const std::string kRunFolder = "\xD4\xCB\xD0\xD0";  // 运行
const std::string kProbeName = "\xCC\xBD\xD5\xEB";  // 探针
const std::string kArgument = "\xB2\xCE\xCA\xFD";   // 参数

class RunCommand : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "ruvelto-run-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& f : made) DeleteFileA(f.c_str());
        RemoveDirectoryA((folder + "\\" + kRunFolder).c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string NewRecord() {
        std::string path = folder + "\\record" + std::to_string(made.size()) + ".txt";
        DeleteFileA(path.c_str());
        made.push_back(path);
        return path;
    }
    static std::vector<std::string> Lines(const std::string& record) {
        std::istringstream in(ReadTextFile(record));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    static std::string LineStarting(const std::string& record, const std::string& start) {
        for (const std::string& line : Lines(record))
            if (line.rfind(start, 0) == 0) return line;
        return "";
    }
    // The line once the program has written it: a limit for a failing test, not a wait for a slow
    // machine (the probe ends itself after 20 seconds).
    static std::string AwaitLine(const std::string& record, const std::string& start) {
        for (int i = 0; i < 4000; ++i) {
            const std::string line = LineStarting(record, start);
            if (!line.empty()) return line;
            Sleep(5);
        }
        return "";
    }
    ValueRecord Run(const std::string& commandLine, std::vector<ValueRecord> more = {}) {
        std::vector<ValueRecord> call{args.Text(commandLine)};
        call.insert(call.end(), more.begin(), more.end());
        return CallCore(kRun, call);
    }

    const std::string probe = WindowsPath(RUVELTO_BINARY_DIR "/tests/commands/run_probe.exe");
    std::string folder;
    std::vector<std::string> made;
    ArgumentStore args;
};

// Opens the child as soon as its record names its process id, so that the test can look at the
// process after Run has closed its own handles.
class ProcessWatch {
public:
    explicit ProcessWatch(std::string record) : record_(std::move(record)) {
        thread_ = CreateThread(nullptr, 0, &ProcessWatch::Watch, this, 0, nullptr);
    }
    ~ProcessWatch() {
        stop_ = true;
        Join();
        if (process_) CloseHandle(process_);
    }
    HANDLE Process() {
        Join();
        return process_;
    }

private:
    void Join() {
        if (!thread_) return;
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    static DWORD WINAPI Watch(void* self) {
        auto* w = static_cast<ProcessWatch*>(self);
        for (int i = 0; i < 2000 && !w->stop_; ++i) {
            const std::string text = ReadTextFile(w->record_);
            const size_t at = text.find("pid ");
            if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
                const DWORD pid = std::stoul(text.substr(at + 4));
                w->process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
                return 0;
            }
            Sleep(5);
        }
        return 0;
    }

    std::string record_;
    HANDLE thread_ = nullptr;
    HANDLE process_ = nullptr;
    volatile bool stop_ = false;
};

HWND ProbeWindowOf(HANDLE process) {
    const DWORD pid = GetProcessId(process);
    for (HWND w = FindWindowExA(nullptr, nullptr, "RuveltoRunProbe", nullptr); w;
         w = FindWindowExA(nullptr, w, "RuveltoRunProbe", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

TEST_F(RunCommand, WaitingReturnsOnlyOnceTheProgramHasEnded) {
    const std::string record = NewRecord();
    ProcessWatch watch(record);
    const ValueRecord r = Run("\"" + probe + "\" " + record + " linger 7", {Bool(true)});
    EXPECT_EQ(r.type, kTypeBool);
    EXPECT_EQ(r.lo, 1u);
    HANDLE process = watch.Process();
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "Run returned while the program was still running";
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(Lines(record).back(), "exit 7");
}

TEST_F(RunCommand, WithoutWaitingAProgramThatNeverLooksForInputGetsOneSecond) {
    const std::string record = NewRecord();
    ProcessWatch watch(record);
    const DWORD start = GetTickCount();
    EXPECT_EQ(Run("\"" + probe + "\" " + record + " busy 3").lo, 1u);
    const DWORD waited = GetTickCount() - start;
    HANDLE process = watch.Process();
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT) << "Run waited for the end";
    EXPECT_GE(waited, 900u) << "Run did not wait for the program to be ready for input";
    ASSERT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(Lines(record).back(), "exit 3");
}

TEST_F(RunCommand, WithoutWaitingAWindowedProgramIsReadyForInputWhenRunReturns) {
    const std::string record = NewRecord();
    ProcessWatch watch(record);
    const DWORD start = GetTickCount();
    EXPECT_EQ(Run("\"" + probe + "\" " + record + " window 5", {Bool(false)}).lo, 1u);
    const DWORD waited = GetTickCount() - start;
    // Run waits for the message loop, but a second at most: a machine too busy to start the
    // program within it sees Run return first, and only then.
    const bool readyOnReturn = !LineStarting(record, "ready").empty();
    EXPECT_TRUE(readyOnReturn || waited >= 900u)
        << "Run returned after " << waited << " ms, before the program reached its message loop";
    ASSERT_NE(AwaitLine(record, "ready"), "");
    HANDLE process = watch.Process();
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT);
    HWND window = ProbeWindowOf(process);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);  // as the user closing it
    ASSERT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 5u);
}

TEST_F(RunCommand, ShowModesReachTheProgramAndItsFirstWindow) {
    struct Case {
        const char* name;
        std::vector<ValueRecord> mode;  // after the wait argument
        int show;
        const char* window;
    };
    const Case cases[] = {
        {"omitted", {}, SW_SHOWNORMAL, "window visible 1 minimised 0 maximised 0"},
        {"0 counts as 1, hidden", {Int(0)}, SW_HIDE, "window visible 0 minimised 0 maximised 0"},
        {"1 hidden", {Int(1)}, SW_HIDE, "window visible 0 minimised 0 maximised 0"},
        {"2 normal", {Int(2)}, SW_SHOWNORMAL, "window visible 1 minimised 0 maximised 0"},
        {"3 minimised", {Int(3)}, SW_SHOWMINIMIZED, "window visible 1 minimised 1 maximised 0"},
        {"4 maximised", {Int(4)}, SW_SHOWMAXIMIZED, "window visible 1 minimised 0 maximised 1"},
        {"5 not activated", {Int(5)}, SW_SHOWNOACTIVATE, "window visible 1 minimised 0 maximised 0"},
        {"6 minimised", {Int(6)}, SW_MINIMIZE, "window visible 1 minimised 1 maximised 0"},
        {"9 counts as 6", {Int(9)}, SW_MINIMIZE, "window visible 1 minimised 1 maximised 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string record = NewRecord();
        ProcessWatch watch(record);
        std::vector<ValueRecord> more{Bool(false)};
        more.insert(more.end(), c.mode.begin(), c.mode.end());
        ASSERT_EQ(Run("\"" + probe + "\" " + record + " window 0", more).lo, 1u);
        EXPECT_EQ(AwaitLine(record, "show"), "show " + std::to_string(c.show));
        EXPECT_EQ(AwaitLine(record, "window"), c.window);
        HANDLE process = watch.Process();
        ASSERT_NE(process, nullptr);
        if (HWND window = ProbeWindowOf(process)) PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    }
}

TEST_F(RunCommand, AGbkCommandLineArrivesAsItWasGiven) {
    const std::string gbkFolder = folder + "\\" + kRunFolder;
    CreateDirectoryA(gbkFolder.c_str(), nullptr);
    const std::string copy = gbkFolder + "\\" + kProbeName + ".exe";
    ASSERT_TRUE(CopyFileA(probe.c_str(), copy.c_str(), FALSE));
    made.push_back(copy);
    const std::string record = NewRecord();
    const std::string line = "\"" + copy + "\" " + record + " quick 0 " + kArgument;
    ASSERT_EQ(Run(line, {Bool(true)}).lo, 1u);
    EXPECT_EQ(LineStarting(record, "command line: "), "command line: " + line);
    EXPECT_EQ(Lines(record).back(), "exit 0");
}

TEST_F(RunCommand, AProgramThatCannotStartGivesFalse) {
    for (const std::string& line : {std::string(), folder + "\\missing.exe", std::string("\"") + folder + "\""}) {
        SCOPED_TRACE(line);
        const ValueRecord r = Run(line, {Bool(true)});
        EXPECT_EQ(r.type, kTypeBool);
        EXPECT_EQ(r.lo, 0u);
    }
    EXPECT_EQ(CallCore(kRun, {}).lo, 0u);
}

}  // namespace
}  // namespace ruvelto::testing
