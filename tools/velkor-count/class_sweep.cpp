// The ten counts of a class sweep.
#include "tools/velkor-count/class_sweep.h"

#include <exception>
#include <memory>

#include "replay/whole_count.h"
#include "tools/velkor-count/ordered_work.h"

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
    std::array<std::unique_ptr<HeadlessEngine>, fishClassCount> engines;
    auto makeEngine = [&] {
        auto headless = std::make_unique<HeadlessEngine>(options.frameWidth, options.counterType);
        headless->engine.setExplaining(true);  // for the verdicts of every class
        return headless;
    };
    // The first count opens the recording: a compressed one is unpacked there, once, and the
    // other counts read what it unpacked.
    std::string unpacked;
    try {
        engines[0] = makeEngine();
        ReplayEngine& first = engines[0]->engine;
        if (!first.OpenBlbFile(recording)) {
            result.errors = recording + ": " + first.message() + "\n";
            return result;
        }
        const SessionReport& report = first.report();
        sweep.recording = recording;
        sweep.channels = first.core().channelCount;
        const std::string problem =
            missingChannelProblem("--reference", references, recording, sweep.channels);
        if (!problem.empty()) {
            result.errors = "velkor-count: " + problem + "\n";
            result.usageError = true;
            return result;
        }
        sweep.lines = first.lineCount();
        sweep.frames = first.frameCount();
        sweep.frameWidth = first.frameWidth();
        sweep.counterType = options.counterType;
        sweep.names = report.counterNames;
        sweep.reportClass = report.sizeGroup;
        sweep.recorded = report.recorded;
        unpacked = first.recordingName();
    } catch (const std::exception& e) {
        result.errors = countingError(recording, e) + "\n";
        return result;
    }

    std::array<std::string, fishClassCount> errors;
    std::string damaged;
    runInOrder(
        fishClassCount, workers,
        [&](size_t k) {
            const ChannelArray<int32_t> classes =
                sweepClasses(sweep.reportClass, sweep.channels, static_cast<int32_t>(k));
            try {
                if (k > 0) {
                    engines[k] = makeEngine();
                    engines[k]->engine.setClassOverrides(classes);
                    if (!engines[k]->engine.OpenBlbFile(unpacked)) {
                        errors[k] = recording + ": " + engines[k]->engine.message();
                        return;
                    }
                }
                ReplayEngine& engine = engines[k]->engine;
                for (int32_t f = 2; f <= engine.frameCount(); ++f) {
                    if (options.stop != nullptr && *options.stop) return;
                    engine.FarwardbtnClick();
                }
                for (int32_t c = 1; c <= sweep.channels; ++c)
                    sweep.cells[c][classes[c]] = {engine.channelTotal(c), engine.verdictTally()[c]};
                if (k == 0) {
                    damaged = damagedLinesNote(recording, engine);
                    sweep.damagedLines = engine.damagedLines();
                }
            } catch (const std::exception& e) {
                errors[k] = countingError(recording, e);
            }
            engines[k].reset();
        },
        [](size_t) {});

    // A damaged recording fails every count alike: its error is told once.
    std::string told;
    for (const std::string& e : errors) {
        if (e.empty() || e == told) continue;
        result.errors += e + "\n";
        told = e;
    }
    if (!result.errors.empty() || (options.stop != nullptr && *options.stop)) return result;
    result.errors = damaged;
    result.ok = true;
    return result;
}

}  // namespace velkor
