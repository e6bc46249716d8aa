// The checked DLL call. Written in assembly because only there is "the stack position" a
// thing the code can record and compare: compiled C++ restores the stack from its frame.
#include "runtime/dll_call.h"

#include "runtime/entry_table.h"
#include "runtime/runtime_error.h"

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
