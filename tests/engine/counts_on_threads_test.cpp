// Counts that run on threads of their own beside the window's: the whole count with its
// checkpoints and the recount with other classes that a class chooser starts, read by the test's
// thread while they fill; and the class sweep's counts side by side. Built with ThreadSanitizer by
// ./test.sh, these show that they share no state unguarded.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "replay/background_count.h"
#include "replay/seek_as_counted.h"
#include "synth_session.h"
#include "tools/velkor-count/class_sweep.h"

namespace velkor::test {
namespace {

using namespace std::chrono_literals;

constexpr SynthSession fourChannels{4, 40000, 6.0, 0.5, 6.0, true, 31};

TEST(CountsOnThreads, TheWholeCountAndARecountKeepTheirOwnCheckpoints) {
    TempDir dir;
    const std::string blb = writeSynthSession(dir, fourChannels);
    ChannelArray<int32_t> other = noClassOverrides;
    other[1] = 0;
    other[3] = 8;
    BackgroundCount plain(blb, 557, -1);
    BackgroundCount recount(blb, 557, -1, other);
    plain.setCheckpointSpacing(2000);
    recount.setCheckpointSpacing(2000);
    const auto plainStore = plain.checkpoints();
    const auto recountStore = recount.checkpoints();
    // Each count waits at frame 20 until the window has looked, and then goes on at a pace that
    // leaves the window time to read while it fills.
    std::atomic<bool> looked{false};
    const auto pace = [&looked](const BackgroundCount& self, int32_t done, int32_t) {
        while (done == 20 && !looked && !self.cancelRequested()) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(200us);
    };
    plain.onFrameCounted = pace;
    recount.onFrameCounted = pace;
    plain.start();
    recount.start();

    // The window's side meanwhile: the stores as they fill, and frames shown as counted.
    Tsett settings;
    settings.countertype = -1;
    ReplayEngine window(settings, nullptr, true);
    window.setFrameWidth(557);
    ASSERT_TRUE(window.OpenBlbFile(blb));
    auto cp = std::make_unique<EngineCheckpoint>();
    const auto until = std::chrono::steady_clock::now() + 120s;
    while ((plainStore->reach() < 20 || recountStore->reach() < 20) &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(1ms);
    int32_t seen = 0;
    do {
        for (const auto* store : {plainStore.get(), recountStore.get()}) {
            const int32_t reach = store->reach();
            ASSERT_TRUE(store->nearest(reach, *cp));
            EXPECT_LE(cp->lastFrameRead, reach);
            EXPECT_EQ(cp->classOverrides, store->classOverrides());
            EXPECT_EQ(readAsCounted(window, *store, reach), SeekOutcome::reached);
            EXPECT_EQ(window.classOverrides(), store->classOverrides());
            ++seen;
        }
        looked = true;
    } while (!(plain.finished() && recount.finished()) && std::chrono::steady_clock::now() < until);
    ASSERT_TRUE(plain.finished() && recount.finished());
    EXPECT_GT(seen, 0);
    ASSERT_TRUE(plain.result().counted && recount.result().counted);
    EXPECT_NE(plain.result().totals, recount.result().totals);
    const int32_t frames = plain.frameCount();
    EXPECT_EQ(plainStore->reach(), frames);
    EXPECT_EQ(recountStore->reach(), frames);
    EXPECT_EQ(plainStore->size(), recountStore->size());

    // The last frame as each count had it gives that count's totals.
    for (const auto& [count, store] : {std::pair{&plain, plainStore}, {&recount, recountStore}}) {
        ASSERT_EQ(readAsCounted(window, *store, frames), SeekOutcome::reached);
        for (int32_t ch = 1; ch <= maxChannels; ++ch)
            EXPECT_EQ(window.channelTotal(ch), count->result().totals[ch]);
    }
}

TEST(CountsOnThreads, TheClassSweepOnTwoThreadsCountsAsOnOne) {
    TempDir dir;
    const std::string blb = writeSynthSession(dir, fourChannels);
    CountOptions options;
    options.frameWidth = 557;
    ClassSweep alone;
    ClassSweep sideBySide;
    ASSERT_TRUE(countClassSweep(blb, options, nothingGiven, 1, alone).ok);
    ASSERT_TRUE(countClassSweep(blb, options, nothingGiven, 2, sideBySide).ok);
    ASSERT_EQ(alone.channels, 4);
    for (int32_t ch = 1; ch <= alone.channels; ++ch)
        for (int32_t k = 0; k < fishClassCount; ++k) {
            EXPECT_EQ(sideBySide.cells[ch][k].total, alone.cells[ch][k].total);
            EXPECT_EQ(sideBySide.cells[ch][k].verdicts, alone.cells[ch][k].verdicts);
        }
}

}  // namespace
}  // namespace velkor::test
