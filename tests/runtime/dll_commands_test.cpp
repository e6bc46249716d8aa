// DLL commands resolved by name against the real system libraries: ordinals, the default
// library list (and the libraries it tries and lets go again), absolute paths, system libraries
// from the system folder only, and the cache.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image-data/memory_image.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/startup.h"

namespace ruvelto::runtime {
namespace {

enum Command : uint32_t { kShellOnly, kOrdinal, kAbsolute, kSearched, kSameFunctionAgain, kSystemByName };

class DllCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        image_data::ProgramImageDescription description;
        description.dllCommands = {{"", "SHGetPathFromIDListA"},
                            {"comctl32.dll", "#17"},
                            {"C:\\windows\\system32\\shell32.dll", "ShellExecuteA"},
                            {"shell32.dll", "ShellExecuteA"},
                            {"", "SHGetPathFromIDListA"},
                            {"version", "GetFileVersionInfoSizeA"}};
        description.constants.AddText("Empty", "");
        image = new image_data::MemoryImage(description);
        UseProgramImage(&image->Header());
        EntryRuntimeHelper(kHelperStartRuntime);
    }
    static void TearDownTestSuite() {
        heap::ClearReadOnlyRanges();
        UseProgramImage(nullptr);
        delete image;
    }
    static image_data::MemoryImage* image;
};
image_data::MemoryImage* DllCommands::image;

TEST_F(DllCommands, EmptyLibraryNameSearchesTheDefaultListAndReleasesTheMisses) {
    // Mpr.dll is tried before Shell32.dll; it must not stay loaded for nothing.
    ASSERT_EQ(GetModuleHandleA("mpr.dll"), nullptr) << "the test needs a process without Mpr.dll";
    void* address = ResolveDllCommand(kShellOnly);
    HMODULE shell = GetModuleHandleA("shell32.dll");
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(address, reinterpret_cast<void*>(GetProcAddress(shell, "SHGetPathFromIDListA")));
    EXPECT_EQ(State().dllCommands[kShellOnly].module, shell);
    EXPECT_EQ(GetModuleHandleA("mpr.dll"), nullptr);
    for (const char* name : {"kernel32.dll", "gdi32.dll", "user32.dll", "advapi32.dll"})
        EXPECT_EQ(GetProcAddress(GetModuleHandleA(name), "SHGetPathFromIDListA"), nullptr) << name;
    // The same function under another number is resolved on its own.
    EXPECT_EQ(State().dllCommands[kSameFunctionAgain].address, nullptr);
}

TEST_F(DllCommands, HashNamesAnOrdinal) {
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    void* expected = reinterpret_cast<void*>(GetProcAddress(comctl, MAKEINTRESOURCEA(17)));
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(ResolveDllCommand(kOrdinal), expected);
    FreeLibrary(comctl);
}

TEST_F(DllCommands, AbsoluteAndSearchedLibraryFiles) {
    void* absolute = ResolveDllCommand(kAbsolute);
    void* searched = ResolveDllCommand(kSearched);
    EXPECT_NE(absolute, nullptr);
    EXPECT_EQ(absolute, searched);
    EXPECT_EQ(absolute, reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("shell32.dll"), "ShellExecuteA")));
}

TEST_F(DllCommands, ASecondCallUsesTheCacheAndLoadsNothing) {
    void* first = ResolveDllCommand(kSameFunctionAgain);
    ASSERT_NE(first, nullptr);
    // Were the name looked up again, this one would not be found and raise a runtime error.
    DllCommandSlot& slot = State().dllCommands[kSameFunctionAgain];
    const char* name = slot.functionName;
    slot.functionName = "NoSuchFunctionAnywhere";
    EXPECT_EQ(ResolveDllCommand(kSameFunctionAgain), first);
    slot.functionName = name;
}

// The test build's Unix path as a Windows one (Wine's Z: drive).
std::string WindowsPathOf(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

TEST_F(DllCommands, ASystemLibraryComesFromTheSystemFolderNeverFromTheProgramFolder) {
    // The program sits in a writable folder where a library named like a system one was planted.
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string folder = std::string(temp) + "ruvelto-planted-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string planted = folder + "\\version.dll";
    ASSERT_TRUE(CopyFileA(WindowsPathOf(RUVELTO_PLANTED_LIBRARY).c_str(), planted.c_str(), FALSE));
    // Wine prefers its own copy of a system library to any file of that name; as on Windows, a
    // copy found on disk must be the one that loads, or a planted library could never run here.
    HKEY overrides = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &overrides, nullptr),
              ERROR_SUCCESS);
    const char nativeFirst[] = "native,builtin";
    RegSetValueExA(overrides, "version", 0, REG_SZ, reinterpret_cast<const BYTE*>(nativeFirst), sizeof nativeFirst);
    struct OverrideRemoved {
        HKEY key;
        ~OverrideRemoved() {
            RegDeleteValueA(key, "version");
            RegCloseKey(key);
        }
    } removed{overrides};
    // The planted copy does load, and answers its own value.
    HMODULE plantedModule = LoadLibraryA(planted.c_str());
    ASSERT_NE(plantedModule, nullptr);
    using Size = DWORD(WINAPI*)(const char*, DWORD*);
    auto plantedSize =
        reinterpret_cast<Size>(reinterpret_cast<void*>(GetProcAddress(plantedModule, "GetFileVersionInfoSizeA")));
    ASSERT_NE(plantedSize, nullptr);
    ASSERT_EQ(plantedSize("x", nullptr), 0x5EEDu);
    FreeLibrary(plantedModule);

    const std::string programDirectory = State().programDirectory;
    State().programDirectory = folder;
    void* address = ResolveDllCommand(kSystemByName);
    State().programDirectory = programDirectory;

    char loaded[MAX_PATH] = {}, system[MAX_PATH] = {};
    GetModuleFileNameA(static_cast<HMODULE>(State().dllCommands[kSystemByName].module), loaded, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, loaded, static_cast<int>(std::strlen(system)), system, -1),
              CSTR_EQUAL)
        << loaded;
    DWORD unused = 0;
    EXPECT_NE(reinterpret_cast<Size>(address)(planted.c_str(), &unused), 0x5EEDu) << "the planted copy ran";
    DeleteFileA(planted.c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace ruvelto::runtime
