// The file layer under FileStream: Win32 handles in the Windows build, POSIX descriptors in the
// native host build. Paths are the application's own bytes (GBK Windows paths on Windows).
#pragma once
#include <cstddef>
#include <cstdint>

namespace ruvelto::image {

using PlatformFile = intptr_t;
constexpr PlatformFile kNoPlatformFile = -1;

// Opens an existing file for reading, or creates/truncates one for writing.
PlatformFile OpenPlatformFile(const char* path, bool forWriting);
void ClosePlatformFile(PlatformFile file);
// Both return the bytes transferred, or -1 on error.
int64_t ReadPlatformFile(PlatformFile file, void* buffer, size_t length);
int64_t WritePlatformFile(PlatformFile file, const void* buffer, size_t length);
// Moves to an absolute position; false on error.
bool SeekPlatformFile(PlatformFile file, int64_t position);
// The file's length, or -1.
int64_t PlatformFileSize(PlatformFile file);

}  // namespace ruvelto::image
