// The exit sequence: events stop, windows go, the application's clean-up runs once, libraries
// hear notify message 6, DLLs and runtime objects are released, and the process ends.
#include "runtime/program_exit.h"

#include <windows.h>
#include <ole2.h>

#include "runtime/forms_hooks.h"
#include "runtime/heap.h"
#include "runtime/program_image.h"
#include "runtime/runtime_state.h"
#include "runtime/service_codes.h"

namespace ruvelto::runtime {

void ExitProgram(int32_t exitCode) {
    RuntimeState& state = State();
    ++state.eventSuppression;
    if (state.mainThreadId && GetCurrentThreadId() != state.mainThreadId) {
        // Only the main thread may take the runtime down; another thread asks it to.
        if (state.hiddenWindow) SendMessageA(static_cast<HWND>(state.hiddenWindow), 0x83E7, exitCode, 0);
        ExitProcess(static_cast<UINT>(exitCode));
    }
    if (!state.exiting) {
        state.exiting = true;
        if (Forms().releaseWindows) Forms().releaseWindows();
        if (auto cleanup = state.cleanupRoutine) {
            state.cleanupRoutine = nullptr;
            cleanup();
        }
        for (size_t i = 0; i < state.libraries.size(); ++i) {
            const LibraryRecord* record = state.libraries[i];
            if (record && record->notify) record->notify(kNotifyExit, state.libraryWords[i], 0);
        }
        state.libraries.clear();
        state.libraryWords.clear();
        for (DllCommandSlot& slot : state.dllCommands)
            if (slot.module) FreeLibrary(static_cast<HMODULE>(slot.module));
        state.dllCommands.clear();
        heap::ClearReadOnlyRanges();
        for (void*& icon : state.programIcons)
            if (icon) DestroyIcon(static_cast<HICON>(icon)), icon = nullptr;
        if (state.hiddenWindow) DestroyWindow(static_cast<HWND>(state.hiddenWindow)), state.hiddenWindow = nullptr;
        if (state.oleInitialised) OleUninitialize(), state.oleInitialised = false;
    }
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace ruvelto::runtime
