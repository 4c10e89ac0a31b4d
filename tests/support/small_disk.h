// A file system of a given size of its own (a tmpfs mounted on a temporary folder), so that a test
// can fill it, or read its exact capacity, without touching any other disk. Mounting is a Linux
// call and needs root: `mounted()` says whether the test can go on.
#pragma once

#ifdef __linux__
#include <sys/mount.h>

#include <cstdio>
#include <string>

#include "io/file_names.h"
#include "temp_dir.h"

namespace velkor::test {

class SmallDisk {
public:
    // `size` as tmpfs takes it: "16m", "1g".
    explicit SmallDisk(const std::string& size) {
        mounted_ = mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) umount2(dir_.path().c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    std::string path() const { return utf8FromPath(dir_.path()); }
    // Fills what is left of the disk with a file named `name`; false when it cannot be made.
    bool fillUp(const std::string& name = "filler") const {
        std::FILE* filler = std::fopen((path() + "/" + name).c_str(), "wb");
        if (filler == nullptr) return false;
        const std::string block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
               std::fflush(filler) == 0) {
        }
        std::fclose(filler);
        return true;
    }

private:
    TempDir dir_;
    bool mounted_ = false;
};

}  // namespace velkor::test
#endif
