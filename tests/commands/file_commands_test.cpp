// The file commands on real files in a folder with a GBK name: sizes and times of the first
// match, whole files read and written, sharing with other handles, and every failure path giving
// its empty result instead of an error.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/low_memory.h"
#include "tests/commands/command_arguments.h"

namespace ruvelto::testing {
namespace {

const std::string kData = "\xCA\xFD\xBE\xDD";      // 数据
const std::string kFolder = "\xCE\xC4\xBC\xFE";    // 文件
const std::string kPicture = "\xCD\xBC\xC6\xAC";   // 图片

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "ruvelto-" + kFolder + "-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    void TearDown() override {
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string path = folder + "\\" + entry.cFileName;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryA(path.c_str());
                else DeleteFileA(path.c_str());
            } while (FindNextFileA(search, &entry));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string Path(const std::string& name) const { return folder + "\\" + name; }
    void Put(const std::string& name, const std::string& bytes) const {
        HANDLE f = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD n = 0;
        if (!bytes.empty()) WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(f);
    }
    std::string Contents(const std::string& name) const {
        HANDLE f = CreateFileA(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return "<missing>";
        std::string s;
        char buffer[4096];
        DWORD n;
        while (::ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n) s.append(buffer, n);
        CloseHandle(f);
        return s;
    }
    // A file whose length passes 4 GiB without taking the disk space (its bytes are never read).
    bool PutHuge(const std::string& name, int64_t length) const {
        HANDLE f = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        LARGE_INTEGER at;
        at.QuadPart = length;
        const bool ok = SetFilePointerEx(f, at, nullptr, FILE_BEGIN) && SetEndOfFile(f);
        CloseHandle(f);
        return ok;
    }

    int32_t Size(const std::string& name) {
        const ValueRecord r = CallCore(kGetFileSize, {args.Text(name)});
        EXPECT_EQ(r.type, kTypeInt);
        return static_cast<int32_t>(r.lo);
    }
    std::vector<uint8_t> Read(const std::string& name) {
        const ValueRecord r = CallCore(kReadFile, {args.Text(name)});
        EXPECT_EQ(r.type, kTypeBytes);
        return TakeBytes(r);
    }

    std::string folder;
    ArgumentStore args;
};

std::vector<uint8_t> BytesOf(const std::string& s) { return {s.begin(), s.end()}; }

TEST_F(FileCommands, SizeIsTheFirstMatchesLowWordOrMinusOne) {
    Put(kData + ".bin", std::string("\0\1\2\3\4", 5));
    Put("other.txt", "1234567");
    ASSERT_TRUE(CreateDirectoryA(Path(kPicture).c_str(), nullptr));
    struct Case {
        std::string name;
        int32_t size;
    };
    const Case cases[] = {
        {Path(kData + ".bin"), 5},
        {Path(kData + ".b?n"), 5},   // wildcards: the first match counts
        {Path("*.txt"), 7},
        {Path(kPicture), 0},         // a directory
        {Path("missing.bin"), -1},
        {Path("*.none"), -1},
        {folder + "\\no-such-folder\\x.bin", -1},
        {"", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Size(c.name), c.size);
    }
    // An omitted argument is a missing name, not a crash.
    EXPECT_EQ(static_cast<int32_t>(CallCore(kGetFileSize, {}).lo), -1);
}

TEST_F(FileCommands, SizeOfAFileOver4GiBWrapsToItsLowWord) {
    if (!PutHuge("huge.bin", 0x100000007LL)) GTEST_SKIP() << "the file system cannot hold a sparse 4 GiB file";
    EXPECT_EQ(Size(Path("huge.bin")), 7);
}

TEST_F(FileCommands, TimeIsTheLocalLastWriteTimeOrTheEarliestDate) {
    Put(kData + ".bin", "x");
    // Written at 2021-03-04 05:06:07 local time.
    SYSTEMTIME local{2021, 3, 4, 4, 5, 6, 7, 0};
    FILETIME localTime, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
    HANDLE f = CreateFileA(Path(kData + ".bin").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(f, nullptr, nullptr, &utc));
    CloseHandle(f);

    const double expected = 44259 + (5 * 3600 + 6 * 60 + 7) / 86400.0;  // days since 1899-12-30
    for (const std::string& name : {Path(kData + ".bin"), Path("*.bin")}) {
        const ValueRecord r = CallCore(kGetFileTime, {args.Text(name)});
        EXPECT_EQ(r.type, kTypeDateTime);
        EXPECT_NEAR(DoubleOf(r), expected, 0.5 / 86400) << name;
    }
    for (const std::string& name : {Path("missing.bin"), std::string()}) {
        const ValueRecord r = CallCore(kGetFileTime, {args.Text(name)});
        EXPECT_EQ(r.type, kTypeDateTime);
        EXPECT_EQ(DoubleOf(r), -657434.0) << name;  // 0100-01-01 00:00:00
    }
}

TEST_F(FileCommands, ReadGivesTheWholeFileInAHeapBlockOfItsOwn) {
    const std::string bytes("\0\xFF" "abc\0\x80\x5C", 8);
    Put(kPicture + ".dat", bytes);
    const ValueRecord r = CallCore(kReadFile, {args.Text(Path(kPicture + ".dat"))});
    ASSERT_NE(r.lo, 0u);
    EXPECT_EQ(low_memory::SizeOf(Pointer<void>(r.lo)), 8 + bytes.size());
    EXPECT_EQ(TakeBytes(r), BytesOf(bytes));
}

TEST_F(FileCommands, ReadGivesTheEmptyByteSetWhenThereIsNothingToRead) {
    Put("empty.dat", "");
    ASSERT_TRUE(CreateDirectoryA(Path(kPicture).c_str(), nullptr));
    for (const std::string& name : {std::string(), Path("missing.dat"), Path("empty.dat"), Path(kPicture), Path("*.dat")}) {
        SCOPED_TRACE(name);
        const ValueRecord r = CallCore(kReadFile, {args.Text(name)});
        EXPECT_EQ(r.type, kTypeBytes);
        EXPECT_EQ(r.lo, 0u);
    }
}

TEST_F(FileCommands, ReadSharesTheFileWithReadersButNotWithWriters) {
    Put("shared.dat", "shared");
    HANDLE reader = CreateFileA(Path("shared.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Read(Path("shared.dat")), BytesOf("shared"));
    CloseHandle(reader);

    // Someone is writing it: reading now could see half a file, so nothing is read.
    HANDLE writer = CreateFileA(Path("shared.dat").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Read(Path("shared.dat")).empty());
    CloseHandle(writer);
    EXPECT_EQ(Read(Path("shared.dat")), BytesOf("shared"));
}

TEST_F(FileCommands, ReadOfAFileTooLongForAByteSetGivesTheEmptyByteSet) {
    // Whole-file reads of several GiB cannot fit a 32-bit process; the program must go on.
    if (!PutHuge("huge.bin", 0x100000007LL)) GTEST_SKIP() << "the file system cannot hold a sparse 4 GiB file";
    const uint64_t before = heap::GetCounters().allocated;
    EXPECT_TRUE(Read(Path("huge.bin")).empty());
    EXPECT_EQ(heap::GetCounters().allocated, before);
}

TEST_F(FileCommands, WriteCreatesOrTruncatesAndWritesEachByteSetInOrder) {
    Put(kData + ".out", "a much longer earlier content");
    const ValueRecord written = CallCore(kWriteFile, {args.Text(Path(kData + ".out")), args.Bytes(BytesOf("ab")),
                                                      args.Bytes({}), ValueRecord{0, 0, kTypeBytes},
                                                      args.Bytes(BytesOf(std::string("\0c", 2)))});
    EXPECT_EQ(written.type, kTypeBool);
    EXPECT_EQ(written.lo, 1u);
    EXPECT_EQ(Contents(kData + ".out"), std::string("ab\0c", 4));

    // Nothing to write still leaves an empty file behind.
    for (std::vector<ValueRecord> call : {std::vector<ValueRecord>{args.Text(Path("none.out"))},
                                          std::vector<ValueRecord>{args.Text(Path("empty.out")), args.Bytes({})}}) {
        EXPECT_EQ(CallCore(kWriteFile, call).lo, 1u);
    }
    EXPECT_EQ(Contents("none.out"), "");
    EXPECT_EQ(Contents("empty.out"), "");
}

TEST_F(FileCommands, WriteGivesFalseWhenTheFileCannotBeHadAlone) {
    ASSERT_TRUE(CreateDirectoryA(Path(kPicture).c_str(), nullptr));
    Put("busy.out", "kept");
    HANDLE other = CreateFileA(Path("busy.out").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    for (const std::string& name : {std::string(), Path("busy.out"), Path(kPicture), folder + "\\no-such-folder\\x.out"}) {
        SCOPED_TRACE(name);
        const ValueRecord r = CallCore(kWriteFile, {args.Text(name), args.Bytes(BytesOf("new"))});
        EXPECT_EQ(r.type, kTypeBool);
        EXPECT_EQ(r.lo, 0u);
    }
    CloseHandle(other);
    EXPECT_EQ(Contents("busy.out"), "kept");
    EXPECT_EQ(GetFileAttributesA((folder + "\\no-such-folder").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace ruvelto::testing
