// The class sweep of one channel against a hand count, for the window: the ten counts of
// `velkor-count --class-sweep` (count k sets every channel k classes above its report's class, so
// the figures are the tool's own), with the progress readable while they run and a stop that
// ends them after the frame being read, opening included.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "core/fish_classes.h"
#include "tools/velkor-count/count_recording.h"
#include "tools/velkor-count/sweep_counts.h"

namespace velkor {

// One class of the channel compared with the hand count.
struct HandCountRow {
    int32_t sizeClass = 0;
    int32_t replay = 0;                       // the channel's count with that class
    int64_t difference = 0;                   // replay - hand count
    std::optional<double> differencePercent;  // of the hand count; none for a hand count of 0
    bool reportClass = false;                 // the class the report names
    bool nearest = false;                     // the class nearest to the hand count
};

struct ChannelSweep {
    std::string recording;
    int32_t channel = 0;
    int64_t handCount = 0;
    int32_t channels = 0;
    int32_t frames = 0, frameWidth = 0, counterType = -1;
    int32_t reportClass = 0, nearestClass = 0;
    std::array<HandCountRow, fishClassCount> rows{};  // by class 0..9
};

// Sweeps channel `channel` of `recording` with frames of options.frameWidth and counter type
// options.counterType on `workers` threads (its classes are not used). Stops early when
// *options.stop is set: the result is then neither ok nor has errors. A channel the recording
// does not have is an error naming the recording. Never raises.
CountResult sweepChannel(const std::string& recording, int32_t channel, int64_t handCount,
                         const CountOptions& options, size_t workers, SweepProgress* progress,
                         ChannelSweep& sweep);

// The rows of `sweep` from its channel's totals per class: the difference of each to the hand
// count, the report's class and the nearest one, as velkor-count --reference finds them.
void compareWithHandCount(const std::array<int32_t, fishClassCount>& totals, ChannelSweep& sweep);

}  // namespace velkor
