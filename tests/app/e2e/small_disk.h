// Folders that refuse writes the way real ones do, for the output-folder tests: a small file
// system mounted on a folder (a disk that fills up), or a read-only one. Mounting needs the
// privilege to mount; where the machine does not give it, Mounted() is false and the test says so.
#pragma once
#include <string>

namespace ruvelto::testing {

class SmallDisk {
public:
    // Mounts a memory file system of `bytes` on the (existing, empty) Unix folder; read-only when
    // asked, with nothing in it.
    SmallDisk(const std::string& unixFolder, long bytes, bool readOnly = false);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    // Gives the disk more room, keeping what is on it.
    bool Grow(long bytes);

private:
    std::string folder_;
    bool mounted_ = false;
};

}  // namespace ruvelto::testing
