// Checkpoints of the replay engine's count: taken every few frames of a continuous count and
// restored into a fresh engine opened on the same recording, the frames read on from there give
// the continuous count's --trace (or --explain) records byte for byte, and its totals and state.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "replay/whole_count.h"
#include "synth_session.h"
#include "trace_collector.h"

namespace velkor::test {
namespace {

// The records after frame `frame`, one text.
std::string recordsAfter(const std::vector<TraceRecord>& records, int32_t frame) {
    std::string text;
    for (const TraceRecord& r : records)
        if (r.frame > frame) text += r.text;
    return text;
}

struct CheckpointCase {
    const char* what;
    SynthSession session;
    int32_t frameWidth;
    bool explain;
    int32_t classOfChannel1;  // -1: the report's
    int32_t counterType;      // 5: with the overload correction
};

void PrintTo(const CheckpointCase& c, std::ostream* os) {
    *os << c.what;
}

class CheckpointRestore : public ::testing::TestWithParam<CheckpointCase> {};

TEST_P(CheckpointRestore, ReadingOnGivesTheContinuousCountsRecords) {
    const CheckpointCase& c = GetParam();
    TempDir dir;
    const std::string blb = writeSynthSession(dir, c.session);
    ChannelArray<int32_t> classes = noClassOverrides;
    classes[1] = c.classOfChannel1;

    // The continuous count, with a checkpoint after frame 1 and after every K-th frame.
    HeadlessEngine whole(c.frameWidth, c.counterType);
    whole.engine.setClassOverrides(classes);
    TraceCollector continuous;
    continuous.hook(whole.engine, c.explain);
    ASSERT_TRUE(whole.engine.OpenBlbFile(blb)) << whole.engine.message();
    const int32_t frames = whole.engine.frameCount();
    const int32_t K = frames / 6 > 1 ? frames / 6 : 1;
    std::vector<EngineCheckpoint> checkpoints{whole.engine.takeCheckpoint()};
    for (int32_t f = 2; f <= frames; ++f) {
        whole.engine.FarwardbtnClick();
        if (f % K == 0) whole.engine.takeCheckpoint(checkpoints.emplace_back());
    }
    const EngineCheckpoint end = whole.engine.takeCheckpoint();
    ASSERT_GE(checkpoints.size(), 6u);
    EXPECT_EQ(checkpoints.front().lastFrameRead, 1);
    EXPECT_EQ(end.lastFrameRead, frames);
    int64_t counted = 0;
    for (int32_t ch = 1; ch <= maxChannels; ++ch) counted += whole.engine.channelTotal(ch);
    EXPECT_GT(counted, 20);
    if (c.session.damaged) {
        EXPECT_GT(whole.engine.damagedLines(), 0);
    }

    for (const EngineCheckpoint& checkpoint : checkpoints) {
        const int32_t k = checkpoint.lastFrameRead;
        SCOPED_TRACE("restored after frame " + std::to_string(k));
        // Fresh, opened at another width and without the classes: the checkpoint brings both.
        HeadlessEngine fresh(linesPerSecond, c.counterType);
        ASSERT_TRUE(fresh.engine.OpenBlbFile(blb)) << fresh.engine.message();
        // Explaining is turned on first: turning it on starts the verdicts afresh.
        TraceCollector restored;
        restored.hook(fresh.engine, c.explain);
        ASSERT_TRUE(fresh.engine.restoreCheckpoint(checkpoint));
        EXPECT_TRUE(fresh.engine.takeCheckpoint() == checkpoint);
        EXPECT_EQ(fresh.engine.currentFrame(), k);
        EXPECT_EQ(fresh.engine.frameCount(), frames);
        EXPECT_TRUE(restored.records.empty());  // restoring reads nothing
        while (fresh.engine.currentFrame() < frames) fresh.engine.FarwardbtnClick();
        EXPECT_EQ(restored.records.empty() ? 0 : restored.records.front().frame,
                  k < frames ? k + 1 : 0);
        ASSERT_EQ(recordsAfter(restored.records, 0), recordsAfter(continuous.records, k));
        for (int32_t ch = 1; ch <= maxChannels; ++ch)
            EXPECT_EQ(fresh.engine.channelTotal(ch), whole.engine.channelTotal(ch));
        EXPECT_TRUE(fresh.engine.takeCheckpoint() == end);
    }

    // Any frame but the next one after a restore is a jump, as after any frame read.
    if (frames >= 4) {
        HeadlessEngine fresh(c.frameWidth, c.counterType);
        ASSERT_TRUE(fresh.engine.OpenBlbFile(blb));
        ASSERT_TRUE(fresh.engine.restoreCheckpoint(checkpoints[1]));
        const int32_t beyond = checkpoints[1].lastFrameRead + 2 <= frames
                                   ? checkpoints[1].lastFrameRead + 2
                                   : checkpoints[1].lastFrameRead - 2;
        fresh.engine.setCurrentFrame(beyond);
        fresh.engine.lesaramma(beyond);
        EXPECT_EQ(fresh.engine.countedFrom(), beyond);
    }
}

constexpr SynthSession oneChannel{1, 40000, 2.0, 0.4, 3.0, false, 7};
constexpr SynthSession oneChannelDamaged{1, 40000, 3.0, 0.5, 5.0, true, 8};
constexpr SynthSession oneChannelShort{1, 6000, 8.0, 0.5, 5.0, true, 9};
constexpr SynthSession fourChannels{4, 40000, 2.0, 0.4, 3.0, false, 10};
constexpr SynthSession fourChannelsDamaged{4, 40000, 4.0, 0.6, 6.0, true, 11};
constexpr SynthSession fourChannelsShort{4, 4000, 6.0, 0.5, 5.0, true, 12};

INSTANTIATE_TEST_SUITE_P(
    Sessions, CheckpointRestore,
    ::testing::Values(
        CheckpointCase{"one channel, a line a frame", oneChannelShort, 1, false, -1, -1},
        CheckpointCase{"four channels, a line a frame, explained", fourChannelsShort, 1, true, -1,
                       -1},
        CheckpointCase{"one channel, damaged", oneChannelDamaged, 557, false, -1, -1},
        CheckpointCase{"four channels, damaged", fourChannelsDamaged, 557, false, -1, -1},
        CheckpointCase{"one channel, a second a frame", oneChannel, 1116, false, -1, -1},
        CheckpointCase{"four channels, explained", fourChannels, 1116, true, -1, -1},
        CheckpointCase{"four channels, damaged, explained, class of channel 1 replaced",
                       fourChannelsDamaged, 1116, true, 0, -1},
        CheckpointCase{"one channel, widest frames, overload correction", oneChannelDamaged, 2001,
                       false, -1, 5},
        CheckpointCase{"four channels, widest frames, class replaced", fourChannelsDamaged, 2001,
                       false, 7, 5}),
    [](const ::testing::TestParamInfo<CheckpointCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p != 0; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
        return name;
    });

TEST(CheckpointRestore, RefusedWhereItCannotFit) {
    TempDir dir;
    const std::string longer = writeSynthSession(dir, {1, 20000, 2.0, 0.4, 3.0, false, 3});
    HeadlessEngine whole(557, -1);
    ASSERT_TRUE(whole.engine.OpenBlbFile(longer));
    while (whole.engine.currentFrame() < whole.engine.frameCount()) whole.engine.FarwardbtnClick();
    const EngineCheckpoint last = whole.engine.takeCheckpoint();

    // No recording open: nothing to continue.
    HeadlessEngine closed(557, -1);
    EXPECT_FALSE(closed.engine.restoreCheckpoint(last));

    // A recording too short for the checkpoint's frame: the engine stays where it was.
    TempDir other;
    const std::string shorter = writeSynthSession(other, {1, 3000, 2.0, 0.4, 3.0, false, 3});
    HeadlessEngine small(557, -1);
    ASSERT_TRUE(small.engine.OpenBlbFile(shorter));
    const EngineCheckpoint before = small.engine.takeCheckpoint();
    EXPECT_FALSE(small.engine.restoreCheckpoint(last));
    EXPECT_TRUE(small.engine.takeCheckpoint() == before);
    EXPECT_EQ(small.engine.currentFrame(), 1);
}

}  // namespace
}  // namespace velkor::test
