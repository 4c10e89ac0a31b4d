// An output file that replaces its target only when complete: the bytes go to a temporary file
// in the target's folder, which is renamed over the target on commit and removed otherwise. A
// write that fails half-way (full disk, damaged input) never leaves a partial or broken target.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace velkor {

class ReplacingFile {
  public:
    // Creates the temporary file beside `target`. Raises FileAccessError naming the target and
    // its folder when the folder does not allow it.
    explicit ReplacingFile(std::string target);
    ~ReplacingFile();  // discards the temporary file unless committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Raises FileAccessError naming the target with the system's reason.
    void write(const void* data, size_t size);
    // Flushes, closes and renames the temporary file over the target.
    void commit();
    // Closes and removes the temporary file; the target is untouched.
    void discard() noexcept;

    const std::string& target() const { return target_; }
    const std::string& temporaryName() const { return tempName_; }

  private:
    [[noreturn]] void fail(const std::string& what, int err);

    std::string target_;
    std::string tempName_;
    std::FILE* file_ = nullptr;
};

}  // namespace velkor
