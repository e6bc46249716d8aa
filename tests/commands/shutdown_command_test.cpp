// ShutdownSystem with the platform's calls stood in for: this machine must never be shut down,
// restarted or logged off by a test. The stand-ins record every call and answer as told; the
// privilege step alone also runs on the real platform, where it changes only this process's token.
#include <windows.h>

#include "commands/shutdown_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/commands/command_arguments.h"

namespace ruvelto::testing {
namespace {

using shell_commands::ShutdownPlatform;

// What the stand-ins answer, and what they were asked.
struct Script {
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    BOOL openToken = TRUE;
    BOOL lookup = TRUE;
    BOOL adjust = TRUE;
    DWORD errorAfterAdjust = ERROR_SUCCESS;
    BOOL shutdownResult = TRUE;
    std::vector<std::string> calls;
    LUID luid{};
    TOKEN_PRIVILEGES adjusted{};
    UINT exitFlags = 0;
    BOOL suspend = -1, force = -1;
};
Script script;

const HANDLE kFakeToken = reinterpret_cast<HANDLE>(0x1234);

BOOL WINAPI StandInVersion(OSVERSIONINFOA* info) {
    script.calls.push_back("version");
    info->dwPlatformId = script.platformId;
    return TRUE;
}
HANDLE WINAPI StandInCurrentProcess() { return GetCurrentProcess(); }
BOOL WINAPI StandInOpenToken(HANDLE, DWORD access, HANDLE* token) {
    script.calls.push_back("open token " + std::to_string(access));
    *token = script.openToken ? kFakeToken : nullptr;
    return script.openToken;
}
BOOL WINAPI StandInLookUp(const char*, const char* name, LUID* luid) {
    script.calls.push_back(std::string("look up ") + name);
    luid->LowPart = 19;
    return script.lookup;
}
BOOL WINAPI StandInAdjust(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* state, DWORD, TOKEN_PRIVILEGES*, DWORD*) {
    script.calls.push_back(std::string("adjust") + (token == kFakeToken && !disableAll ? "" : " (wrong token)"));
    script.adjusted = *state;
    SetLastError(script.errorAfterAdjust);
    return script.adjust;
}
DWORD WINAPI StandInLastError() { return GetLastError(); }
BOOL WINAPI StandInClose(HANDLE handle) {
    script.calls.push_back(handle == kFakeToken ? "close token" : "close something else");
    return TRUE;
}
BOOL WINAPI StandInExitWindows(UINT flags, DWORD) {
    script.calls.push_back("exit windows");
    script.exitFlags = flags;
    return script.shutdownResult;
}
BOOL WINAPI StandInPowerState(BOOL suspend, BOOL force) {
    script.calls.push_back("power state");
    script.suspend = suspend;
    script.force = force;
    return script.shutdownResult;
}

const ShutdownPlatform kStandIn{
    &StandInVersion, &StandInCurrentProcess, &StandInOpenToken,   &StandInLookUp,     &StandInAdjust,
    &StandInLastError, &StandInClose,        &StandInExitWindows, &StandInPowerState,
};

const std::vector<std::string> kPrivilegeStep = {"version", "open token 40", "look up SeShutdownPrivilege", "adjust",
                                                 "close token"};

ValueRecord Shutdown(std::vector<ValueRecord> args) {
    ValueRecord result{};
    shell_commands::ShutdownSystemOn(kStandIn, &result, static_cast<int32_t>(args.size()), args.data());
    EXPECT_EQ(result.type, kTypeBool);
    return result;
}

class ShutdownSystem : public ::testing::Test {
protected:
    void SetUp() override { script = Script{}; }
};

TEST_F(ShutdownSystem, ModesOutsideOneToFiveAskNothingOfThePlatform) {
    ASSERT_EQ(image_data::kShellLibraryCommands[0], &shell_commands::ShutdownSystem);  // never called here
    for (std::vector<ValueRecord> call : {std::vector<ValueRecord>{Int(0)}, std::vector<ValueRecord>{Int(6)},
                                          std::vector<ValueRecord>{Int(-1), Bool(true)}, std::vector<ValueRecord>{}}) {
        EXPECT_EQ(Shutdown(call).lo, 0u);
    }
    EXPECT_TRUE(script.calls.empty());
}

TEST_F(ShutdownSystem, EachModeMakesItsPlatformCallAfterThePrivilegeStep) {
    struct Case {
        int32_t mode;
        std::vector<ValueRecord> force;
        DWORD platform;
        UINT exitFlags;      // for modes 1-3
        BOOL suspend, forced;  // for modes 4-5
    };
    const Case cases[] = {
        {1, {}, VER_PLATFORM_WIN32_NT, EWX_POWEROFF, -1, -1},
        {1, {Bool(true)}, VER_PLATFORM_WIN32_NT, EWX_POWEROFF | EWX_FORCE, -1, -1},
        {1, {}, VER_PLATFORM_WIN32_WINDOWS, EWX_SHUTDOWN, -1, -1},
        {2, {Bool(false)}, VER_PLATFORM_WIN32_NT, EWX_REBOOT, -1, -1},
        {3, {Bool(true)}, VER_PLATFORM_WIN32_NT, EWX_LOGOFF | EWX_FORCE, -1, -1},
        {4, {}, VER_PLATFORM_WIN32_NT, 0, TRUE, FALSE},
        {5, {Bool(true)}, VER_PLATFORM_WIN32_NT, 0, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " platform " + std::to_string(c.platform));
        script = Script{};
        script.platformId = c.platform;
        std::vector<ValueRecord> call{Int(c.mode)};
        call.insert(call.end(), c.force.begin(), c.force.end());
        EXPECT_EQ(Shutdown(call).lo, 1u);
        std::vector<std::string> expected = c.platform == VER_PLATFORM_WIN32_NT ? kPrivilegeStep
                                                                                : std::vector<std::string>{"version"};
        expected.push_back(c.mode <= 3 ? "exit windows" : "power state");
        EXPECT_EQ(script.calls, expected);
        EXPECT_EQ(script.exitFlags, c.exitFlags);
        EXPECT_EQ(script.suspend, c.suspend);
        EXPECT_EQ(script.force, c.forced);
    }
    // The privilege asked for: the one looked up, enabled.
    EXPECT_EQ(script.adjusted.PrivilegeCount, 1u);
    EXPECT_EQ(script.adjusted.Privileges[0].Luid.LowPart, 19u);
    EXPECT_EQ(script.adjusted.Privileges[0].Attributes, static_cast<DWORD>(SE_PRIVILEGE_ENABLED));
}

TEST_F(ShutdownSystem, APrivilegeStepThatFailsStopsBeforeThePlatformCall) {
    struct Case {
        const char* name;
        void (*fail)(Script&);
    };
    const Case cases[] = {
        {"token not opened", [](Script& s) { s.openToken = FALSE; }},
        {"privilege unknown", [](Script& s) { s.lookup = FALSE; }},
        {"adjustment refused", [](Script& s) { s.adjust = FALSE; }},
        // The adjustment "succeeds" without enabling anything: only the error tells.
        {"not all assigned", [](Script& s) { s.errorAfterAdjust = ERROR_NOT_ALL_ASSIGNED; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script = Script{};
        c.fail(script);
        EXPECT_EQ(Shutdown({Int(2), Bool(true)}).lo, 0u);
        for (const std::string& call : script.calls) EXPECT_NE(call, "exit windows");
        if (script.openToken) {
            EXPECT_EQ(script.calls.back(), "close token");
        }
    }
}

TEST_F(ShutdownSystem, AFailedPlatformCallGivesFalse) {
    script.shutdownResult = FALSE;
    EXPECT_EQ(Shutdown({Int(3)}).lo, 0u);
    EXPECT_EQ(Shutdown({Int(4)}).lo, 0u);
}

TEST(ShutdownPrivilege, TheRealStepEnablesThePrivilegeInThisProcessesToken) {
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_ADJUST_PRIVILEGES, &token));
    LUID shutdown;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &shutdown));
    auto enabled = [&] {
        PRIVILEGE_SET set{1, PRIVILEGE_SET_ALL_NECESSARY, {{shutdown, 0}}};
        BOOL result = FALSE;
        PrivilegeCheck(token, &set, &result);
        return result != FALSE;
    };
    // Start from a token where the privilege is held but off, so that the step has work to do.
    TOKEN_PRIVILEGES off{1, {{shutdown, 0}}};
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &off, 0, nullptr, nullptr));
    if (GetLastError() == ERROR_NOT_ALL_ASSIGNED) {
        // Where the platform does not grant the privilege the step must say so.
        EXPECT_FALSE(shell_commands::EnableShutdownPrivilege(shell_commands::SystemShutdownPlatform()));
    } else {
        ASSERT_FALSE(enabled());
        EXPECT_TRUE(shell_commands::EnableShutdownPrivilege(shell_commands::SystemShutdownPlatform()));
        EXPECT_TRUE(enabled());
    }
    CloseHandle(token);
}

}  // namespace
}  // namespace ruvelto::testing
