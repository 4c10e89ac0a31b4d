// File names inside the program are UTF-8 strings. These functions are the one place where such a
// name becomes the file system's own path type and where files are opened or created, so that a
// system with wide file names needs a branch here and nowhere else.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace velkor {

std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8FromPath(const std::filesystem::path& path);

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens an existing file for reading its bytes. Empty with errno set when it cannot be opened
// (EISDIR for a folder).
FileHandle openForReading(const std::string& utf8Name);

// Creates a new file for writing bytes; never opens a file that exists already (errno EEXIST),
// so that two writers can never share one file. Empty with errno set when it cannot be created.
FileHandle createNewFile(const std::string& utf8Name);

// Creates a new file for writing and reading back bytes, in the system's temporary folder; it
// is removed when closed. Empty with errno set when it cannot be created.
FileHandle createTemporaryFile();

// Removes a file when it exists; reports nothing, for cleaning up after a failure.
void removeQuietly(const std::string& utf8Name) noexcept;

}  // namespace velkor
