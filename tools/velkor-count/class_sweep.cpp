// The ten counts of a class sweep, read side by side: the recording's blocks are read once for
// all of them and its lines counted once, and each count only filters and pairs the lines.
#include "tools/velkor-count/class_sweep.h"

#include <exception>
#include <memory>
#include <vector>

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
        headless->engine.setKeepFrameEndings(false);  // the tally of verdicts is enough
        headless->engine.setExplaining(true);         // for the verdicts of every class
        return headless;
    };
    // The first count opens the recording: a compressed one is unpacked there, once, and the
    // other counts read what it unpacked.
    std::string unpacked;
    std::unique_ptr<SharedBlocks> blocks;
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
        blocks = first.sharedReading();
        first.shareReading(blocks.get());
    } catch (const std::exception& e) {
        result.errors = countingError(recording, e) + "\n";
        return result;
    }

    std::array<std::string, fishClassCount> errors;
    std::string damaged;
    const auto classesOf = [&](size_t k) {
        return sweepClasses(sweep.reportClass, sweep.channels, static_cast<int32_t>(k));
    };
    // One group of counts per worker, each group's counts read frame by frame in step, so that
    // they ask for the same block at about the same time and it is read once.
    const size_t groups = workers < 1 ? 1 : (workers > fishClassCount ? fishClassCount : workers);
    runInOrder(
        groups, groups,
        [&](size_t g) {
            std::vector<size_t> live;
            for (size_t k = g; k < fishClassCount; k += groups) {
                try {
                    if (k > 0) {
                        engines[k] = makeEngine();
                        ReplayEngine& engine = engines[k]->engine;
                        engine.setClassOverrides(classesOf(k));
                        engine.shareReading(blocks.get());
                        if (!engine.OpenBlbFile(unpacked)) {
                            errors[k] = recording + ": " + engine.message();
                            engines[k].reset();
                            continue;
                        }
                    }
                    live.push_back(k);
                } catch (const std::exception& e) {
                    errors[k] = countingError(recording, e);
                    engines[k].reset();
                }
            }
            for (int32_t f = 2; f <= sweep.frames && !live.empty(); ++f) {
                if (options.stop != nullptr && *options.stop) return;
                for (size_t n = 0; n < live.size();) {
                    const size_t k = live[n];
                    try {
                        engines[k]->engine.FarwardbtnClick();
                        ++n;
                    } catch (const std::exception& e) {
                        errors[k] = countingError(recording, e);
                        engines[k].reset();
                        live.erase(live.begin() + static_cast<std::ptrdiff_t>(n));
                    }
                }
            }
            for (const size_t k : live) {
                const ReplayEngine& engine = engines[k]->engine;
                const ChannelArray<int32_t> classes = classesOf(k);
                for (int32_t c = 1; c <= sweep.channels; ++c)
                    sweep.cells[c][classes[c]] = {engine.channelTotal(c), engine.verdictTally()[c]};
                if (k == 0) {
                    damaged = damagedLinesNote(recording, engine);
                    sweep.damagedLines = engine.damagedLines();
                }
                engines[k].reset();
            }
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
