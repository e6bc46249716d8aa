#include "extui/change_watcher.h"

namespace ruvelto::extui {
namespace {

constexpr DWORD kSliceMilliseconds = 20;
constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE;

volatile LONG liveWatchers = 0;

bool Stopping(const ChangeWatcher* watcher) { return InterlockedCompareExchange(const_cast<LONG*>(&watcher->stop), 0, 0) != 0; }

HANDLE Arm(const std::string& path) { return FindFirstChangeNotificationA(path.c_str(), FALSE, kChanges); }

// The last of the two threads to let go frees the record.
void LetGo(ChangeWatcher* watcher) {
    if (InterlockedDecrement(&watcher->holders) != 0) return;
    if (watcher->armed) CloseHandle(watcher->armed);
    delete watcher;
    InterlockedDecrement(&liveWatchers);
}

DWORD WINAPI Watch(void* parameter) {
    auto* watcher = static_cast<ChangeWatcher*>(parameter);
    HANDLE change = Arm(watcher->path);
    SetEvent(watcher->armed);
    while (change != INVALID_HANDLE_VALUE && !Stopping(watcher)) {
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
    if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
    LetGo(watcher);
    return 0;
}

// Waits for `handle` at most `milliseconds`, answering messages sent to this thread meanwhile.
bool WaitAnswering(HANDLE handle, DWORD milliseconds) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= until ? 0 : static_cast<DWORD>(until - now);
        const DWORD waited = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
        if (waited == WAIT_OBJECT_0) return true;
        if (waited != WAIT_OBJECT_0 + 1 || left == 0) return false;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

ChangeWatcher* StartChangeWatcher(const std::string& path, HWND tree, HTREEITEM item) {
    if (path.empty()) return nullptr;
    auto* watcher = new ChangeWatcher{path, tree, item};
    watcher->armed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!watcher->armed) {
        delete watcher;
        return nullptr;
    }
    InterlockedIncrement(&liveWatchers);
    watcher->thread = CreateThread(nullptr, 0, &Watch, watcher, 0, nullptr);
    if (!watcher->thread) {
        watcher->holders = 1;
        LetGo(watcher);
        return nullptr;
    }
    WaitAnswering(watcher->armed, kWatcherWaitMilliseconds);
    return watcher;
}

void StopChangeWatcher(ChangeWatcher* watcher) {
    if (!watcher) return;
    InterlockedExchange(&watcher->stop, 1);
    WaitAnswering(watcher->thread, kWatcherWaitMilliseconds);
    CloseHandle(watcher->thread);
    watcher->thread = nullptr;
    LetGo(watcher);
}

LONG LiveChangeWatchers() { return InterlockedCompareExchange(&liveWatchers, 0, 0); }

}  // namespace ruvelto::extui
