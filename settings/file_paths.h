// File names inside the program are UTF-8 strings; the file system wants its own path type.
#pragma once

#include <filesystem>
#include <string>

namespace velkor {

inline std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace velkor
