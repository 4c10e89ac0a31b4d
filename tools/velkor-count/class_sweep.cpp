// The class sweep's table: each channel's total and verdicts with every class, from the ten counts
// of sweep_counts.h.
#include "tools/velkor-count/class_sweep.h"

#include "tools/velkor-count/sweep_counts.h"

namespace velkor {

ChannelArray<int32_t> sweepClasses(const ChannelArray<int32_t>& reportClass, int32_t channels,
                                   int32_t k) {
    ChannelArray<int32_t> classes{-1, -1, -1, -1, -1};
    for (int32_t c = 1; c <= channels; ++c) classes[c] = (reportClass[c] + k) % fishClassCount;
    return classes;
}

CountResult countClassSweep(const std::string& recording, const CountOptions& options,
                            const GivenPerChannel& references, size_t workers, ClassSweep& sweep) {
    CountResult result;
    SweepCounts counts;
    if (openSweepCounts(recording, options, counts, result.errors) != SweepOpening::open)
        return result;
    const ReplayEngine& first = counts.engines[0]->engine;
    const SessionReport& report = first.report();
    sweep.recording = recording;
    sweep.channels = counts.channels;
    const std::string problem =
        missingChannelProblem("--reference", references, recording, sweep.channels);
    if (!problem.empty()) {
        result.errors = "velkor-count: " + problem + "\n";
        result.usageError = true;
        return result;
    }
    sweep.lines = first.lineCount();
    sweep.frames = counts.frames;
    sweep.frameWidth = first.frameWidth();
    sweep.counterType = options.counterType;
    sweep.names = report.counterNames;
    sweep.reportClass = report.sizeGroup;
    sweep.recorded = report.recorded;

    std::string damaged;
    result.errors = runSweepCounts(
        recording, options, workers, counts, nullptr, [&](size_t k, const ReplayEngine& engine) {
            const ChannelArray<int32_t> classes =
                sweepClasses(sweep.reportClass, sweep.channels, static_cast<int32_t>(k));
            for (int32_t c = 1; c <= sweep.channels; ++c)
                sweep.cells[c][classes[c]] = {engine.channelTotal(c), engine.verdictTally()[c]};
            if (k == 0) {
                damaged = damagedLinesNote(recording, engine);
                sweep.damagedLines = engine.damagedLines();
            }
        });
    if (!result.errors.empty() || (options.stop != nullptr && *options.stop)) return result;
    result.errors = damaged;
    result.ok = true;
    return result;
}

}  // namespace velkor
