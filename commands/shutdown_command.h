// The shell library's one command: power off, restart, log off, suspend or hibernate the machine.
// The platform calls it makes are gathered in a table, so that tests can stand in for them and
// never end the session they run in.
#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/value_record.h"

namespace ruvelto::shell_commands {

// Modes: 1 power off, 2 restart, 3 log off, 4 suspend, 5 hibernate.
struct ShutdownPlatform {
    BOOL(WINAPI* getVersionEx)(OSVERSIONINFOA* info);
    HANDLE(WINAPI* getCurrentProcess)();
    BOOL(WINAPI* openProcessToken)(HANDLE process, DWORD access, HANDLE* token);
    BOOL(WINAPI* lookupPrivilegeValue)(const char* system, const char* name, LUID* luid);
    BOOL(WINAPI* adjustTokenPrivileges)(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* state, DWORD length,
                                        TOKEN_PRIVILEGES* previous, DWORD* returnLength);
    DWORD(WINAPI* getLastError)();
    BOOL(WINAPI* closeHandle)(HANDLE handle);
    BOOL(WINAPI* exitWindowsEx)(UINT flags, DWORD reason);
    BOOL(WINAPI* setSystemPowerState)(BOOL suspend, BOOL force);
};

// The real platform.
const ShutdownPlatform& SystemShutdownPlatform();

// On the NT family: enables "SeShutdownPrivilege" in the process token; false when the token
// cannot be opened, the privilege is unknown or the adjustment reports any error.
bool EnableShutdownPrivilege(const ShutdownPlatform& platform);

// The command on the given platform: (mode, [force]) -> logical.
void ShutdownSystemOn(const ShutdownPlatform& platform, ValueRecord* result, int32_t count, ValueRecord* args);

// Shell library command 0, on the real platform.
void ShutdownSystem(ValueRecord* result, int32_t count, ValueRecord* args);

}  // namespace ruvelto::shell_commands
