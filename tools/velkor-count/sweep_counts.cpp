// The ten counts of a class sweep, read side by side: the recording's blocks are read once for
// all of them and its lines counted once, and each count only filters and pairs the lines.
#include "tools/velkor-count/sweep_counts.h"

#include <exception>
#include <vector>

#include "tools/velkor-count/class_sweep.h"
#include "tools/velkor-count/ordered_work.h"

namespace velkor {
namespace {

// Thrown from the opening's progress to end a stopped sweep while the lines are being counted.
struct Stopped {};

bool stopped(const CountOptions& options) {
    return options.stop != nullptr && options.stop->load();
}

std::unique_ptr<HeadlessEngine> sweepEngine(const CountOptions& options) {
    auto headless = std::make_unique<HeadlessEngine>(options.frameWidth, options.counterType);
    headless->engine.setKeepFrameEndings(false);  // the tally of verdicts is enough
    headless->engine.setExplaining(true);         // for the verdicts of every class
    return headless;
}

}  // namespace

SweepOpening openSweepCounts(const std::string& recording, const CountOptions& options,
                             SweepCounts& counts, std::string& error) {
    try {
        counts.engines[0] = sweepEngine(options);
        ReplayEngine& first = counts.engines[0]->engine;
        std::function<void(int64_t, int64_t)> whileOpening;
        if (options.stop != nullptr)
            whileOpening = [&options](int64_t, int64_t) {
                if (stopped(options)) throw Stopped{};
            };
        if (!first.OpenBlbFile(recording, false, whileOpening)) {
            error = recording + ": " + first.message() + "\n";
            return SweepOpening::failed;
        }
        counts.channels = first.core().channelCount;
        counts.frames = first.frameCount();
        counts.reportClass = first.report().sizeGroup;
        counts.unpacked = first.recordingName();
        counts.blocks = first.sharedReading();
        first.shareReading(counts.blocks.get());
    } catch (const Stopped&) {
        return SweepOpening::stopped;
    } catch (const std::exception& e) {
        error = countingError(recording, e) + "\n";
        return SweepOpening::failed;
    }
    return SweepOpening::open;
}

std::string runSweepCounts(const std::string& recording, const CountOptions& options,
                           size_t workers, SweepCounts& counts, SweepProgress* progress,
                           const std::function<void(size_t, const ReplayEngine&)>& finished) {
    std::array<std::string, fishClassCount> errors;
    auto& engines = counts.engines;
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
                        engines[k] = sweepEngine(options);
                        ReplayEngine& engine = engines[k]->engine;
                        engine.setClassOverrides(sweepClasses(counts.reportClass, counts.channels,
                                                              static_cast<int32_t>(k)));
                        engine.shareReading(counts.blocks.get());
                        if (!engine.OpenBlbFile(counts.unpacked)) {
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
            for (int32_t f = 2; f <= counts.frames && !live.empty(); ++f) {
                if (stopped(options)) return;
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
                if (progress != nullptr)
                    progress->done.fetch_add(int64_t(live.size()), std::memory_order_relaxed);
            }
            for (const size_t k : live) {
                finished(k, engines[k]->engine);
                engines[k].reset();
            }
        },
        [](size_t) {});

    // A damaged recording fails every count alike: its error is told once.
    std::string lines, told;
    for (const std::string& e : errors) {
        if (e.empty() || e == told) continue;
        lines += e + "\n";
        told = e;
    }
    return lines;
}

}  // namespace velkor
