// The runtime entry table's own entry points (the others are the heap, the error report and
// exit), and the runtime helpers reached through slot 12.
#pragma once
#include <cstdint>

#include "runtime/program_image.h"
#include "runtime/value_record.h"

// Slot 1: the DLL-command number in EAX, the function's own arguments on the stack exactly as
// for a direct call; resolves the command and jumps into it, so the function returns straight to
// the caller. Not callable from C++ directly; use runtime::CallDllCommand.
extern "C" void ruvelto_call_dll_command();

namespace ruvelto::runtime {

// Slots 2 and 3: a zeroed result record, the entry called, the record handed back.
ValueRecord EntryCallCommand(CommandEntry entry, int32_t count, ValueRecord* args);
// Slots 4 and 5: property access by window id, unit id, index and font sub-field (-1 for none).
uint64_t EntryReadProperty(uint32_t window, uint32_t unit, int32_t index, int32_t subField);
void EntryWriteProperty(uint32_t window, uint32_t unit, int32_t index, int32_t subField, uint32_t lo, uint32_t hi);
// Slot 10.
void EntryRunMainLoop();
// Slot 11: a window that is unknown or fails to load raises "载入启动窗口失败".
void EntryLoadStartupWindow(uint32_t windowId);
// Slot 12: helper number, then the helper's own arguments.
intptr_t EntryRuntimeHelper(int32_t helper, ...);

enum RuntimeHelper : int32_t {
    kHelperFindFile = 0,
    kHelperEndFileSearch = 1,
    kHelperMakeArrayWritable = 2,
    kHelperRegisterCleanup = 3,
    kHelperReadTypeProperty = 4,
    kHelperWriteTypeProperty = 5,
    kHelperStartRuntime = 6,
};

// Helper 0. pattern null or "" continues the search held in *searchHandle. Returns a new heap
// text with the file name, or null when no (further) entry matches.
char* FindFile(const char* pattern, uint32_t attributeMask, int32_t anyFile, intptr_t* searchHandle);
// Helper 1.
void EndFileSearch(intptr_t searchHandle);

// DLL command number -> function address, resolved once and cached per number. A function that
// cannot be found raises a runtime error and does not return.
void* ResolveDllCommand(uint32_t number);

// The calling convention of Windows DLL functions: stdcall in 32-bit code, the one 64-bit
// Windows convention in 64-bit code.
#if UINTPTR_MAX == 0xFFFFFFFFu
#define RUVELTO_DLL_CONVENTION __attribute__((stdcall))
#else
#define RUVELTO_DLL_CONVENTION __attribute__((ms_abi))
#endif

// A DLL command called from C++: resolves it and calls it with the Windows calling convention.
template <typename R, typename... A>
R CallDllCommand(uint32_t number, A... args) {
    using Function = R(RUVELTO_DLL_CONVENTION*)(A...);
    return reinterpret_cast<Function>(ResolveDllCommand(number))(args...);
}

}  // namespace ruvelto::runtime
