// The recording the navigation benchmarks move through. VELKOR_BENCH_NAV_RECORDING names a .blb
// with its .mse beside it (for example a day-long session written by velkor-synth); without it a
// realistic 4-channel session (490 px per channel, 2100 mm, 5 fish/s per channel) of
// VELKOR_BENCH_NAV_LINES lines (default 20 million) is generated into a temporary folder. Frames
// are 2001 lines wide, the widest picture.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/replay/bench_session_folder.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::bench {

inline constexpr int32_t navigationFrameWidth = 2001;

class NavigationRecording {
public:
    NavigationRecording() {
        if (const char* given = std::getenv("VELKOR_BENCH_NAV_RECORDING")) {
            blb = given;
        } else {
            folder_ = std::make_unique<BenchSessionFolder>("velkor-nav");
            const synth::SessionOptions o = fourChannelSession(
                *folder_, 14, "VELKOR_BENCH_NAV_LINES", 20'000'000, {2, 2, 2, 2}, 5);
            synth::writeSession(o);
            blb = synth::recordingName(o.out);
        }
        bytes = static_cast<int64_t>(std::filesystem::file_size(blb));
    }
    NavigationRecording(const NavigationRecording&) = delete;
    NavigationRecording& operator=(const NavigationRecording&) = delete;

    std::string blb;
    int64_t bytes = 0;

private:
    std::unique_ptr<BenchSessionFolder> folder_;  // only for a generated recording
};

inline NavigationRecording& navigationRecording() {
    static NavigationRecording r;
    return r;
}

}  // namespace velkor::bench
