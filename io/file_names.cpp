// UTF-8 names to paths and back, and opening files by such names.
#include "io/file_names.h"

#include <system_error>

namespace velkor {

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileHandle openForReading(const std::string& utf8Name) {
    return FileHandle(std::fopen(pathFromUtf8(utf8Name).c_str(), "rb"));
}

FileHandle createNewFile(const std::string& utf8Name) {
    // "x": fails when the name exists, atomically with the creation.
    return FileHandle(std::fopen(pathFromUtf8(utf8Name).c_str(), "wbx"));
}

void removeQuietly(const std::string& utf8Name) noexcept {
    std::error_code ignored;
    std::filesystem::remove(pathFromUtf8(utf8Name), ignored);
}

}  // namespace velkor
