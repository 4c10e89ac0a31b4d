// velkor-count --class-sweep: a recording counted once with every size class on every channel, so
// that a count far from the hatchery's own figure can be traced to a class set wrongly.
//
// Ten whole counts, in parallel. Count k puts every channel k classes above its report's class,
// wrapping round after 9: count 0 is the plain count itself, and after ten counts each channel has
// been counted with each class. (Channels meet only at their borders, where a run may merge into
// a segment of the channel beside it; so a channel's figure for a class is the count of the sweep
// that produced it, which `--class` with the same classes for every channel repeats exactly.)
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "core/core_state.h"
#include "core/fish_classes.h"
#include "replay/frame_endings.h"
#include "settings/recorded_figures.h"
#include "tools/velkor-count/channel_values.h"
#include "tools/velkor-count/count_recording.h"

namespace velkor {

using VerdictCounts = std::array<int32_t, endingVerdictCount>;

// One channel counted with one class.
struct SweepCell {
    int32_t total = 0;
    VerdictCounts verdicts{};
};

struct ClassSweep {
    std::string recording;
    int32_t channels = 0;
    int32_t lines = 0, frames = 0, frameWidth = 0;
    int32_t counterType = -1;
    int64_t damagedLines = 0;
    ChannelArray<std::string> names{};
    ChannelArray<int32_t> reportClass{};
    RecordedFigures recorded;
    ChannelArray<std::array<SweepCell, fishClassCount>> cells{};  // [channel][class]
};

// The classes of count k (0..9): every channel k classes above its report's class, wrapping.
ChannelArray<int32_t> sweepClasses(const ChannelArray<int32_t>& reportClass, int32_t channels,
                                   int32_t k);

// Counts `recording` with every class on `workers` threads (frame width and counter type from
// `options`; its classes are not used). `references` are checked against the recording's channels
// once it is open: a channel it does not have is a usage error in the result. Never raises.
CountResult countClassSweep(const std::string& recording, const CountOptions& options,
                            const GivenPerChannel& references, size_t workers, ClassSweep& sweep);

}  // namespace velkor
