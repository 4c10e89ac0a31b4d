// One channel's class sweep. The counts are made as velkor-count --class-sweep makes them (each
// group of counts reads the recording's blocks side by side, once for all of them), and each
// step adds to the progress.
#include "tools/velkor-count/channel_sweep.h"

#include <memory>
#include <vector>

#include "replay/shared_blocks.h"
#include "replay/whole_count.h"
#include "settings/recorded_figures.h"
#include "tools/velkor-count/class_sweep.h"
#include "tools/velkor-count/ordered_work.h"
#include "tools/velkor-count/sweep_findings.h"

namespace velkor {
namespace {

// Thrown from the opening's progress to end a stopped sweep while the lines are being counted.
struct Stopped {};

bool stopped(const CountOptions& options) {
    return options.stop != nullptr && options.stop->load();
}

std::unique_ptr<HeadlessEngine> sweepEngine(const CountOptions& options) {
    auto headless = std::make_unique<HeadlessEngine>(options.frameWidth, options.counterType);
    headless->engine.setKeepFrameEndings(false);
    headless->engine.setExplaining(true);  // as the sweep counts, so that every figure is its own
    return headless;
}

}  // namespace

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
    std::array<std::unique_ptr<HeadlessEngine>, fishClassCount> engines;
    ChannelArray<int32_t> reportClass{};
    std::string unpacked;
    std::unique_ptr<SharedBlocks> blocks;
    // The first count opens the recording (unpacking a compressed one once); the others read
    // what it unpacked, with its blocks and line count.
    try {
        engines[0] = sweepEngine(options);
        ReplayEngine& first = engines[0]->engine;
        const auto whileOpening = [&](int64_t, int64_t) {
            if (stopped(options)) throw Stopped{};
        };
        if (!first.OpenBlbFile(recording, false, whileOpening)) {
            result.errors = recording + ": " + first.message() + "\n";
            return result;
        }
        sweep.recording = recording;
        sweep.channel = channel;
        sweep.handCount = handCount;
        sweep.channels = first.core().channelCount;
        if (channel < 1 || channel > sweep.channels) {
            result.errors = recording + ": has " + std::to_string(sweep.channels) + " channel" +
                            (sweep.channels == 1 ? "" : "s") + ", not channel " +
                            std::to_string(channel) + "\n";
            return result;
        }
        sweep.frames = first.frameCount();
        sweep.frameWidth = first.frameWidth();
        sweep.counterType = options.counterType;
        reportClass = first.report().sizeGroup;
        sweep.reportClass = reportClass[channel];
        unpacked = first.recordingName();
        blocks = first.sharedReading();
        first.shareReading(blocks.get());
    } catch (const Stopped&) {
        return result;
    } catch (const std::exception& e) {
        result.errors = countingError(recording, e) + "\n";
        return result;
    }
    if (progress != nullptr) {
        progress->done = fishClassCount;  // frame 1 of every count is read on opening
        progress->total = int64_t(fishClassCount) * sweep.frames;
    }

    std::array<std::string, fishClassCount> errors;
    std::array<int32_t, fishClassCount> totals{};
    const auto classesOf = [&](size_t k) {
        return sweepClasses(reportClass, sweep.channels, static_cast<int32_t>(k));
    };
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
                if (stopped(options)) break;
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
                totals[classesOf(k)[channel]] = engines[k]->engine.channelTotal(channel);
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
    if (!result.errors.empty() || stopped(options)) return result;
    compareWithHandCount(totals, sweep);
    result.ok = true;
    return result;
}

}  // namespace velkor
