// The temporary folder a benchmark writes its generated session into, removed when the benchmark
// program ends, and the options of the four-channel sessions the benchmarks count: channels of
// about 490 pixels over a 2100 mm counter.
#pragma once

#include <stdlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "tools/velkor-synth/session_writer.h"

namespace velkor::bench {

class BenchSessionFolder {
public:
    explicit BenchSessionFolder(const char* prefix) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path_ = pattern;
    }
    ~BenchSessionFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchSessionFolder(const BenchSessionFolder&) = delete;
    BenchSessionFolder& operator=(const BenchSessionFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A session of `lines` lines (or the number in the environment variable `linesVariable`, when
// set) written as FOLDER/session, with the size class of each channel and the mean fish per
// second per channel.
inline synth::SessionOptions fourChannelSession(const BenchSessionFolder& folder, uint64_t seed,
                                                const char* linesVariable, int64_t lines,
                                                std::array<int32_t, 4> classes, double density) {
    synth::SessionOptions o;
    o.out = (folder.path() / "session").string();
    o.scene.seed = seed;
    const char* env = std::getenv(linesVariable);
    o.scene.lines = env ? std::atoll(env) : lines;
    o.scene.channels = {{10, 500, classes[0], 0},
                        {510, 1000, classes[1], 0},
                        {1010, 1500, classes[2], 0},
                        {1510, 2000, classes[3], 0}};
    o.scene.counterWidthMm = 2100;
    o.scene.density = density;
    return o;
}

}  // namespace velkor::bench
