// The class sweep of one channel against the hand count entered for it, on a thread of its own
// while the window goes on: the window starts it, reads how far it has come, may cancel it, and
// shows its rows once it has finished. The sweep's own counts use every core.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "tools/velkor-count/channel_sweep.h"

namespace velkor {

class HandCountSweep {
public:
    struct Result {
        bool swept = false;  // every class was counted
        std::string error;   // why not, when it was neither swept nor cancelled (one line)
        ChannelSweep sweep;  // when swept
    };

    // Channel `channel` of `recording` with frames of `frameWidth` lines and counter type
    // `counterType`, against `handCount`. `workers` 0: one for every core.
    HandCountSweep(std::string recording, int32_t channel, int64_t handCount, int32_t frameWidth,
                   int32_t counterType, size_t workers = 0);
    // Cancels the sweep and waits for its thread.
    ~HandCountSweep();
    HandCountSweep(const HandCountSweep&) = delete;
    HandCountSweep& operator=(const HandCountSweep&) = delete;

    // Starts the thread (once; a second call does nothing).
    void start();
    // Asks the sweep to stop after the frame being read and waits until its thread has ended.
    void cancel();
    bool cancelRequested() const { return cancel_.load(); }
    // The thread has ended: swept, failed or cancelled.
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Frames read by all the sweep's counts, of framesTotal() (0 until the recording is open).
    int64_t framesDone() const { return progress_.done.load(std::memory_order_relaxed); }
    int64_t framesTotal() const { return progress_.total.load(std::memory_order_relaxed); }
    // What the sweep found; only once finished() is true.
    const Result& result() const { return result_; }

    int32_t channel() const { return channel_; }
    int64_t handCount() const { return handCount_; }

private:
    void run();

    std::string recording_;
    int32_t channel_;
    int64_t handCount_;
    int32_t frameWidth_;
    int32_t counterType_;
    size_t workers_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> finished_{false};
    SweepProgress progress_;
    Result result_;
    std::thread thread_;
};

}  // namespace velkor
