// Run: start a command line as a new process, then wait for its end or until it is ready for input.
#include <windows.h>

#include "commands/system_commands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "commands/command_values.h"

namespace ruvelto::core_commands {
namespace {

// Show modes 1-6; omitted is 2 (normal), anything above 6 counts as 6 and below 1 as 1.
WORD ShowCommand(const commands::Arguments& a) {
    static const WORD kShow[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE};
    const int32_t mode = a.Given(2) ? std::clamp(a.Int(2), 1, 6) : 2;
    return kShow[mode - 1];
}

// How long a started program may take to reach its message loop before Run returns anyway.
constexpr DWORD kInputIdleWait = 1000;

}  // namespace

void Run(ValueRecord* result, int32_t count, ValueRecord* args) {
    const commands::Arguments a(count, args);
    result->type = kTypeBool;
    result->lo = 0;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = ShowCommand(a);
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    const std::string_view line = a.Text(0);
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    if (a.Flag(1)) WaitForSingleObject(process.hProcess, INFINITE);
    else WaitForInputIdle(process.hProcess, kInputIdleWait);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    result->lo = 1;
}

}  // namespace ruvelto::core_commands
