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
#include "runtime/sound_playback.h"

namespace ruvelto::runtime {
namespace {

void (*exitSteps[3])() = {};

void Run(ExitStep step) {
    if (auto release = exitSteps[static_cast<int>(step)]) release();
}

}  // namespace

void SetExitStep(ExitStep step, void (*release)()) { exitSteps[static_cast<int>(step)] = release; }

void RunExitSequence() {
    RuntimeState& state = State();
    ++state.eventSuppression;
    if (state.exiting) return;
    state.exiting = true;
    Run(ExitStep::kClearChildWindows);
    if (auto release = Forms().releaseWindows) release();

    if (auto cleanup = state.cleanupRoutine) {
        state.cleanupRoutine = nullptr;  // once, even if it ends the program itself
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

    Run(ExitStep::kReleaseHelperObjects);
    StopSoundPlayback();
    Run(ExitStep::kReleasePictures);

    if (state.oleInitialised) OleUninitialize(), state.oleInitialised = false;
}

void ExitProgram(int32_t exitCode) {
    RuntimeState& state = State();
    if (state.mainThreadId && GetCurrentThreadId() != state.mainThreadId) {
        ++state.eventSuppression;
        // Only the main thread may take the runtime down; it ends the process while handling
        // the request. When exit is already under way there, the request just returns and the
        // clean-up goes on; otherwise (no hidden window to ask) this thread ends the process.
        if (state.hiddenWindow)
            SendMessageA(static_cast<HWND>(state.hiddenWindow), kExitRequestMessage, static_cast<WPARAM>(exitCode), 0);
        if (state.exiting) return;
        ExitProcess(static_cast<UINT>(exitCode));
    }
    RunExitSequence();
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace ruvelto::runtime
