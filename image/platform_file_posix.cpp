// POSIX file layer for the native host build.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "image/platform_file.h"

namespace ruvelto::image {

PlatformFile OpenPlatformFile(const char* path, bool forWriting) {
    const int fd = forWriting ? ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)
                              : ::open(path, O_RDONLY | O_CLOEXEC);
    return fd < 0 ? kNoPlatformFile : fd;
}

void ClosePlatformFile(PlatformFile file) {
    if (file != kNoPlatformFile) ::close(static_cast<int>(file));
}

int64_t ReadPlatformFile(PlatformFile file, void* buffer, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::read(static_cast<int>(file), static_cast<char*>(buffer) + done, length - done);
        if (n < 0) return done ? static_cast<int64_t>(done) : -1;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

int64_t WritePlatformFile(PlatformFile file, const void* buffer, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(static_cast<int>(file), static_cast<const char*>(buffer) + done, length - done);
        if (n <= 0) return done ? static_cast<int64_t>(done) : -1;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

bool SeekPlatformFile(PlatformFile file, int64_t position) {
    return ::lseek(static_cast<int>(file), static_cast<off_t>(position), SEEK_SET) == position;
}

int64_t PlatformFileSize(PlatformFile file) {
    struct stat st;
    if (::fstat(static_cast<int>(file), &st) != 0) return -1;
    return st.st_size;
}

}  // namespace ruvelto::image
