// A whole count of a recording on a thread of its own, while the window goes on replaying the same
// file: the worker opens the recording with its own engine and reader (nothing is shared but the
// file name), steps forward from frame 1 to the end at the window's frame width, and gathers each
// channel's total and its throughput curve. The window asks how far it has come and, once it has
// finished, what it found (totals, curves, and the verdict of every object that ended, from the
// same run); closing the window cancels it. While it counts, it keeps checkpoints of its count in
// a store that the window may read as it fills, to show any frame as this count had it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "core/core_state.h"
#include "replay/checkpoint_store.h"
#include "replay/frame_endings.h"
#include "replay/replay_engine.h"
#include "replay/throughput.h"
#include "replay/verdict_index.h"

namespace velkor {

class BackgroundCount {
public:
    struct Result {
        bool counted = false;  // the whole recording was counted
        std::string error;     // why not, when it was neither counted nor cancelled
        int32_t channelCount = 0;
        ChannelArray<int32_t> totals{};
        ChannelArray<ThroughputCurve> curves{};  // the replay's curve per channel, fish per minute
        VerdictTally verdicts{};     // objects of each verdict per channel, over the whole session
        VerdictIndex verdictFrames;  // where they ended, in frames of the count's width
    };

    // The count of `recording` as stepping forward with frames of `frameWidth` lines would give it
    // with counter type `counterType` and the size classes `classOverrides` (entry c: a class for
    // channel c, or -1 for the report's), as ReplayEngine::setClassOverrides takes them.
    BackgroundCount(std::string recording, int32_t frameWidth, int32_t counterType,
                    const ChannelArray<int32_t>& classOverrides = noClassOverrides);
    // Cancels the count and waits for its thread.
    ~BackgroundCount();
    BackgroundCount(const BackgroundCount&) = delete;
    BackgroundCount& operator=(const BackgroundCount&) = delete;

    // Called on the worker's thread after every frame with (frames read, frame count); for tests
    // that hold the count at a frame. Set it before start().
    std::function<void(const BackgroundCount&, int32_t, int32_t)> onFrameCounted;

    // Checkpoints are kept unless turned off before start() (to measure what they cost).
    void setKeepCheckpoints(bool keep) { keepCheckpoints_ = keep; }
    // Lines between two checkpoints (CheckpointStore's default unless set), before start().
    void setCheckpointSpacing(int32_t lines);
    // The checkpoints of this count, filled while it runs; the store outlives the count for as
    // long as it is held. Its classes and frame width are this count's.
    std::shared_ptr<const CheckpointStore> checkpoints() const { return checkpoints_; }

    void start();
    // Asks the count to stop after the frame it is reading and waits until its thread has ended.
    void cancel();
    bool cancelRequested() const { return cancel_.load(); }
    bool finished() const { return finished_.load(); }
    int32_t framesDone() const { return framesDone_.load(); }
    int32_t frameCount() const { return frameCount_.load(); }
    // What the count found; only once finished() is true.
    const Result& result() const { return result_; }

    // Points of a replay curve at most.
    static constexpr int32_t curvePoints = 600;

private:
    void run();

    std::string recording_;
    int32_t frameWidth_;
    int32_t counterType_;
    ChannelArray<int32_t> classOverrides_;
    bool keepCheckpoints_ = true;
    std::shared_ptr<CheckpointStore> checkpoints_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int32_t> framesDone_{0};
    std::atomic<int32_t> frameCount_{0};
    Result result_;
    std::thread thread_;
};

}  // namespace velkor
