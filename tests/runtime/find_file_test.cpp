// Runtime helper 0 on a real folder: the any-file flag skips every directory (also "." and ".."),
// attribute masks select, a finished search closes itself, and continuing without a search
// asks the system nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "runtime/entry_table.h"
#include "runtime/heap.h"

namespace ruvelto::runtime {
namespace {

class FindFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "ruvelto_find_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "\\sub.jpg").c_str(), nullptr);
        for (const char* name : {"a.jpg", "b.jpg", "c.png"}) Touch(name);
        Touch("hidden.jpg");
        SetFileAttributesA((folder + "\\hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    void TearDown() override {
        for (const char* name : {"a.jpg", "b.jpg", "c.png", "hidden.jpg"}) {
            SetFileAttributesA((folder + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder + "\\" + name).c_str());
        }
        RemoveDirectoryA((folder + "\\sub.jpg").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void Touch(const char* name) {
        HANDLE h = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
    // Every name the search yields, through the entry table's helper slot.
    std::set<std::string> All(const std::string& pattern, uint32_t mask, int32_t anyFile) {
        std::set<std::string> names;
        intptr_t handle = 0;
        auto* name = reinterpret_cast<char*>(EntryRuntimeHelper(kHelperFindFile, pattern.c_str(), mask, anyFile, &handle));
        while (name) {
            names.insert(name);
            heap::Free(name);
            name = reinterpret_cast<char*>(EntryRuntimeHelper(kHelperFindFile, "", mask, anyFile, &handle));
        }
        EXPECT_EQ(handle, 0) << "a finished search closes its handle and clears the variable";
        return names;
    }

    std::string folder;
};

TEST_F(FindFileTest, AnyFileSkipsDirectoriesIncludingDotEntries) {
    EXPECT_EQ(All(folder + "\\*", 0, 1), (std::set<std::string>{"a.jpg", "b.jpg", "c.png", "hidden.jpg"}));
    EXPECT_EQ(All(folder + "\\*.jpg", 0x10, 1), (std::set<std::string>{"a.jpg", "b.jpg", "hidden.jpg"}));
}

TEST_F(FindFileTest, AttributeMasks) {
    std::set<std::string> dirs = All(folder + "\\*", FILE_ATTRIBUTE_DIRECTORY, 0);
    EXPECT_EQ(dirs, (std::set<std::string>{".", "..", "sub.jpg"}));
    EXPECT_EQ(All(folder + "\\*", FILE_ATTRIBUTE_HIDDEN, 0), (std::set<std::string>{"hidden.jpg"}));
    // Bits outside 0x37 do not count: 0x80 alone is a mask of 0, which asks for plain files.
    std::set<std::string> plain = All(folder + "\\*", 0x80, 0);
    EXPECT_EQ(plain.count("hidden.jpg"), 0u);
    EXPECT_EQ(plain.count("sub.jpg"), 0u);
}

TEST_F(FindFileTest, NothingMatchesAndNoSearchToContinue) {
    intptr_t handle = 0;
    EXPECT_EQ(FindFile((folder + "\\*.gif").c_str(), 0, 1, &handle), nullptr);
    EXPECT_EQ(handle, 0);

    SetLastError(0x1234);
    EXPECT_EQ(FindFile("", 0, 1, &handle), nullptr);
    EXPECT_EQ(FindFile(nullptr, 0, 1, &handle), nullptr);
    EXPECT_EQ(GetLastError(), 0x1234u) << "no system call was made";
}

TEST_F(FindFileTest, ANewPatternReplacesTheOpenSearch) {
    intptr_t handle = 0;
    char* first = FindFile((folder + "\\*.png").c_str(), 0, 1, &handle);
    ASSERT_NE(first, nullptr);
    heap::Free(first);
    intptr_t pngSearch = handle;
    char* again = FindFile((folder + "\\*.png").c_str(), 0, 1, &handle);
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again, "c.png");
    heap::Free(again);
    EXPECT_NE(handle, 0);
    EntryRuntimeHelper(kHelperEndFileSearch, handle);
    (void)pngSearch;
}

}  // namespace
}  // namespace ruvelto::runtime
