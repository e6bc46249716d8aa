#include "tests/app/e2e/small_disk.h"

#include <cstdlib>

namespace ruvelto::testing {
namespace {

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

SmallDisk::SmallDisk(const std::string& unixFolder, long bytes, bool readOnly) : folder_(unixFolder) {
    const std::string options = std::string(readOnly ? "ro," : "") + "size=" + std::to_string(bytes);
    mounted_ = Shell("mount -t tmpfs -o " + options + " ruvelto-test '" + folder_ + "'");
}

SmallDisk::~SmallDisk() {
    // Lazily: the program may still be looking at the folder.
    if (mounted_) Shell("umount -l '" + folder_ + "'");
}

bool SmallDisk::Grow(long bytes) {
    return mounted_ && Shell("mount -o remount,size=" + std::to_string(bytes) + " '" + folder_ + "'");
}

}  // namespace ruvelto::testing
