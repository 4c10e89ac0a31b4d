// The whole count: opening, then the Forward step up to the last frame.
#include "replay/whole_count.h"

namespace velkor {

namespace {

Tsett withCounterType(int32_t counterType) {
    Tsett settings;
    settings.countertype = counterType;
    return settings;
}

}  // namespace

HeadlessEngine::HeadlessEngine(int32_t frameWidth, int32_t counterType)
    : settings(withCounterType(counterType)), engine(settings, nullptr, false) {
    engine.setFrameWidth(frameWidth);
    engine.setKeepFrameStore(false);
}

bool countWholeRecording(ReplayEngine& engine, const std::string& recording,
                         const std::function<bool(int32_t, int32_t)>& afterFrame) {
    if (!engine.OpenBlbFile(recording)) return false;
    const int32_t frames = engine.frameCount();
    if (afterFrame && !afterFrame(1, frames)) return false;
    for (int32_t f = 2; f <= frames; ++f) {
        engine.FarwardbtnClick();
        if (afterFrame && !afterFrame(f, frames)) return false;
    }
    return true;
}

}  // namespace velkor
