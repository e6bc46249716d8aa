// Win32 file layer: the application hands over GBK Windows paths, which the ...A functions take
// as they are.
#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "image/platform_file.h"

namespace ruvelto::image {

namespace {
HANDLE AsHandle(PlatformFile file) { return reinterpret_cast<HANDLE>(file); }

// A full disk on demand, for the tests of machines where no small file system can be mounted:
// with RUVELTO_TEST_DISK_SPACE=n in its environment, the process's picture writes put at most n
// bytes on disk in all and then fail as writes to a full disk do. Unset, nothing is limited.
// Shared by the threads that write pictures at the same time.
std::atomic<int64_t>& DiskSpaceLeft() {
    static std::atomic<int64_t> left = [] {
        char value[24] = {};
        const DWORD length = GetEnvironmentVariableA("RUVELTO_TEST_DISK_SPACE", value, sizeof value);
        return length > 0 && length < sizeof value ? std::atoll(value) : int64_t{-1};
    }();
    return left;
}
}  // namespace

PlatformFile OpenPlatformFile(const char* path, bool forWriting) {
    HANDLE h = forWriting
        ? CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
        : CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return h == INVALID_HANDLE_VALUE ? kNoPlatformFile : reinterpret_cast<PlatformFile>(h);
}

void ClosePlatformFile(PlatformFile file) {
    if (file != kNoPlatformFile) CloseHandle(AsHandle(file));
}

int64_t ReadPlatformFile(PlatformFile file, void* buffer, size_t length) {
    size_t done = 0;
    while (done < length) {
        const DWORD chunk = length - done > 0x40000000 ? 0x40000000 : static_cast<DWORD>(length - done);
        DWORD got = 0;
        if (!ReadFile(AsHandle(file), static_cast<char*>(buffer) + done, chunk, &got, nullptr))
            return done ? static_cast<int64_t>(done) : -1;
        if (got == 0) break;
        done += got;
    }
    return static_cast<int64_t>(done);
}

int64_t WritePlatformFile(PlatformFile file, const void* buffer, size_t length) {
    size_t done = 0;
    std::atomic<int64_t>& spaceLeft = DiskSpaceLeft();
    while (done < length) {
        DWORD chunk = length - done > 0x40000000 ? 0x40000000 : static_cast<DWORD>(length - done);
        // The bytes about to be written are taken off the space left before the write.
        bool limited = false;
        for (int64_t left = spaceLeft.load(); left >= 0;) {
            const DWORD taken = chunk > left ? static_cast<DWORD>(left) : chunk;
            if (spaceLeft.compare_exchange_weak(left, left - taken)) {
                chunk = taken;
                limited = true;
                break;
            }
        }
        if (chunk == 0) {
            SetLastError(ERROR_DISK_FULL);
            return done ? static_cast<int64_t>(done) : -1;
        }
        DWORD put = 0;
        const bool written = WriteFile(AsHandle(file), static_cast<const char*>(buffer) + done, chunk, &put, nullptr);
        if (limited && put < chunk) spaceLeft += chunk - put;
        if (!written || put == 0) return done ? static_cast<int64_t>(done) : -1;
        done += put;
    }
    return static_cast<int64_t>(done);
}

bool SeekPlatformFile(PlatformFile file, int64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = position;
    return SetFilePointerEx(AsHandle(file), to, nullptr, FILE_BEGIN) != 0;
}

int64_t PlatformFileSize(PlatformFile file) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(AsHandle(file), &size)) return -1;
    return size.QuadPart;
}

}  // namespace ruvelto::image
