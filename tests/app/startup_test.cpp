// ruvelto.exe started as a person starts it. A program that has every component type of its main
// window shows the window and ends with 0 when it is closed. While a type is still missing,
// loading the start-up window fails, and the program must say so in the runtime error box and
// end with -1 rather than crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "tests/app/e2e/companion_registry.h"
#include "tests/runtime/child_process.h"

namespace ruvelto::testing {
namespace {

#ifdef RUVELTO_PROGRAM_COMPLETE
struct MainWindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<MainWindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (pid == search->processId && IsWindowVisible(window) && std::strcmp(title, "Ruvelto 1.0") == 0)
        search->found = window;
    return search->found == nullptr;
}

TEST(ProgramStart, ShowsTheMainWindowAndEndsWithZeroWhenItCloses) {
    CompanionRegistry companions;
    companions.SetInstalled(kArchiverKey, true);  // no companion offer before the main window
    ChildProcess program;
    ASSERT_TRUE(program.Start(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so"), ""));
    MainWindowSearch search{program.info.dwProcessId};
    for (int i = 0; i < 400 && !search.found; ++i) {
        EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    ASSERT_NE(search.found, nullptr);
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0u);
}
#else
TEST(ProgramStart, UnloadableStartUpWindowEndsWithTheErrorBox) {
    ChildProcess program;
    ASSERT_TRUE(program.Start(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so"), ""));
    MessageBoxSeen box = DismissMessageBox(program.info.dwProcessId, 20000);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, "\xB4\xED\xCE\xF3");
    EXPECT_EQ(box.text, "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
                        "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC\r\n");
    EXPECT_EQ(program.WaitForExit(20000), 0xFFFFFFFFu);
}
#endif

}  // namespace
}  // namespace ruvelto::testing
