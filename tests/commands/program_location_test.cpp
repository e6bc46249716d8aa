// GetRunDirectory and GetExecutableName: the module path split at its last backslash, for this
// test program and for a copy of a program in a folder with a GBK name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/commands/command_arguments.h"
#include "tests/runtime/child_process.h"

namespace ruvelto::testing {
namespace {

const std::string kFolder = "\xB3\xCC\xD0\xF2\xC4\xBF\xC2\xBC";  // 程序目录
const std::string kShallow = "\x9C\x5C";                          // 淺, its trail byte is 0x5C

TEST(ProgramLocation, IsTheModulePathSplitAtItsLastBackslash) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const std::string path = module;
    const size_t slash = path.rfind('\\');
    ASSERT_NE(slash, std::string::npos);
    const ValueRecord directory = CallCore(kGetRunDirectory, {});
    const ValueRecord name = CallCore(kGetExecutableName, {});
    EXPECT_EQ(directory.type, kTypeText);
    EXPECT_EQ(name.type, kTypeText);
    // Each call hands over a copy of its own.
    const ValueRecord again = CallCore(kGetRunDirectory, {});
    EXPECT_NE(again.lo, directory.lo);
    EXPECT_EQ(TakeText(again), path.substr(0, slash));
    EXPECT_EQ(TakeText(directory), path.substr(0, slash));
    EXPECT_EQ(TakeText(name), path.substr(slash + 1));
}

// The copy is named 淺.exe.so: a split at the last 0x5C byte would cut the name in half.
TEST(ProgramLocation, WorksForGbkFolderAndFileNames) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + kFolder + "-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string name = kShallow + ".exe.so";
    const std::string program = folder + "\\" + name;
    const std::string log = folder + "\\location.log";
    ASSERT_TRUE(CopyFileA(WindowsPath(RUVELTO_BINARY_DIR "/tests/commands/message_box_child.exe.so").c_str(),
                          program.c_str(), FALSE));
    {
        ChildProcess child;
        ASSERT_TRUE(child.Start(program, "location " + log));
        EXPECT_EQ(child.WaitForExit(20000), 0u);
    }
    const std::string seen = ReadTextFile(log);
    DeleteFileA(log.c_str());
    DeleteFileA(program.c_str());
    RemoveDirectoryA(folder.c_str());
    EXPECT_EQ(seen, folder + "\n" + name + "\n");
}

}  // namespace
}  // namespace ruvelto::testing
