// What every fuzz target shares: a scratch folder of its own process (in /dev/shm when there is
// one, so the many small files never touch a disk), files written fresh for each input, and the
// check that stops the run with a message when an invariant does not hold.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace velkor::fuzz {

// The process's scratch folder, made at the first call and removed when the process ends.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "velkor-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("velkor fuzz: cannot make a scratch folder");
            std::abort();
        }
        static std::filesystem::path made = pattern;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(made, ec);
        });
        return made;
    }();
    return folder;
}

// Empties the scratch folder: every input starts from no files at all.
inline void clearScratch() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder(), ec))
        std::filesystem::remove_all(entry.path(), ec);
}

inline std::string scratchFile(const std::string& name) {
    return (scratchFolder() / name).string();
}

inline void writeFile(const std::string& path, const void* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) ||
        std::fclose(f) != 0) {
        std::perror(("velkor fuzz: cannot write " + path).c_str());
        std::abort();
    }
}

inline void writeFile(const std::string& path, std::string_view text) {
    writeFile(path, text.data(), text.size());
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Files in the scratch folder, by name.
inline std::vector<std::string> scratchNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder()))
        names.push_back(entry.path().filename().string());
    return names;
}

// A broken invariant is a finding: say which and stop, so libFuzzer keeps the input.
#define VELKOR_FUZZ_CHECK(cond)                                                            \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "velkor fuzz: invariant broken at %s:%d: %s\n", __FILE__, \
                         __LINE__, #cond);                                                 \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

}  // namespace velkor::fuzz
