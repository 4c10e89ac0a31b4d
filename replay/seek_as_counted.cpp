// Restore and read on, with the engine's callbacks held back meanwhile.
#include "replay/seek_as_counted.h"

#include <memory>
#include <utility>

namespace velkor {

namespace {

// The engine's callbacks, taken away while frames are read on and given back however that ends.
class QuietEngine {
public:
    explicit QuietEngine(ReplayEngine& engine)
        : engine_(engine),
          drawn_(std::exchange(engine.onFrameDrawn, nullptr)),
          counted_(std::exchange(engine.onObjectCounted, nullptr)),
          ended_(std::exchange(engine.onObjectEnded, nullptr)),
          read_(std::exchange(engine.onFrameRead, nullptr)) {}
    ~QuietEngine() {
        engine_.onFrameDrawn = std::move(drawn_);
        engine_.onObjectCounted = std::move(counted_);
        engine_.onObjectEnded = std::move(ended_);
        engine_.onFrameRead = std::move(read_);
    }
    QuietEngine(const QuietEngine&) = delete;
    QuietEngine& operator=(const QuietEngine&) = delete;

private:
    ReplayEngine& engine_;
    decltype(ReplayEngine::onFrameDrawn) drawn_;
    decltype(ReplayEngine::onObjectCounted) counted_;
    decltype(ReplayEngine::onObjectEnded) ended_;
    decltype(ReplayEngine::onFrameRead) read_;
};

}  // namespace

SeekOutcome seekAsCounted(ReplayEngine& engine, const CheckpointStore& store, int32_t frame,
                          const SeekProgress& progress) {
    if (!engine.isOpen() || frame < 1 || frame > engine.frameCount() ||
        engine.frameWidth() != store.frameWidth())
        return SeekOutcome::otherCount;
    if (frame == 1) {
        // Setting the classes makes the next read a jump, which starts every channel afresh.
        engine.setClassOverrides(store.classOverrides());
        return SeekOutcome::reached;
    }

    QuietEngine quiet(engine);
    int32_t done = 0;
    int32_t total = frame - 1;  // frames to read on
    auto checkpoint = std::make_unique<EngineCheckpoint>();
    if (store.nearest(frame - 1, *checkpoint)) {
        if (!engine.restoreCheckpoint(*checkpoint)) return SeekOutcome::otherCount;
        total -= checkpoint->lastFrameRead;
    } else {
        engine.setClassOverrides(store.classOverrides());
        engine.goToFrame(1);
        if (progress && !progress(++done, total)) return SeekOutcome::cancelled;
    }
    while (engine.currentFrame() < frame - 1) {
        engine.FarwardbtnClick();
        if (progress && !progress(++done, total)) return SeekOutcome::cancelled;
    }
    return SeekOutcome::reached;
}

SeekOutcome readAsCounted(ReplayEngine& engine, const CheckpointStore& store, int32_t frame,
                          const SeekProgress& progress) {
    const SeekOutcome outcome = seekAsCounted(engine, store, frame, progress);
    if (outcome != SeekOutcome::reached) return outcome;
    if (frame == 1)
        engine.goToFrame(1);
    else
        engine.FarwardbtnClick();
    return SeekOutcome::reached;
}

}  // namespace velkor
