// A change watcher: one worker thread per expanded folder of a directory tree, waiting on the
// platform's change notification for the folder (not its subtree: file names, folder names,
// sizes) in 20 ms slices. On a change it sends kFolderChanged (wParam the tree item, lParam the
// watcher) to the tree window and waits afresh. The worker touches nothing else.
//
// Only the tree's own thread starts and stops watchers. StopChangeWatcher sets the stop flag and
// waits for the thread to end, answering messages sent to this thread meanwhile (the worker may
// be inside SendMessage), so the record stays valid for as long as the thread runs; the tree
// ignores a report from a watcher whose stop flag is set.
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
    HANDLE thread = nullptr;
    HANDLE firstChange = INVALID_HANDLE_VALUE;  // armed by StartChangeWatcher, taken by the thread
};

// A running watcher, or null when the folder cannot be watched or the thread cannot be made.
ChangeWatcher* StartChangeWatcher(const std::string& path, HWND tree, HTREEITEM item);
// Stops the thread, waits for it and frees the record. Null does nothing.
void StopChangeWatcher(ChangeWatcher* watcher);

}  // namespace ruvelto::extui
