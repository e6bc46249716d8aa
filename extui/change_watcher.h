// A change watcher: one worker thread per expanded folder of a directory tree, waiting on the
// platform's change notification for the folder (not its subtree: file names, folder names,
// sizes) in 20 ms slices. On a change it sends kFolderChanged (wParam the tree item, lParam the
// watcher) to the tree window and waits afresh. The worker touches nothing else.
//
// Only the tree's own thread starts and stops watchers, and it never waits on one for long: a
// watched network drive that stops answering may hold the worker inside the platform's calls
// for the network's time-out. Starting waits a moment for the worker to arm its notification
// (so that a change made as soon as the folder has loaded counts) and then goes on regardless.
// Stopping sets the stop flag and waits a moment for the worker to end, answering messages sent
// to this thread meanwhile (the worker may be inside SendMessage); a worker still busy after
// that is left to end on its own. The record is shared by the two threads and freed by the
// last one to let it go, so it stays valid for as long as the worker runs; the tree ignores a
// report from a watcher whose stop flag is set.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace ruvelto::extui {

constexpr UINT kFolderChanged = 0x4D7;

struct ChangeWatcher {
    std::string path;
    HWND tree = nullptr;
    HTREEITEM item = nullptr;
    volatile LONG stop = 0;
    volatile LONG holders = 2;  // the tree's thread and the worker
    HANDLE thread = nullptr;
    HANDLE armed = nullptr;  // set by the worker once it has tried to arm its first notification
};

// A running watcher, or null when the path is empty or the thread cannot be made. A folder whose
// notification cannot be made gets a worker that ends at once (it is simply not refreshed).
ChangeWatcher* StartChangeWatcher(const std::string& path, HWND tree, HTREEITEM item);
// Stops the worker and lets the record go (freed now, or by the worker when it ends).
// Null does nothing. Returns within kWatcherWaitMilliseconds plus the time to answer sent messages.
void StopChangeWatcher(ChangeWatcher* watcher);

// How long the tree's thread waits for a worker to arm or to end.
constexpr DWORD kWatcherWaitMilliseconds = 200;

// Watcher records alive in the process (tests use it to see that abandoned workers free theirs).
LONG LiveChangeWatchers();

}  // namespace ruvelto::extui
