#include "forms/message_loop.h"

#include <algorithm>
#include <vector>

#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/window_object.h"
#include "forms/window_unit.h"

namespace ruvelto::forms {
namespace {

struct IdleEntry {
    HWND window;
    IdleCallback callback;
    uint32_t argument;
};
std::vector<IdleEntry> idleCallbacks;

struct IdleState {
    DWORD start = 0;
    std::vector<uint32_t> declined;  // windows whose idle handler asked for no more
};
IdleState idle;

void RunIdleCallbacks() {
    for (size_t i = idleCallbacks.size(); i-- > 0;) {
        if (i >= idleCallbacks.size()) continue;
        IdleEntry entry = idleCallbacks[i];
        if (!IsWindow(entry.window)) {
            idleCallbacks.erase(idleCallbacks.begin() + static_cast<ptrdiff_t>(i));
            continue;
        }
        entry.callback(entry.argument);
    }
}

// One idle round; true asks for more. The first two rounds are the framework's own (there is
// nothing to clean up here, but they keep the windows' idle event from starting at once).
bool IdleStep(uint32_t count) {
    if (count == 0) {
        idle.start = GetTickCount();
        idle.declined.clear();
    }
    if (count <= 1) return true;
    bool more = false;
    const uint32_t elapsed = GetTickCount() - idle.start;
    std::vector<uint32_t> ids = WindowUnits().ids;
    for (uint32_t id : ids) {
        if (std::find(idle.declined.begin(), idle.declined.end(), id) != idle.declined.end()) continue;
        WindowUnit* unit = WindowUnits().Find(id);
        if (!unit || !LiveWindowOf(*unit)) continue;
        EventRecord record;
        bool delivered = RaiseEvent(id, 0, kWindowIdle, {elapsed}, &record);
        if (delivered && record.returned && record.returnValue != 0) more = true;
        else idle.declined.push_back(id);
    }
    return more;
}

// Messages that do not end idleness: mouse moves that did not move, the caret's blink, paints
// and timers that the system makes itself.
bool EndsIdle(const MSG& m) {
    static POINT lastMouse{-1, -1};
    static UINT lastMessage = 0;
    if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
        if (lastMessage == m.message && lastMouse.x == m.pt.x && lastMouse.y == m.pt.y) return false;
        lastMouse = m.pt;
        lastMessage = m.message;
        return true;
    }
    return m.message != WM_PAINT && m.message != 0x0118;  // 0x118: the caret blink timer
}

// Gets one message and handles it; false on WM_QUIT.
bool PumpMessage(MSG& m) {
    if (GetMessageA(&m, nullptr, 0, 0) <= 0) return false;
    if (!PreTranslateWalk(&m)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return true;
}

void Loop(HWND modal) {
    for (;;) {
        MSG m;
        bool idling = true;
        uint32_t count = 0;
        while (idling && !PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleCallbacks();
            if (modal && !IsWindow(modal)) return;
            if (!IdleStep(count++)) idling = false;
        }
        do {
            if (modal) {
                if (!IsWindow(modal)) return;
                if (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE) && m.message == WM_QUIT) return;
            }
            if (!PumpMessage(m)) {
                // A nested loop never takes WM_QUIT away from the main loop.
                if (modal) PostQuitMessage(static_cast<int>(m.wParam));
                return;
            }
            if (EndsIdle(m)) idling = true, count = 0;
            if (modal && !IsWindow(modal)) return;
        } while (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
    }
}

}  // namespace

bool PreTranslateWalk(MSG* message) {
    if (!message->hwnd) return false;  // thread messages: the thread has no handlers of its own
    for (HWND w = message->hwnd; w; w = GetParent(w)) {
        WindowObject* object = WindowObject::FromHandleOrAsk(w);
        if (object && object->PreTranslateMessage(message)) return true;
    }
    return false;
}

void RunMainLoop() { Loop(nullptr); }

void RunModalLoop(HWND modalWindow) { Loop(modalWindow); }

void ProcessPendingMessages() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE) && m.message != WM_QUIT) {
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) break;
        if (!PreTranslateWalk(&m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

void AddIdleCallback(HWND window, IdleCallback callback, uint32_t argument) {
    for (const IdleEntry& e : idleCallbacks)
        if (e.window == window) return;
    if (callback) idleCallbacks.push_back({window, callback, argument});
}

void RemoveIdleCallback(HWND window) {
    std::erase_if(idleCallbacks, [window](const IdleEntry& e) { return e.window == window; });
}

void ClearIdleCallbacks() { idleCallbacks.clear(); }

}  // namespace ruvelto::forms
