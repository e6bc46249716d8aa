// DLL commands: Windows functions the application calls by number, resolved by name on first
// use and cached per number (two numbers naming the same function resolve separately).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/entry_table.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"

namespace ruvelto::runtime {
namespace {

constexpr const char kNotFoundIn[] =
    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8"
    "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0%s\xA1\xB1\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE\xA1\xB0%s\xA1\xB1";
constexpr const char kNotFound[] =
    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8"
    "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE\xA1\xB0%s\xA1\xB1";

const char* const kDefaultLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                         "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

// The path of the system's own copy of a library named without a folder; empty when the system
// folder holds no library of that name. System libraries are loaded from there only: in the
// program's folder or on the search path a planted copy of the same name would run instead.
std::string SystemLibraryPath(const std::string& file) {
    if (file.empty() || file.find_first_of("\\/:") != std::string::npos) return {};
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return {};
    std::string path = std::string(folder) + "\\" + file;
    // A name without extension means a .dll, as the platform's loader takes it.
    if (file.find('.') == std::string::npos) path += ".dll";
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? path : std::string();
}

HMODULE LoadFromSystemFolder(const std::string& file) {
    const std::string path = SystemLibraryPath(file);
    return path.empty() ? nullptr : LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC Lookup(HMODULE module, const char* name) {
    if (name[0] == '#') return GetProcAddress(module, MAKEINTRESOURCEA(std::atoi(name + 1) & 0xFFFF));
    return GetProcAddress(module, name);
}

[[noreturn]] void NotFound(const char* file, const char* name) {
    char message[600];
    if (*file) std::snprintf(message, sizeof message, kNotFoundIn, file, name);
    else std::snprintf(message, sizeof message, kNotFound, name);
    RaiseRuntimeError(message, 0);
}

}  // namespace

void* ResolveDllCommand(uint32_t number) {
    RuntimeState& state = State();
    if (number >= state.dllCommands.size()) NotFound("", "");
    DllCommandSlot& slot = state.dllCommands[number];
    if (slot.address) return slot.address;
    const char* name = slot.functionName ? slot.functionName : "";
    const char* file = slot.libraryFile ? slot.libraryFile : "";

    HMODULE module = nullptr;
    FARPROC address = nullptr;
    if (!*file) {
        for (const char* library : kDefaultLibraries) {
            module = LoadFromSystemFolder(library);
            if (!module) continue;
            address = Lookup(module, name);
            if (address) break;
            FreeLibrary(module);
            module = nullptr;
        }
    } else {
        if (std::string(file).find(':') != std::string::npos) {
            module = LoadLibraryA(file);
        } else if (const std::string system = SystemLibraryPath(file); !system.empty()) {
            module = LoadLibraryExA(system.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        } else {
            std::string candidates[] = {state.programDirectory + "\\" + file, state.moduleDirectory + file, file};
            for (const std::string& candidate : candidates)
                if ((module = LoadLibraryA(candidate.c_str()))) break;
        }
        if (module) address = Lookup(module, name);
    }
    if (!address) {
        if (module) FreeLibrary(module);
        NotFound(file, name);
    }
    slot.module = module;
    slot.address = reinterpret_cast<void*>(address);
    return slot.address;
}

}  // namespace ruvelto::runtime

// The slot-1 thunk: resolve the number in EAX, then jump into the function with the caller's
// stack untouched, so the function's own return goes straight back to the caller.
#define RUVELTO_STRINGIFY2(x) #x
#define RUVELTO_STRINGIFY(x) RUVELTO_STRINGIFY2(x)
#define RUVELTO_SYMBOL(name) RUVELTO_STRINGIFY(__USER_LABEL_PREFIX__) #name
#if UINTPTR_MAX == 0xFFFFFFFFu
extern "C" void* ruvelto_resolve_dll_command(uint32_t number) { return ruvelto::runtime::ResolveDllCommand(number); }

asm(".text\n"
    ".globl " RUVELTO_SYMBOL(ruvelto_call_dll_command) "\n"
    RUVELTO_SYMBOL(ruvelto_call_dll_command) ":\n"
    "    pushl %eax\n"
    "    call " RUVELTO_SYMBOL(ruvelto_resolve_dll_command) "\n"
    "    addl $4, %esp\n"
    "    jmp *%eax\n");
#else
// The resolver takes the Windows convention, so that it keeps every register the caller of a
// DLL function expects kept; the thunk itself keeps the argument registers across the call.
extern "C" void* RUVELTO_DLL_CONVENTION ruvelto_resolve_dll_command(uint32_t number) {
    return ruvelto::runtime::ResolveDllCommand(number);
}

asm(".text\n"
    ".globl " RUVELTO_SYMBOL(ruvelto_call_dll_command) "\n"
    RUVELTO_SYMBOL(ruvelto_call_dll_command) ":\n"
    "    pushq %rcx\n"
    "    pushq %rdx\n"
    "    pushq %r8\n"
    "    pushq %r9\n"
    "    subq $0x68, %rsp\n"            // 32 bytes of home space, xmm0-3, 16-byte alignment
    "    movdqu %xmm0, 0x20(%rsp)\n"
    "    movdqu %xmm1, 0x30(%rsp)\n"
    "    movdqu %xmm2, 0x40(%rsp)\n"
    "    movdqu %xmm3, 0x50(%rsp)\n"
    "    movl %eax, %ecx\n"
    "    call " RUVELTO_SYMBOL(ruvelto_resolve_dll_command) "\n"
    "    movdqu 0x20(%rsp), %xmm0\n"
    "    movdqu 0x30(%rsp), %xmm1\n"
    "    movdqu 0x40(%rsp), %xmm2\n"
    "    movdqu 0x50(%rsp), %xmm3\n"
    "    addq $0x68, %rsp\n"
    "    popq %r9\n"
    "    popq %r8\n"
    "    popq %rdx\n"
    "    popq %rcx\n"
    "    jmp *%rax\n");
#endif
