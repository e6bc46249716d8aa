// ruvelto.exe started as a person starts it: its main window comes up (every component type of
// the window is part of the program now) with no error box, and closing it ends the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/runtime/child_process.h"

namespace ruvelto::testing {
namespace {

struct Search {
    DWORD processId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK IsMainWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (pid != search->processId || !IsWindowVisible(window) || std::string(name) != "RuveltoForm") return TRUE;
    search->found = window;
    return FALSE;
}

TEST(ProgramStart, TheMainWindowComesUpAndClosingItEndsTheProgram) {
    ChildProcess program;
    ASSERT_TRUE(program.Start(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so"), ""));
    Search search{program.info.dwProcessId, nullptr};
    for (int i = 0; i < 400 && !search.found; ++i) {
        Sleep(50);
        EnumWindows(&IsMainWindow, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(search.found, nullptr) << "no main window";
    RECT client{};
    GetClientRect(search.found, &client);
    EXPECT_GT(client.right, 700);
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0u);
}

}  // namespace
}  // namespace ruvelto::testing
