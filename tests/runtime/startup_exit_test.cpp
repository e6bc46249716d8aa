// The runtime's life seen from outside, each case a program of its own: the error box a person
// sees (title, text, icon), the exit code, and what the clean-up routine and the libraries were
// told on the way out.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/runtime/child_process.h"

namespace ruvelto::testing {
namespace {

const char kErrorTitle[] = "\xB4\xED\xCE\xF3";  // 错误
const std::string kRunError = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
const std::string kMessage = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";  // 错误信息：
const std::string kCode = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";     // 错误代码：
// 分配 2147483632 字节内存失败!
const std::string kAllocationFailed = "\xB7\xD6\xC5\xE4 2147483632 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!\r\n";
// 分配 0 字节内存失败!
const std::string kNothingAllocated = "\xB7\xD6\xC5\xE4 0 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!\r\n";

struct ChildRun {
    MessageBoxSeen box;
    DWORD exitCode = STILL_ACTIVE;
    std::string log;
};

ChildRun RunChild(const std::string& mode, bool expectBox) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string log = std::string(temp) + "ruvelto-child-" + mode + "-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(log.c_str());
    ChildProcess child;
    ChildRun run;
    EXPECT_TRUE(child.Start(WindowsPath(RUVELTO_BINARY_DIR "/tests/runtime/runtime_child.exe.so"), mode + " " + log));
    if (expectBox) run.box = DismissMessageBox(child.info.dwProcessId, 20000);
    run.exitCode = child.WaitForExit(20000);
    run.log = ReadTextFile(log);
    DeleteFileA(log.c_str());
    return run;
}

TEST(RuntimeErrorBox, EndsTheProgramWithMinusOneAndWithoutTheCleanUpRoutine) {
    struct Case {
        const char* mode;
        std::string text;
    };
    const Case cases[] = {
        {"runtime-error", kRunError + kCode + "5\r\n\r\n" + kMessage +
                              "\xCA\xFD\xBE\xDD\xBB\xF2\xCA\xFD\xD7\xE9\xC0\xE0\xD0\xCD\xB2\xBB\xC6\xA5\xC5\xE4\r\n"},  // 数据或数组类型不匹配
#if UINTPTR_MAX == 0xFFFFFFFFu
        // A DLL function that removes another number of argument words than were pushed.
        {"dll-stack-mismatch", kRunError + kCode + "6\r\n\r\n" + kMessage +
                                   "\xB5\xF7\xD3\xC3" "DLL\xC3\xFC\xC1\xEE\xBA\xF3\xB7\xA2\xCF\xD6\xB6\xD1\xD5\xBB\xB4\xED\xCE\xF3\r\n"},  // 调用DLL命令后发现堆栈错误
#else
        // An address that a 32-bit word cannot hold is refused, never cut short.
        {"address-beyond-a-word", kRunError + kMessage + kNothingAllocated},
#endif
        {"dll-missing-default", kRunError + kMessage +
                                    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8" "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE"
                                    "\xA1\xB0NoSuchFunctionAnywhere\xA1\xB1\r\n"},
        {"dll-missing-named", kRunError + kMessage +
                                  "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8" "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0kernel32\xA1\xB1\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE"
                                  "\xA1\xB0NoSuchFunction\xA1\xB1\r\n"},
        {"startup-window", kRunError + kMessage + "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC\r\n"},  // 载入启动窗口失败
        // Memory exhaustion through entry slots 6 and 7, with the byte count asked for.
        {"allocate-impossible", kRunError + kMessage + kAllocationFailed},
        {"reallocate-impossible", kRunError + kMessage + kAllocationFailed},
        // Property writes (entry slot 5) that cannot reach their unit.
        {"write-unknown-window", kRunError + kMessage +
                                     "\xCE\xB4\xD4\xD8\xC8\xEB\xD3\xFB\xB7\xC3\xCE\xCA\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xCB\xF9\xD4\xDA\xB5\xC4\xB4\xB0\xBF\xDA\r\n"},  // 未载入欲访问窗口组件所在的窗口
        {"write-unknown-unit", kRunError + kMessage +
                                   "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xBB\xF2\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xBB\xF2\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB\r\n"},  // 指定窗口或窗口组件不存在或尚未载入
        {"write-unloaded-own-property", kRunError + kMessage +
                                            "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB\r\n"},  // 指定窗口尚未载入
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ChildRun run = RunChild(c.mode, true);
        ASSERT_TRUE(run.box.found);
        EXPECT_EQ(run.box.title, kErrorTitle);
        EXPECT_EQ(run.box.text, c.text);
        EXPECT_TRUE(run.box.errorIcon);
        EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
        // The libraries still hear the exit; the application's clean-up does not run.
        EXPECT_EQ(run.log, "library 1 notify 1\nlibrary 2 notify 1\nstarted\nlibrary 1 notify 6\nlibrary 2 notify 6\n");
    }
}

TEST(RuntimeErrorBox, UnreadableTemplateSegmentStopsStartUp) {
    for (const char* mode : {"truncated-templates", "garbled-templates"}) {
        SCOPED_TRACE(mode);
        ChildRun run = RunChild(mode, true);
        ASSERT_TRUE(run.box.found);
        EXPECT_EQ(run.box.title, kErrorTitle);
        EXPECT_EQ(run.box.text, kRunError + kMessage +
                                    "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!\r\n");
        EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
        EXPECT_EQ(run.log.find("started"), std::string::npos);
    }
}

TEST(ProgramExit, RunsTheCleanUpOnceThenTellsTheLibraries) {
    ChildRun run = RunChild("exit", false);
    EXPECT_EQ(run.exitCode, 7u);
    EXPECT_EQ(run.log, "library 1 notify 1\nlibrary 2 notify 1\nstarted\ncleanup on main thread\n"
                       "library 1 notify 6\nlibrary 2 notify 6\n");
}

TEST(ProgramExit, ExitFromAnotherThreadRunsOnTheMainThread) {
    ChildRun run = RunChild("exit-from-thread", false);
    EXPECT_EQ(run.exitCode, 9u);
    EXPECT_EQ(run.log, "library 1 notify 1\nlibrary 2 notify 1\nstarted\ncleanup on main thread\n"
                       "library 1 notify 6\nlibrary 2 notify 6\n");
}

TEST(ProgramExit, ClearsTheWindowListAndReleasesLibraryWindowObjects) {
    ChildRun run = RunChild("exit-releases-library-windows", false);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, "library 1 notify 1\nlibrary 2 notify 1\nstarted\nidle callback\ncleanup on main thread\n"
                       "library 1 notify 6\nlibrary 2 notify 6\nexit sequence done\nwindow object released\n");
}

TEST(ProgramExit, ASecondRequestFromAnotherThreadDuringExitJustReturns) {
    ChildRun run = RunChild("second-exit-during-exit", false);
    EXPECT_EQ(run.exitCode, 7u);
    EXPECT_EQ(run.log, "library 1 notify 1\nlibrary 2 notify 1\nstarted\ncleanup on main thread\n"
                       "second exit request returned\nlibrary 1 notify 6\nlibrary 2 notify 6\n");
}

TEST(StartUp, LeavesTheProgramInItsFolderWithOleAndDllCallsWorking) {
    ChildRun run = RunChild("running", false);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, "library 1 notify 1\nlibrary 2 notify 1\nstarted\ncurrent directory is the program's\n"
                       "OLE initialised\ndll call balanced\ncleanup on main thread\nlibrary 1 notify 6\nlibrary 2 notify 6\n");
}

}  // namespace
}  // namespace ruvelto::testing
