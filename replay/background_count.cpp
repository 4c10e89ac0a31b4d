// The whole count on a worker thread.
#include "replay/background_count.h"

#include <exception>

#include "io/errors.h"
#include "replay/counting_thread.h"
#include "replay/replay_engine.h"
#include "replay/whole_count.h"
#include "settings/Tsett.h"

namespace velkor {

// Ten seconds of lines, the interval of the counter's own curve.
constexpr int32_t curveBinLines = 10 * linesPerSecond;

BackgroundCount::BackgroundCount(std::string recording, int32_t frameWidth, int32_t counterType,
                                 const ChannelArray<int32_t>& classOverrides)
    : recording_(std::move(recording)),
      frameWidth_(frameWidth),
      counterType_(counterType),
      classOverrides_(classOverrides),
      checkpoints_(std::make_shared<CheckpointStore>(frameWidth, classOverrides)) {}

BackgroundCount::~BackgroundCount() {
    cancel();
}

void BackgroundCount::setCheckpointSpacing(int32_t lines) {
    if (!thread_.joinable())
        checkpoints_ = std::make_shared<CheckpointStore>(frameWidth_, classOverrides_, lines);
}

void BackgroundCount::start() {
    if (!thread_.joinable() && !finished_) thread_ = std::thread([this] { run(); });
}

void BackgroundCount::cancel() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

void BackgroundCount::run() {
    prepareCountingThread();
    Result result;
    try {
        HeadlessEngine headless(frameWidth_, counterType_);
        ReplayEngine& engine = headless.engine;
        engine.setClassOverrides(classOverrides_);
        ThroughputTally tally(curveBinLines);
        engine.onObjectCounted = [&tally](int32_t, int32_t line, int32_t channel, const tskepna&) {
            tally.count(line, channel);
        };
        engine.setExplaining(true);
        engine.onObjectEnded = [&result](int32_t frame, const EndedObject& ended) {
            result.verdictFrames.add(frame, ended.ending.channel, ended.ending.verdict);
        };
        const bool counted =
            countWholeRecording(engine, recording_, [&](int32_t done, int32_t frames) {
                if (keepCheckpoints_) checkpoints_->frameCounted(engine, done);
                frameCount_ = frames;
                framesDone_ = done;
                if (onFrameCounted) onFrameCounted(*this, done, frames);
                return !cancel_.load();
            });
        if (counted) {
            checkpoints_->countFinished();
            result.counted = true;
            result.channelCount = engine.core().channelCount;
            result.verdicts = engine.verdictTally();
            result.verdictFrames.shrink();
            for (int32_t c = 1; c <= result.channelCount; ++c) {
                result.totals[c] = engine.channelTotal(c);
                result.curves[c] = replayCurve(tally, c, engine.lineCount(),
                                               engine.report().sessionStart, curvePoints);
            }
        } else if (!cancel_) {
            result.error = recording_ + ": " + engine.message();
        }
    } catch (const VelkorError& e) {
        result.error = e.file().empty() ? recording_ + ": " + e.what() : std::string(e.what());
    } catch (const std::exception& e) {
        result.error = recording_ + ": " + e.what();
    } catch (...) {
        result.error = recording_ + ": the count ended with an unexpected error";
    }
    result_ = std::move(result);
    finished_ = true;
}

}  // namespace velkor
