// An output file that replaces its target only when complete: the bytes go to a new temporary
// file with a unique name in the target's folder, which is flushed to disk and renamed over the
// target on commit, and removed otherwise. A write that fails half-way (full disk, damaged input)
// never leaves a partial or broken target. Every file the program writes goes through it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "io/file_names.h"

namespace velkor {

class ReplacingFile {
public:
    // Creates the temporary file beside `target` (a UTF-8 name). Raises FileAccessError naming
    // the target and its folder when the folder does not allow it.
    explicit ReplacingFile(std::string target);
    ~ReplacingFile();  // discards the temporary file unless committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Raises FileAccessError naming the target with the system's reason.
    void write(const void* data, size_t size);
    // Flushes, syncs to disk, closes and renames the temporary file over the target.
    void commit();
    // Closes and removes the temporary file; the target is untouched.
    void discard() noexcept;

    const std::string& target() const { return target_; }
    const std::string& temporaryName() const { return tempName_; }

private:
    [[noreturn]] void fail(const std::string& what, int err);

    std::string target_;
    std::string tempName_;
    FileHandle file_;
};

// Writes `bytes` as the whole new content of `target` through a ReplacingFile.
void replaceFileContent(const std::string& target, std::string_view bytes);

}  // namespace velkor
