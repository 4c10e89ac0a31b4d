// The ten counts of a class sweep, made alike for velkor-count --class-sweep and for a hand
// count's sweep of one channel in the window: the first count opens the recording (a compressed
// one is unpacked there, once), the others read what it unpacked, and each group of counts reads
// the recording's blocks side by side, once for all of them. Count k sets every channel k classes
// above its report's class (sweepClasses).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/core_state.h"
#include "core/fish_classes.h"
#include "replay/shared_blocks.h"
#include "replay/whole_count.h"
#include "tools/velkor-count/count_recording.h"

namespace velkor {

// How far a sweep has come: frames read by all its counts, of `total` (0 until the recording is
// open). Written by the sweep's threads, read from any.
struct SweepProgress {
    std::atomic<int64_t> done{0};
    std::atomic<int64_t> total{0};
};

// The counts of one sweep, once the first has opened the recording.
struct SweepCounts {
    std::array<std::unique_ptr<HeadlessEngine>, fishClassCount> engines;  // [0] is open
    std::unique_ptr<SharedBlocks> blocks;
    std::string unpacked;  // the recording the other counts open
    ChannelArray<int32_t> reportClass{};
    int32_t channels = 0;
    int32_t frames = 0;
};

enum class SweepOpening { open, failed, stopped };

// Opens `recording` with the first count (frames of options.frameWidth, counter type
// options.counterType). Failed: `error` holds the line that says why. Stopped: *options.stop was
// set while the lines were being counted. Never raises.
SweepOpening openSweepCounts(const std::string& recording, const CountOptions& options,
                             SweepCounts& counts, std::string& error);

// Opens the other counts and steps all ten to the last frame in `workers` groups, adding to
// `progress` (may be null) after every frame; `finished(k, engine)` is called for each count k
// that reached the end, on the thread of its group. Returns the lines of the counts that failed,
// an error that every count met told once; empty when none failed. Stops after the frame being
// read once *options.stop is set (without calling `finished`).
std::string runSweepCounts(const std::string& recording, const CountOptions& options,
                           size_t workers, SweepCounts& counts, SweepProgress* progress,
                           const std::function<void(size_t, const ReplayEngine&)>& finished);

}  // namespace velkor
