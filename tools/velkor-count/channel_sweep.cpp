// One channel's class sweep: the ten counts of velkor-count --class-sweep (sweep_counts.h), each
// step adding to the progress, the channel's totals compared with the hand count.
#include "tools/velkor-count/channel_sweep.h"

#include "settings/recorded_figures.h"
#include "tools/velkor-count/class_sweep.h"
#include "tools/velkor-count/sweep_findings.h"

namespace velkor {

void compareWithHandCount(const std::array<int32_t, fishClassCount>& totals, ChannelSweep& sweep) {
    sweep.nearestClass = nearestClass(totals, sweep.handCount, sweep.reportClass);
    for (int32_t k = 0; k < fishClassCount; ++k) {
        HandCountRow& row = sweep.rows[k];
        row.sizeClass = k;
        row.replay = totals[k];
        row.difference = totals[k] - sweep.handCount;
        row.differencePercent = differencePercent(totals[k], static_cast<int32_t>(sweep.handCount));
        row.reportClass = k == sweep.reportClass;
        row.nearest = k == sweep.nearestClass;
    }
}

CountResult sweepChannel(const std::string& recording, int32_t channel, int64_t handCount,
                         const CountOptions& options, size_t workers, SweepProgress* progress,
                         ChannelSweep& sweep) {
    CountResult result;
    SweepCounts counts;
    if (openSweepCounts(recording, options, counts, result.errors) != SweepOpening::open)
        return result;
    const ReplayEngine& first = counts.engines[0]->engine;
    sweep.recording = recording;
    sweep.channel = channel;
    sweep.handCount = handCount;
    sweep.channels = counts.channels;
    if (channel < 1 || channel > sweep.channels) {
        result.errors = recording + ": has " + std::to_string(sweep.channels) + " channel" +
                        (sweep.channels == 1 ? "" : "s") + ", not channel " +
                        std::to_string(channel) + "\n";
        return result;
    }
    sweep.frames = counts.frames;
    sweep.frameWidth = first.frameWidth();
    sweep.counterType = options.counterType;
    sweep.reportClass = counts.reportClass[channel];
    if (progress != nullptr) {
        progress->done = fishClassCount;  // frame 1 of every count is read on opening
        progress->total = int64_t(fishClassCount) * sweep.frames;
    }

    std::array<int32_t, fishClassCount> totals{};
    result.errors = runSweepCounts(
        recording, options, workers, counts, progress, [&](size_t k, const ReplayEngine& engine) {
            const ChannelArray<int32_t> classes =
                sweepClasses(counts.reportClass, counts.channels, static_cast<int32_t>(k));
            totals[classes[channel]] = engine.channelTotal(channel);
        });
    if (!result.errors.empty() || (options.stop != nullptr && *options.stop)) return result;
    compareWithHandCount(totals, sweep);
    result.ok = true;
    return result;
}

}  // namespace velkor
