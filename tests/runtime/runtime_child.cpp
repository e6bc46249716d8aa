// A small program on the runtime, started by the start-up and exit tests in a process of its
// own, because what they test ends the process: the error box, exit codes, the clean-up routine.
//   runtime_child <mode> <log file (Windows path)>
// Events worth checking are appended to the log file, one line each.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "forms/forms_engine.h"
#include "forms/message_loop.h"
#include "image-data/memory_image.h"
#include "image-data/template_writer.h"
#include "runtime/address_word.h"
#include "runtime/dll_call.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "runtime/process_start.h"
#include "runtime/program_exit.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/services.h"

namespace {

using namespace ruvelto;
using namespace ruvelto::image_data;

std::string mode;
std::string logPath;

void Log(const std::string& line) {
    HANDLE f = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\n";
    DWORD written;
    WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(f);
}

void CleanUp() {
    Log(GetCurrentThreadId() == runtime::State().mainThreadId ? "cleanup on main thread" : "cleanup on other thread");
}

intptr_t NotifyFirst(int32_t message, intptr_t, intptr_t) {
    Log("library 1 notify " + std::to_string(message));
    return 0;
}
intptr_t NotifySecond(int32_t message, intptr_t, intptr_t) {
    Log("library 2 notify " + std::to_string(message));
    return 0;
}

constexpr uint32_t kWindowId = 0x52010001;

std::vector<WindowDescription> OneWindow() {
    WindowDescription w;
    w.windowId = kWindowId;
    w.window.At(50, 50, 300, 200).Flags(kVisible);
    w.components = {Component(type_code::kButton, "b").On(0, HandlerRef::Offset(0x10))};
    std::vector<WindowDescription> windows{w};
    AssignUnitIds(windows);
    return windows;
}

ProgramImageDescription ImageFor(const std::string& which) {
    ProgramImageDescription description;
    LibraryDescription first, second;
    first.name = "first", second.name = "second";
    first.notify.address = reinterpret_cast<const void*>(&NotifyFirst);
    second.notify.address = reinterpret_cast<const void*>(&NotifySecond);
    description.libraries = {first, second};
    description.dllCommands = {{"", "GetCurrentProcessId"}, {"", "NoSuchFunctionAnywhere"}, {"kernel32", "NoSuchFunction"}};
    description.constants.AddText("Empty", "");
    description.codeBase.address = reinterpret_cast<const void*>(&CleanUp);
    std::vector<uint8_t> templates = WriteTemplateSegment(OneWindow()).bytes;
    if (which == "truncated-templates") templates.resize(templates.size() - 3);
    if (which == "garbled-templates") templates[8 + 4 * 4 + 4] ^= 0x7F;  // the window's record count
    description.templateSegment = templates;
    // The entries application code reaches the heap and property access through.
    description.runtimeEntries[5].address = reinterpret_cast<const void*>(&runtime::EntryWriteProperty);
    description.runtimeEntries[6].address = reinterpret_cast<const void*>(&heap::Allocate);
    description.runtimeEntries[7].address = reinterpret_cast<const void*>(&heap::Reallocate);
    return description;
}

DWORD WINAPI ExitFromThread(void*) {
    runtime::ExitProgram(9);
    return 0;
}

const runtime::RuntimeEntryTable* entries = nullptr;

// A library's idle callback (service 1012) ends the loop that ran it; so does a timer, when no
// callback runs.
void IdleCallback(uint32_t) {
    Log("idle callback");
    PostQuitMessage(0);
}

void CALLBACK EndLoop(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

void RunLoopBriefly() {
    UINT_PTR timer = SetTimer(nullptr, 0, 500, &EndLoop);
    forms::RunMainLoop();
    KillTimer(nullptr, timer);
}

// Exit while a library still has a window in the runtime's window list (service 1012) and a
// window object it never deleted (service 1007): the exit sequence leaves neither behind.
void ExitReleasesLibraryWindows() {
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR ownProcedure = GetWindowLongPtrA(window, GWLP_WNDPROC);
    const uint32_t entry[3] = {HandleWord(window), CodeWordOf(&IdleCallback), 0};
    runtime::RuntimeService(kServiceAddChildWindow, reinterpret_cast<intptr_t>(entry), 0);
    if (!runtime::RuntimeService(kServiceWrapWindow, reinterpret_cast<intptr_t>(window), 0)) Log("not wrapped");
    if (GetWindowLongPtrA(window, GWLP_WNDPROC) == ownProcedure) Log("wrapping left the window as it was");
    RunLoopBriefly();
    runtime::RunExitSequence();
    Log("exit sequence done");
    RunLoopBriefly();
    Log(GetWindowLongPtrA(window, GWLP_WNDPROC) == ownProcedure ? "window object released" : "window object left");
    DestroyWindow(window);
}

// An exit request from another thread while the exit sequence runs just returns: the sequence
// goes on and the first exit code stands.
DWORD WINAPI SecondExitRequest(void*) {
    runtime::ExitProgram(9);
    Log("second exit request returned");
    return 0;
}

void CleanUpAskingToExitAgain() {
    Log("cleanup on main thread");
    HANDLE thread = CreateThread(nullptr, 0, &SecondExitRequest, nullptr, 0, nullptr);
    // Messages sent to the main thread's windows are handled while it waits, as in a message loop.
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    CloseHandle(thread);
}

// Far more than a 32-bit process can ever get in one block.
constexpr uint32_t kImpossibleSize = 0x7FFFFFF0;

int Entry() {
    auto helper = &runtime::EntryRuntimeHelper;
    helper(runtime::kHelperStartRuntime);
    helper(runtime::kHelperRegisterCleanup, &CleanUp);
    Log("started");
    if (mode == "runtime-error") RaiseRuntimeErrorCode(5);
    if (mode == "exit") runtime::ExitProgram(7);
    if (mode == "exit-releases-library-windows") ExitReleasesLibraryWindows();
    if (mode == "second-exit-during-exit") {
        helper(runtime::kHelperRegisterCleanup, &CleanUpAskingToExitAgain);
        runtime::ExitProgram(7);
    }
    if (mode == "dll-stack-mismatch") {
        // GetCurrentProcessId takes no argument: the word pushed here stays on the stack.
        runtime::CallDll(0, 0x1234u);
        Log("returned from a mismatched DLL call");
    }
    if (mode == "address-beyond-a-word") {
        // The program's own data lies above 4 GB in a 64-bit build, beyond every word.
        static char beyond[16];
        AddressWord(beyond);
        Log("an address beyond 4 GB went into a word");
    }
    if (mode == "running") {
        char directory[MAX_PATH] = {}, program[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, directory);
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        *std::strrchr(program, '\\') = '\0';
        Log(lstrcmpiA(directory, program) == 0 ? "current directory is the program's" : "current directory elsewhere");
        // OLE is already initialised on this thread: a further initialisation only counts up.
        HRESULT ole = OleInitialize(nullptr);
        Log(ole == S_FALSE ? "OLE initialised" : "OLE not initialised");
        if (SUCCEEDED(ole)) OleUninitialize();
        Log(uint32_t(runtime::CallDll(0)) == GetCurrentProcessId() ? "dll call balanced" : "dll call wrong result");
        runtime::ExitProgram(0);
    }
    if (mode == "dll-missing-default") runtime::CallDll(1);
    if (mode == "dll-missing-named") runtime::CallDll(2);
    if (mode == "startup-window") runtime::EntryLoadStartupWindow(kWindowId);
    if (mode == "allocate-impossible") entries->allocate(kImpossibleSize);
    if (mode == "reallocate-impossible") entries->reallocate(entries->allocate(16), kImpossibleSize);
    // Property writes that cannot reach their unit; the window is described but not loaded.
    const uint32_t button = UnitIdOf(OneWindow()[0], "b");
    if (mode == "write-unknown-window") entries->writeProperty(0x52010999, button, 0, -1, 5, 0);
    if (mode == "write-unknown-unit") entries->writeProperty(kWindowId, 0x16000999, 0, -1, 5, 0);
    if (mode == "write-unloaded-own-property") entries->writeProperty(kWindowId, button, 8, -1, 0, 0);
    if (mode == "exit-from-thread") {
        CloseHandle(CreateThread(nullptr, 0, &ExitFromThread, nullptr, 0, nullptr));
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    mode = argv[1];
    logPath = argv[2];
    static MemoryImage image(ImageFor(mode));
    entries = &image.Entries();
    forms::InstallFormsEngine();
    runtime::RunApplication(image.Header(), &Entry);
}
