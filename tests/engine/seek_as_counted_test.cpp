// Any frame as the session's continuous count had it: an engine like the window's jumps to frame
// N from the checkpoints a background count keeps, while that count runs and after it has ended,
// and frame N then gives the very --trace records of frame N in the continuous count, with its
// totals. Reading on can be followed and cancelled; a store of another frame width is refused.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "replay/background_count.h"
#include "replay/seek_as_counted.h"
#include "replay/whole_count.h"
#include "synth_session.h"
#include "trace_collector.h"

namespace velkor::test {
namespace {

using namespace std::chrono_literals;

// The continuous count: its records by frame and its totals after every frame.
struct ContinuousCount {
    TraceCollector trace;
    std::vector<ChannelArray<int32_t>> totals{ChannelArray<int32_t>{}};  // [frame]
    int32_t frames = 0;
};

void countContinuously(const std::string& blb, int32_t frameWidth,
                       const ChannelArray<int32_t>& classes, bool explain, ContinuousCount& c) {
    HeadlessEngine whole(frameWidth, -1);
    whole.engine.setClassOverrides(classes);
    c.trace.hook(whole.engine, explain);
    ASSERT_TRUE(countWholeRecording(whole.engine, blb, [&](int32_t done, int32_t frames) {
        ChannelArray<int32_t> t{};
        for (int32_t ch = 1; ch <= maxChannels; ++ch) t[ch] = whole.engine.channelTotal(ch);
        c.totals.push_back(t);
        c.frames = frames;
        return done > 0;
    }));
}

// An engine as the window has it: a settings set of its own, a frame store, its callbacks set.
struct WindowEngine {
    Tsett settings;
    std::unique_ptr<ReplayEngine> engine;
    TraceCollector trace;
    WindowEngine(const std::string& blb, int32_t frameWidth, bool explain) {
        settings.countertype = -1;
        engine = std::make_unique<ReplayEngine>(settings, nullptr, true);
        engine->setFrameWidth(frameWidth);
        trace.hook(*engine, explain);
        EXPECT_TRUE(engine->OpenBlbFile(blb));
    }
};

// Reads frame N as counted and compares it with the continuous count.
void expectAsCounted(WindowEngine& window, const CheckpointStore& store,
                     const ContinuousCount& whole, int32_t frame) {
    SCOPED_TRACE("frame " + std::to_string(frame) + " of " + std::to_string(whole.frames) +
                 ", store's reach " + std::to_string(store.reach()));
    window.trace.records.clear();
    ASSERT_EQ(readAsCounted(*window.engine, store, frame), SeekOutcome::reached);
    EXPECT_EQ(window.engine->currentFrame(), frame);
    EXPECT_EQ(window.engine->lastFrameRead(), frame);
    ASSERT_FALSE(window.trace.records.empty());
    for (const TraceRecord& r : window.trace.records) ASSERT_EQ(r.frame, frame);
    EXPECT_EQ(window.trace.frames(1, whole.frames), whole.trace.frames(frame, frame));
    for (int32_t ch = 1; ch <= maxChannels; ++ch)
        EXPECT_EQ(window.engine->channelTotal(ch), whole.totals[frame][ch]) << "channel " << ch;
}

struct SeekCase {
    const char* what;
    SynthSession session;
    int32_t frameWidth;
    int32_t spacingLines;
    int32_t classOfChannel1;  // -1: the report's
    bool explain;
};

void PrintTo(const SeekCase& c, std::ostream* os) {
    *os << c.what;
}

class SeekAsCounted : public ::testing::TestWithParam<SeekCase> {};

TEST_P(SeekAsCounted, FrameNGivesTheContinuousCountsRecordsAndTotals) {
    const SeekCase& c = GetParam();
    TempDir dir;
    const std::string blb = writeSynthSession(dir, c.session);
    ChannelArray<int32_t> classes = noClassOverrides;
    classes[1] = c.classOfChannel1;
    ContinuousCount whole;
    countContinuously(blb, c.frameWidth, classes, c.explain, whole);
    const int32_t frames = whole.frames;

    BackgroundCount count(blb, c.frameWidth, -1, classes);
    count.setCheckpointSpacing(c.spacingLines);
    const std::shared_ptr<const CheckpointStore> store = count.checkpoints();
    const int32_t k = store->spacingFrames();
    const int32_t held = k + 2;  // past its second checkpoint
    ASSERT_LT(held + 2, frames);
    std::atomic<bool> release{false};
    count.onFrameCounted = [&](const BackgroundCount& self, int32_t done, int32_t) {
        while (done == held && !release && !self.cancelRequested())
            std::this_thread::sleep_for(1ms);
    };
    count.start();
    const auto until = std::chrono::steady_clock::now() + 60s;
    while (store->reach() < held && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(store->reach(), held);
    EXPECT_FALSE(store->complete());

    // The first frame, a checkpoint's own frame, the frame after it, the last frame, and a frame
    // beyond the store's reach.
    const std::vector<int32_t> table = {1, k + 1, k + 2, frames, frames - 1, held + 1, 2};
    WindowEngine window(blb, c.frameWidth, c.explain);
    for (int32_t frame : table) expectAsCounted(window, *store, whole, frame);
    EXPECT_EQ(store->reach(), held);  // all of it while the count was held

    release = true;
    while (!count.finished() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(count.finished());
    ASSERT_TRUE(count.result().counted) << count.result().error;
    EXPECT_TRUE(store->complete());
    EXPECT_EQ(store->reach(), frames);
    EXPECT_EQ(count.result().totals, whole.totals[frames]);
    for (int32_t frame : table) expectAsCounted(window, *store, whole, frame);
    // Stepping on from a frame reached is the continuous count itself.
    const int32_t from = k + 1;
    expectAsCounted(window, *store, whole, from);
    window.trace.records.clear();
    window.engine->FarwardbtnClick();
    EXPECT_EQ(window.trace.frames(1, frames), whole.trace.frames(from + 1, from + 1));
}

constexpr SynthSession oneChannelShort{1, 6000, 8.0, 0.5, 5.0, true, 9};
constexpr SynthSession fourChannelsDamaged{4, 40000, 6.0, 0.6, 6.0, true, 11};

INSTANTIATE_TEST_SUITE_P(
    Sessions, SeekAsCounted,
    ::testing::Values(SeekCase{"one channel, a line a frame", oneChannelShort, 1, 1500, -1, false},
                      SeekCase{"four channels, damaged", fourChannelsDamaged, 557, 5000, -1, false},
                      SeekCase{"four channels, explained, class of channel 1 replaced",
                               fourChannelsDamaged, 1116, 5000, 0, true},
                      SeekCase{"four channels, widest frames", fourChannelsDamaged, 2001, 5000, 7,
                               false}),
    [](const ::testing::TestParamInfo<SeekCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p != 0; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
        return name;
    });

// A store filled by the count alone, for the tests of reading on.
std::shared_ptr<const CheckpointStore> filledStore(const std::string& blb, int32_t frameWidth,
                                                   int32_t spacingLines) {
    BackgroundCount count(blb, frameWidth, -1);
    count.setCheckpointSpacing(spacingLines);
    count.start();
    const auto until = std::chrono::steady_clock::now() + 60s;
    while (!count.finished() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(count.result().counted);
    return count.checkpoints();
}

TEST(SeekAsCounted, ReadingOnIsFollowedAndCanBeCancelled) {
    TempDir dir;
    const std::string blb = writeSynthSession(dir, fourChannelsDamaged);
    ContinuousCount whole;
    countContinuously(blb, 557, noClassOverrides, false, whole);
    const std::shared_ptr<const CheckpointStore> store = filledStore(blb, 557, 20000);
    const int32_t k = store->spacingFrames();
    ASSERT_EQ(k, 35);
    WindowEngine window(blb, 557, false);

    // From the checkpoint after frame 36 to frame 70: frames 37..69 are read on, quietly.
    std::vector<std::pair<int32_t, int32_t>> calls;
    window.trace.records.clear();
    int32_t drawn = 0;
    window.engine->onFrameDrawn = [&] { ++drawn; };
    EXPECT_EQ(seekAsCounted(*window.engine, *store, 70,
                            [&](int32_t done, int32_t total) {
                                calls.emplace_back(done, total);
                                return true;
                            }),
              SeekOutcome::reached);
    ASSERT_EQ(calls.size(), 33u);
    EXPECT_EQ(calls.front(), std::make_pair(1, 33));
    EXPECT_EQ(calls.back(), std::make_pair(33, 33));
    EXPECT_TRUE(window.trace.records.empty());
    EXPECT_EQ(drawn, 0);
    EXPECT_EQ(window.engine->currentFrame(), 69);
    window.engine->FarwardbtnClick();
    EXPECT_EQ(drawn, 1);  // the callbacks are back
    EXPECT_EQ(window.trace.frames(1, whole.frames), whole.trace.frames(70, 70));

    // Cancelled after three frames: the engine holds the count after frame 39, and a later jump
    // still gives the frame as counted.
    calls.clear();
    EXPECT_EQ(readAsCounted(*window.engine, *store, 70,
                            [&](int32_t done, int32_t total) {
                                calls.emplace_back(done, total);
                                return done < 3;
                            }),
              SeekOutcome::cancelled);
    EXPECT_EQ(calls.size(), 3u);
    EXPECT_EQ(window.engine->lastFrameRead(), 39);
    EXPECT_EQ(window.engine->channelTotal(1), whole.totals[39][1]);
    expectAsCounted(window, *store, whole, 70);

    // Before the count has read a frame, the frames read on start afresh at frame 1, as it does.
    const CheckpointStore empty(557, noClassOverrides);
    calls.clear();
    window.trace.records.clear();
    EXPECT_EQ(readAsCounted(*window.engine, empty, 40,
                            [&](int32_t done, int32_t total) {
                                calls.emplace_back(done, total);
                                return true;
                            }),
              SeekOutcome::reached);
    ASSERT_EQ(calls.size(), 39u);
    EXPECT_EQ(calls.front(), std::make_pair(1, 39));
    EXPECT_EQ(window.trace.frames(1, whole.frames), whole.trace.frames(40, 40));
    for (int32_t frame : {1, 2, 13}) expectAsCounted(window, empty, whole, frame);
}

TEST(SeekAsCounted, AStoreOfAnotherCountIsRefused) {
    TempDir dir;
    const std::string blb = writeSynthSession(dir, fourChannelsDamaged);
    const std::shared_ptr<const CheckpointStore> store = filledStore(blb, 557, 5000);
    WindowEngine window(blb, 1116, false);
    window.engine->FarwardbtnClick();
    const EngineCheckpoint before = window.engine->takeCheckpoint();
    for (int32_t frame : {1, 3, 0, window.engine->frameCount() + 1}) {
        EXPECT_EQ(readAsCounted(*window.engine, *store, frame), SeekOutcome::otherCount) << frame;
        EXPECT_TRUE(window.engine->takeCheckpoint() == before) << frame;
    }
    Tsett settings;
    ReplayEngine closed(settings, nullptr, false);
    EXPECT_EQ(readAsCounted(closed, *store, 1), SeekOutcome::otherCount);
}

}  // namespace
}  // namespace velkor::test
