// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace velkor::test {

class TempDir {
public:
    TempDir() {
        // A fresh name from a random number, taken only if no folder of that name exists yet.
        std::random_device entropy;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            std::filesystem::path candidate = base / ("velkor-test-" + std::to_string(entropy()));
            if (std::filesystem::create_directory(candidate)) path_ = candidate;
        }
        if (path_.empty()) throw std::runtime_error("no temporary folder");
    }
    ~TempDir() {
        // A test may have made the folder read-only.
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The UTF-8 name of `name` (UTF-8) in the folder, as the program names files everywhere.
    std::string file(const std::string& name) const {
        // In the system's own form ("a\\b" on Windows), as the program lists files in a folder.
        const std::u8string text =
            (path_ / std::u8string(name.begin(), name.end())).make_preferred().u8string();
        return std::string(text.begin(), text.end());
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace velkor::test
