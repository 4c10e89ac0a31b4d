// Sessions from the session generator for the benchmarks: four channels of about 490 pixels each
// over a 2100 mm counter, with fry of different size classes (0.3 g, 1 g, 3 g, 10 g) and a third
// of the arrivals bringing a touching second fish. The "dense" load (5 fish per second per channel)
// is a busy but realistic session; the "crowded" one (40 per second per channel) shows the cost of
// an extreme load. Each is written once per process, with its report, to a temporary folder that is
// removed at exit. VELKOR_BENCH_SYNTH_LINES sets the length (default 6,000,000 lines, about 90
// minutes of recording).
#pragma once

#include <cstdint>
#include <numeric>
#include <string>

#include "bench/replay/bench_session_folder.h"
#include "tools/velkor-synth/scene_generator.h"

namespace velkor::bench {

inline constexpr double denseFishPerSecond = 5.0;
inline constexpr double crowdedFishPerSecond = 40.0;

class GeneratedSession {
public:
    explicit GeneratedSession(double fishPerSecondPerChannel) : folder_("velkor-bench") {
        synth::SessionOptions o =
            fourChannelSession(folder_, 20260105, "VELKOR_BENCH_SYNTH_LINES", 6'000'000,
                               {1, 2, 3, 4}, fishPerSecondPerChannel);
        o.scene.touching = 0.3;
        const synth::SessionResult made = synth::writeSession(o);

        blb = synth::recordingName(o.out);
        lines = o.scene.lines;
        bytes = made.recordBytes;
        // Two header words, then per line a count word and two words per run.
        runs = (bytes / 2 - 2 - lines) / 2;
        fishDrawn = std::accumulate(made.truth.fish.begin(), made.truth.fish.end(), int64_t{0});
        generateSeconds = made.generateSeconds;
    }
    GeneratedSession(const GeneratedSession&) = delete;
    GeneratedSession& operator=(const GeneratedSession&) = delete;

    double runsPerLine() const { return static_cast<double>(runs) / static_cast<double>(lines); }
    // All channels together, per second of recording.
    double fishPerSecond() const {
        return static_cast<double>(fishDrawn) * linesPerSecond / static_cast<double>(lines);
    }

    std::string blb;
    int64_t lines = 0;
    int64_t bytes = 0;
    int64_t runs = 0;
    int64_t fishDrawn = 0;
    double generateSeconds = 0;

private:
    BenchSessionFolder folder_;
};

inline GeneratedSession& denseSession() {
    static GeneratedSession s(denseFishPerSecond);
    return s;
}
inline GeneratedSession& crowdedSession() {
    static GeneratedSession s(crowdedFishPerSecond);
    return s;
}

}  // namespace velkor::bench
