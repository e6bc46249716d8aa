#include "commands/shutdown_command.h"

#include "commands/command_values.h"

namespace ruvelto::shell_commands {
namespace {

// The ANSI wrappers are not declared with the exact parameter types the table uses.
BOOL WINAPI LookupPrivilege(const char* system, const char* name, LUID* luid) {
    return LookupPrivilegeValueA(system, name, luid);
}
BOOL WINAPI VersionOf(OSVERSIONINFOA* info) { return GetVersionExA(info); }

bool OnNtFamily(const ShutdownPlatform& platform) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return platform.getVersionEx(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

const ShutdownPlatform& SystemShutdownPlatform() {
    static const ShutdownPlatform platform{
        &VersionOf,   &GetCurrentProcess, &OpenProcessToken, &LookupPrivilege,    &AdjustTokenPrivileges,
        &GetLastError, &CloseHandle,      &ExitWindowsEx,    &SetSystemPowerState,
    };
    return platform;
}

bool EnableShutdownPrivilege(const ShutdownPlatform& platform) {
    HANDLE token = nullptr;
    if (!platform.openProcessToken(platform.getCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = false;
    if (platform.lookupPrivilegeValue(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        // The call succeeds even when it could not enable the privilege; only the error says so.
        const BOOL adjusted = platform.adjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        enabled = adjusted && platform.getLastError() == ERROR_SUCCESS;
    }
    platform.closeHandle(token);
    return enabled;
}

void ShutdownSystemOn(const ShutdownPlatform& platform, ValueRecord* result, int32_t count, ValueRecord* args) {
    const commands::Arguments a(count, args);
    result->type = kTypeBool;
    result->lo = 0;
    const int32_t mode = a.Int(0);
    if (mode < 1 || mode > 5) return;
    const bool force = a.Flag(1);
    const bool nt = OnNtFamily(platform);
    if (nt && !EnableShutdownPrivilege(platform)) return;
    BOOL done = FALSE;
    if (mode <= 3) {
        UINT flags = mode == 1 ? (nt ? EWX_POWEROFF : EWX_SHUTDOWN) : mode == 2 ? EWX_REBOOT : EWX_LOGOFF;
        if (force) flags |= EWX_FORCE;
        done = platform.exitWindowsEx(flags, 0);
    } else {
        done = platform.setSystemPowerState(mode == 4, force);
    }
    result->lo = done ? 1 : 0;
}

void ShutdownSystem(ValueRecord* result, int32_t count, ValueRecord* args) {
    ShutdownSystemOn(SystemShutdownPlatform(), result, count, args);
}

}  // namespace ruvelto::shell_commands
