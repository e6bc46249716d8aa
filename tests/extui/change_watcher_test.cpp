// The change watcher never holds the tree's thread for long: a worker that cannot finish (here it
// is stuck reporting to a window whose thread does not answer, as a worker on a network drive
// that stopped answering is stuck in the platform's calls) is let go within the bounded wait,
// and frees its record itself once it can end.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "extui/change_watcher.h"

namespace ruvelto::extui {
namespace {

struct StuckWindow {
    HWND window = nullptr;
    HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    volatile LONG reports = 0;
};

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kFolderChanged) {
        auto* stuck = reinterpret_cast<StuckWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        InterlockedIncrement(&stuck->reports);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Makes a window, then stops answering anything until released; then answers until it is gone.
DWORD WINAPI StuckThread(void* parameter) {
    auto* stuck = static_cast<StuckWindow*>(parameter);
    stuck->window = CreateWindowExA(0, "Static", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(stuck->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(stuck));
    SetWindowLongPtrA(stuck->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProcedure));
    SetEvent(stuck->made);
    WaitForSingleObject(stuck->release, INFINITE);
    const ULONGLONG until = GetTickCount64() + 2000;
    MSG message;
    while (GetTickCount64() < until) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(5);
    }
    DestroyWindow(stuck->window);
    return 0;
}

std::string TemporaryFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string folder = std::string(base) + "ruvelto-watch-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

TEST(ChangeWatcherTest, StoppingAWorkerThatCannotEndReturnsAtOnceAndTheWorkerFreesItsRecordLater) {
    const LONG liveBefore = LiveChangeWatchers();
    StuckWindow stuck;
    stuck.thread = CreateThread(nullptr, 0, &StuckThread, &stuck, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(stuck.made, 5000), WAIT_OBJECT_0);

    const std::string folder = TemporaryFolder();
    ChangeWatcher* watcher = StartChangeWatcher(folder, stuck.window, nullptr);
    ASSERT_NE(watcher, nullptr);
    EXPECT_EQ(LiveChangeWatchers(), liveBefore + 1);
    // A change: the worker reports it and waits for the stuck window's answer.
    const std::string file = folder + "\\made.txt";
    HANDLE made = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    CloseHandle(made);
    Sleep(300);  // the worker has seen the change and is inside its report

    const ULONGLONG before = GetTickCount64();
    StopChangeWatcher(watcher);
    const ULONGLONG took = GetTickCount64() - before;
    EXPECT_LT(took, 5u * kWatcherWaitMilliseconds) << "the stop waited for a worker that could not end";
    EXPECT_EQ(LiveChangeWatchers(), liveBefore + 1) << "the record must live while its worker does";

    // Once the window answers, the worker sees the stop flag, ends and frees its record.
    SetEvent(stuck.release);
    ULONGLONG deadline = GetTickCount64() + 5000;
    while (LiveChangeWatchers() != liveBefore && GetTickCount64() < deadline) Sleep(10);
    EXPECT_EQ(LiveChangeWatchers(), liveBefore);
    EXPECT_GE(stuck.reports, 1);

    WaitForSingleObject(stuck.thread, 5000);
    CloseHandle(stuck.thread);
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(ChangeWatcherTest, AnUnwatchableFolderStopsCleanly) {
    const LONG liveBefore = LiveChangeWatchers();
    ChangeWatcher* watcher = StartChangeWatcher("C:\\no such folder\\anywhere", nullptr, nullptr);
    ASSERT_NE(watcher, nullptr);  // its worker ends at once; the folder is simply not refreshed
    StopChangeWatcher(watcher);
    EXPECT_EQ(LiveChangeWatchers(), liveBefore);
    EXPECT_EQ(StartChangeWatcher("", nullptr, nullptr), nullptr);
}

}  // namespace
}  // namespace ruvelto::extui
