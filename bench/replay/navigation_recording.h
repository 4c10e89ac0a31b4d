// The recording the navigation benchmarks move through. VELKOR_BENCH_NAV_RECORDING names a .blb
// with its .mse beside it (for example a day-long session written by velkor-synth); without it a
// realistic 4-channel session (490 px per channel, 2100 mm, 5 fish/s per channel) of
// VELKOR_BENCH_NAV_LINES lines (default 20 million) is generated into a temporary folder. Frames
// are 2001 lines wide, the widest picture.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "tools/velkor-synth/session_writer.h"

namespace velkor::bench {

inline constexpr int32_t navigationFrameWidth = 2001;

class NavigationRecording {
public:
    NavigationRecording() {
        if (const char* given = std::getenv("VELKOR_BENCH_NAV_RECORDING")) {
            blb = given;
        } else {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "velkor-nav-XXXXXX").string();
            if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
            folder_ = pattern;
            synth::SessionOptions o;
            o.out = (folder_ / "session").string();
            o.scene.seed = 14;
            const char* env = std::getenv("VELKOR_BENCH_NAV_LINES");
            o.scene.lines = env ? std::atoll(env) : 20'000'000;
            o.scene.channels = {
                {10, 500, 2, 0}, {510, 1000, 2, 0}, {1010, 1500, 2, 0}, {1510, 2000, 2, 0}};
            o.scene.counterWidthMm = 2100;
            o.scene.density = 5;
            synth::writeSession(o);
            blb = synth::recordingName(o.out);
        }
        bytes = static_cast<int64_t>(std::filesystem::file_size(blb));
    }
    ~NavigationRecording() {
        if (folder_.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    NavigationRecording(const NavigationRecording&) = delete;
    NavigationRecording& operator=(const NavigationRecording&) = delete;

    std::string blb;
    int64_t bytes = 0;

private:
    std::filesystem::path folder_;
};

inline NavigationRecording& navigationRecording() {
    static NavigationRecording r;
    return r;
}

}  // namespace velkor::bench
