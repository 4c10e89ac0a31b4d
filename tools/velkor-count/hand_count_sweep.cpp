// The hand count's sweep on its own thread.
#include "tools/velkor-count/hand_count_sweep.h"

#include <algorithm>

#include "replay/counting_thread.h"

namespace velkor {

HandCountSweep::HandCountSweep(std::string recording, int32_t channel, int64_t handCount,
                               int32_t frameWidth, int32_t counterType, size_t workers)
    : recording_(std::move(recording)),
      channel_(channel),
      handCount_(handCount),
      frameWidth_(frameWidth),
      counterType_(counterType),
      workers_(workers > 0 ? workers : std::max(1u, std::thread::hardware_concurrency())) {}

HandCountSweep::~HandCountSweep() {
    cancel();
}

void HandCountSweep::start() {
    if (thread_.joinable() || finished()) return;
    thread_ = std::thread([this] { run(); });
}

void HandCountSweep::cancel() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

void HandCountSweep::run() {
    prepareCountingThread();
    CountOptions options;
    options.frameWidth = frameWidth_;
    options.counterType = counterType_;
    options.stop = &cancel_;
    const CountResult counted = sweepChannel(recording_, channel_, handCount_, options, workers_,
                                             &progress_, result_.sweep);
    result_.swept = counted.ok;
    if (!counted.ok && !cancel_) {
        result_.error = counted.errors;
        while (!result_.error.empty() && result_.error.back() == '\n') result_.error.pop_back();
        if (result_.error.empty()) result_.error = recording_ + ": the sweep was not finished";
    }
    finished_.store(true, std::memory_order_release);
}

}  // namespace velkor
