// The user-interface thread's message loop: the pre-translate walk up the target window's
// ancestors, the idle phase (idle callbacks of the libraries and the windows' idle event), the
// nested loop of a modal window, and pumping pending messages for ProcessEvents.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::forms {

// Runs until WM_QUIT.
void RunMainLoop();
// Runs until the modal window is gone or WM_QUIT waits (it is left for the outer loop).
void RunModalLoop(HWND modalWindow);
// While a message waits and it is not WM_QUIT, dispatches one. No idle processing.
void ProcessPendingMessages();

// Offers a queued message to the objects of its window and each parent in turn; true when one
// consumed it (it is then neither translated nor dispatched).
bool PreTranslateWalk(MSG* message);

// Idle callbacks of the libraries (runtime services 1012 and 1013): called while the thread is
// idle, last registered first, until their window is gone. A window is registered once.
using IdleCallback = void (*)(uint32_t argument);
void AddIdleCallback(HWND window, IdleCallback callback, uint32_t argument);
void RemoveIdleCallback(HWND window);
// Exit: forgets every registered window.
void ClearIdleCallbacks();

}  // namespace ruvelto::forms
