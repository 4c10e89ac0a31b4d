// Files read and written byte for byte, for tests that build or inspect files by hand, by name
// or through an open stream.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace velkor::test {

// Replaces the file's content with `bytes`.
inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file's bytes; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Everything written to the open stream so far, read back from its start.
inline std::string contentOf(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string text;
    char block[4096];
    for (size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) text.append(block, n);
    return text;
}

}  // namespace velkor::test
