// ruvelto.exe started as a person starts it: its main window comes up (every component type of
// the window is part of the program now) with no error box, and closing it ends the program.
// And the icon the program file carries.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/app/e2e/companion_registry.h"
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
    CompanionRegistry companions;
    companions.SetInstalled(kArchiverKey, true);  // no companion offer before the main window
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

// The program file carries its own icon as the resource "DEFAULT_ICON", in the sizes a window
// caption and the task bar ask for.
TEST(ProgramFile, CarriesItsIcon) {
    // Loaded as a module: a program file built by Wine's toolchain cannot be mapped as data.
    HMODULE program = LoadLibraryA(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so").c_str());
    ASSERT_NE(program, nullptr) << GetLastError();
    EXPECT_NE(FindResourceA(program, "DEFAULT_ICON", reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), nullptr);
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(LoadImageA(program, "DEFAULT_ICON", IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(program);
}

}  // namespace
}  // namespace ruvelto::testing
