#include "extui/change_watcher.h"

namespace ruvelto::extui {
namespace {

constexpr DWORD kSliceMilliseconds = 20;
constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE;

bool Stopping(const ChangeWatcher* watcher) { return InterlockedCompareExchange(const_cast<LONG*>(&watcher->stop), 0, 0) != 0; }

HANDLE Arm(const std::string& path) { return FindFirstChangeNotificationA(path.c_str(), FALSE, kChanges); }

DWORD WINAPI Watch(void* parameter) {
    auto* watcher = static_cast<ChangeWatcher*>(parameter);
    HANDLE change = watcher->firstChange;
    watcher->firstChange = INVALID_HANDLE_VALUE;
    while (!Stopping(watcher)) {
        if (change == INVALID_HANDLE_VALUE) change = Arm(watcher->path);
        if (change == INVALID_HANDLE_VALUE) break;  // this folder is simply not refreshed
        bool changed = false;
        while (!changed && !Stopping(watcher)) {
            const DWORD waited = WaitForSingleObject(change, kSliceMilliseconds);
            if (waited == WAIT_OBJECT_0) changed = true;
            else if (waited != WAIT_TIMEOUT) break;
        }
        FindCloseChangeNotification(change);
        change = INVALID_HANDLE_VALUE;
        if (!changed || Stopping(watcher)) break;
        // Armed again before the report, so that nothing changed while the tree reloads is lost.
        change = Arm(watcher->path);
        SendMessageA(watcher->tree, kFolderChanged, reinterpret_cast<WPARAM>(watcher->item),
                     reinterpret_cast<LPARAM>(watcher));
    }
    if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);  // stopped before the first wait
    return 0;
}

}  // namespace

ChangeWatcher* StartChangeWatcher(const std::string& path, HWND tree, HTREEITEM item) {
    if (path.empty()) return nullptr;
    // Armed here, before the thread runs: a change made as soon as the folder has loaded counts.
    HANDLE change = Arm(path);
    if (change == INVALID_HANDLE_VALUE) return nullptr;
    auto* watcher = new ChangeWatcher{path, tree, item};
    watcher->firstChange = change;
    watcher->thread = CreateThread(nullptr, 0, &Watch, watcher, 0, nullptr);
    if (!watcher->thread) {
        FindCloseChangeNotification(change);
        delete watcher;
        return nullptr;
    }
    return watcher;
}

void StopChangeWatcher(ChangeWatcher* watcher) {
    if (!watcher) return;
    InterlockedExchange(&watcher->stop, 1);
    // The worker may be waiting for this thread to answer its report: keep answering sent
    // messages (and only those) until it has gone.
    for (;;) {
        const DWORD waited = MsgWaitForMultipleObjects(1, &watcher->thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (waited != WAIT_OBJECT_0 + 1) break;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(watcher->thread);
    delete watcher;
}

}  // namespace ruvelto::extui
