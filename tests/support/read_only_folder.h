// A folder that cannot be written even by root, as a read-only archive: a temporary folder that the
// test fills first, then mounted over itself read-only (a bind mount). Mounting is a Linux call
// and needs root: `mounted()` says whether the test can go on.
#pragma once

#ifdef __linux__
#include <sys/mount.h>

#include <string>

#include "io/file_names.h"
#include "temp_dir.h"

namespace velkor::test {

class ReadOnlyFolder {
public:
    // The folder is writable until makeReadOnly().
    ReadOnlyFolder() = default;
    ~ReadOnlyFolder() {
        if (mounted_) umount2(dir_.path().c_str(), MNT_DETACH);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool makeReadOnly() {
        const char* p = dir_.path().c_str();
        if (mount(p, p, nullptr, MS_BIND, nullptr) != 0) return false;
        mounted_ = true;
        return mount(nullptr, p, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    bool mounted() const { return mounted_; }
    std::string file(const std::string& name) const { return dir_.file(name); }
    std::string path() const { return utf8FromPath(dir_.path()); }

private:
    TempDir dir_;
    bool mounted_ = false;
};

}  // namespace velkor::test
#endif
