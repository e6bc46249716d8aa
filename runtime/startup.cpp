// The start-up sequence: process heap, header words, OLE, program directory, the hidden window,
// the constant segment as read-only memory, DLL tables, libraries told of the service callback,
// and the window templates.
#include "runtime/startup.h"

#include <windows.h>
#include <ole2.h>

#include "runtime/forms_hooks.h"
#include "runtime/heap.h"
#include "runtime/program_exit.h"
#include "runtime/program_path.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/service_codes.h"
#include "runtime/services.h"

namespace ruvelto::runtime {
namespace {

constexpr const char kTemplatesUnreadable[] =
    "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!";  // 载入窗口模板数据段出错!
constexpr const char kHiddenWindowClass[] = "RuveltoRuntimeWindow";

// The hidden window receives the exit requests of other threads, so that the exit sequence
// always runs on the main thread.
LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kExitRequestMessage) {
        if (!State().exiting) ExitProgram(static_cast<int32_t>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHiddenWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HiddenWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kHiddenWindowClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    return CreateWindowExA(WS_EX_TOOLWINDOW, kHiddenWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

}  // namespace

void UseProgramImage(const ProgramImageHeader* image) { State().image = image; }

void StartRuntime() {
    RuntimeState& state = State();
    const ProgramImageHeader* image = state.image;
    if (!image) return;

    state.programKind = image->programKind;
    state.reservedWord = image->reserved;
    state.unitCounter = image->unitCounter + 1;
    if (!state.oleInitialised && SUCCEEDED(OleInitialize(nullptr))) state.oleInitialised = true;

    EnsureProgramPath();
    SetCurrentDirectoryA(state.programDirectory.c_str());
    if (!state.hiddenWindow) state.hiddenWindow = CreateHiddenWindow();
    state.mainThreadId = GetCurrentThreadId();

    if (image->constantLength > 0)
        heap::AddReadOnlyRange(image->constantStart, image->constantStart + image->constantLength);

    state.dllCommands.assign(image->dllCommandCount, DllCommandSlot{});
    for (uint32_t i = 0; i < image->dllCommandCount; ++i) {
        state.dllCommands[i].libraryFile = image->dllLibraryFiles[i];
        state.dllCommands[i].functionName = image->dllFunctionNames[i];
    }

    for (uint32_t i = 0; i < image->libraryCount; ++i) {
        const LibraryRecord* record = image->libraryTable[i];
        if (record && record->notify)
            record->notify(kNotifyServiceCallback, reinterpret_cast<intptr_t>(&RuntimeService), 0);
    }
    state.libraries.clear();
    for (uint32_t i = 0; i < image->libraryCount; ++i) state.libraries.push_back(image->libraryTable[i]);
    state.libraryWords.assign(image->libraryCount, 0);

    // No template segment: a program without windows, not an error.
    if (image->templateLength > 0) {
        const FormsHooks& forms = Forms();
        if (!forms.loadTemplates || !forms.loadTemplates(image->templateStart, image->templateLength))
            RaiseRuntimeError(kTemplatesUnreadable, 0);
    }
}

}  // namespace ruvelto::runtime
