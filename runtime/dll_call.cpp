// The checked DLL call. In 32-bit code it is written in assembly because only there is "the stack
// position" a thing the code can record and compare: compiled C++ restores the stack from its
// frame. In 64-bit code the caller removes the arguments itself, so no function can unbalance
// the stack and the call needs no check.
#include "runtime/dll_call.h"

#include "runtime/entry_table.h"
#include "runtime/runtime_error.h"

#if UINTPTR_MAX == 0xFFFFFFFFu

extern "C" [[noreturn]] void ruvelto_dll_stack_error() { ruvelto::RaiseRuntimeErrorCode(6); }

#define RUVELTO_STRINGIFY2(x) #x
#define RUVELTO_STRINGIFY(x) RUVELTO_STRINGIFY2(x)
#define RUVELTO_SYMBOL(name) RUVELTO_STRINGIFY(__USER_LABEL_PREFIX__) #name
asm(".text\n"
    ".globl " RUVELTO_SYMBOL(ruvelto_call_dll_checked) "\n"
    RUVELTO_SYMBOL(ruvelto_call_dll_checked) ":\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    movl 12(%ebp), %ecx\n"  // argument count
    "    movl 16(%ebp), %edi\n"  // argument words
    "    movl %esp, %esi\n"      // the stack position before the arguments
    "1:  testl %ecx, %ecx\n"
    "    jz 2f\n"
    "    decl %ecx\n"
    "    pushl (%edi,%ecx,4)\n"
    "    jmp 1b\n"
    "2:  movl 8(%ebp), %eax\n"   // the DLL-command number, as slot 1 takes it
    "    call " RUVELTO_SYMBOL(ruvelto_call_dll_command) "\n"
    "    cmpl %esi, %esp\n"
    "    jne 3f\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebp\n"
    "    ret\n"
    "3:  movl %esi, %esp\n"
    "    andl $-16, %esp\n"
    "    call " RUVELTO_SYMBOL(ruvelto_dll_stack_error) "\n");

#else

// Each word goes in as a 64-bit argument, sign-extended as Windows widens handles (addresses in
// words lie below 2 GB, so they come out the same). Passing more arguments than the function
// takes is harmless in the 64-bit convention, where the caller owns the argument area.
extern "C" uint64_t ruvelto_call_dll_checked(uint32_t number, uint32_t argumentCount, const uint32_t* arguments) {
    constexpr uint32_t kMost = 16;
    if (argumentCount > kMost) ruvelto::RaiseRuntimeErrorCode(6);
    int64_t a[kMost] = {};
    for (uint32_t i = 0; i < argumentCount; ++i) a[i] = static_cast<int32_t>(arguments[i]);
    using Function = uint64_t(RUVELTO_DLL_CONVENTION*)(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t, int64_t,
                                                       int64_t, int64_t, int64_t, int64_t, int64_t, int64_t, int64_t,
                                                       int64_t, int64_t);
    auto function = reinterpret_cast<Function>(ruvelto::runtime::ResolveDllCommand(number));
    return function(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11], a[12], a[13], a[14],
                    a[15]);
}

#endif
