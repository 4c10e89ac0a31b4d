// The generator and the whole counting pipeline together: a session of well-separated fish
// (none touching) replayed frame by frame through the engine counts exactly the fish put in.
#include <gtest/gtest.h>

#include "replay/replay_engine.h"
#include "settings/Tsett.h"
#include "synth_fixture.h"

namespace velkor::synth::test {
namespace {

struct CountCase {
    const char* what;
    std::vector<SynthChannel> channels;
    int32_t counterWidthMm;
};

TEST(SynthCount, WellSeparatedFishAreCountedExactly) {
    const CountCase cases[] = {
        {"class 2 and class 4", {{10, 250, 2, 0}, {261, 500, 4, 0}}, 500},
        {"the smallest classes 0 and 1", {{10, 250, 0, 0}, {261, 500, 1, 0}}, 500},
        {"one wide channel of class 6", {{0, 1023, 6, 0}}, 1000},
        {"four channels, classes 3, 5, 7, 9",
         {{0, 255, 3, 0}, {266, 521, 5, 0}, {532, 787, 7, 0}, {798, 1500, 9, 0}},
         1400},
    };
    for (const CountCase& cc : cases) {
        SCOPED_TRACE(cc.what);
        TempDir dir;
        SessionOptions o;
        o.out = dir.file("separated");
        o.scene.seed = 21;
        o.scene.lines = 3 * 60 * linesPerSecond;
        o.scene.channels = cc.channels;
        o.scene.counterWidthMm = cc.counterWidthMm;
        o.scene.density = 1.0;
        o.scene.touching = 0;
        o.scene.noise = 1.0;  // specks are below every class's segment width
        const SessionResult made = writeSession(o);

        Tsett settings;
        MemorySettingsBackend store;
        ReplayEngine engine(settings, &store);
        engine.setFrameWidth(1000);
        ASSERT_TRUE(engine.OpenBlbFile(recordingName(o.out))) << engine.message();
        while (engine.currentFrame() < engine.frameCount()) engine.FarwardbtnClick();

        for (size_t c = 0; c < cc.channels.size(); ++c) {
            ASSERT_GT(made.truth.fish[c], 50);
            EXPECT_EQ(engine.channelTotal(static_cast<int32_t>(c + 1)), made.truth.fish[c])
                << "channel " << c + 1;
        }
    }
}

}  // namespace
}  // namespace velkor::synth::test
