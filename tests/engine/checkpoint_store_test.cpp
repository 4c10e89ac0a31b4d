// The checkpoints a count keeps in memory: their compact form restores to the very checkpoint
// taken; the store keeps one about every so many lines whatever the frame width, finds the nearest
// one at or before a frame, and stays within its memory budget on a long count by dropping every
// second checkpoint, the ones it keeps still equal to the count's own.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "replay/checkpoint_store.h"
#include "replay/compact_checkpoint.h"
#include "replay/whole_count.h"
#include "synth_session.h"

namespace velkor::test {
namespace {

// Touching fish, noise and damaged lines on four channels.
constexpr SynthSession crowdedDamaged{4, 40000, 8.0, 0.6, 8.0, true, 21};
constexpr SynthSession shortCrowded{4, 6000, 8.0, 0.6, 8.0, true, 22};

TEST(CompactCheckpoint, RestoresTheCheckpointTaken) {
    TempDir dir;
    const std::string blb = writeSynthSession(dir, crowdedDamaged);
    std::vector<std::unique_ptr<EngineCheckpoint>> taken;
    taken.push_back(std::make_unique<EngineCheckpoint>());  // before any frame: nearly all zero
    HeadlessEngine whole(557, -1);
    whole.engine.setExplaining(true);
    ASSERT_TRUE(countWholeRecording(whole.engine, blb, [&](int32_t done, int32_t) {
        if (done % 9 == 1)
            taken.push_back(std::make_unique<EngineCheckpoint>(whole.engine.takeCheckpoint()));
        return true;
    }));
    ASSERT_GE(taken.size(), 8u);

    // The forms that take the most room: every word set, and one word in three set (a run
    // header for every literal). Bytes of 0 and 1 only, so that every member keeps a valid value.
    const size_t counted = taken.size();
    for (const size_t period : {1, 3}) {
        auto& cp = taken.emplace_back(std::make_unique<EngineCheckpoint>());
        auto* bytes = reinterpret_cast<unsigned char*>(cp.get());
        for (size_t w = 0; w < checkpointWords; ++w)
            std::memset(bytes + w * sizeof(uint32_t), w % period == 0 ? 1 : 0, sizeof(uint32_t));
    }

    auto compact = std::make_unique<uint32_t[]>(maxCompactWords);
    auto restored = std::make_unique<EngineCheckpoint>();
    for (size_t i = 0; i < taken.size(); ++i) {
        const EngineCheckpoint* cp = taken[i].get();
        SCOPED_TRACE(i < counted ? "after frame " + std::to_string(cp->lastFrameRead)
                                 : "made up " + std::to_string(i - counted));
        const size_t words = compactCheckpoint(*cp, compact.get());
        ASSERT_LE(words, maxCompactWords);
        // The line arrays' unused entries are what a checkpoint of a count mostly is.
        if (i < counted) {
            EXPECT_LT(words, checkpointWords / 2);
        }
        ASSERT_TRUE(expandCheckpoint(compact.get(), words, *restored));
        EXPECT_TRUE(*restored == *cp);

        // A form cut short, or one with a run past the checkpoint's end, is refused.
        EXPECT_FALSE(expandCheckpoint(compact.get(), words - 1, *restored));
        compact[words] = static_cast<uint32_t>(1) << 16 | 1;
        compact[words + 1] = 7;
        EXPECT_FALSE(expandCheckpoint(compact.get(), words + 2, *restored));
    }
}

// Where the zero words stand decides the size of the compact form: a single zero word between two
// set ones is kept as it is, two or more become a run's length; a store's memory is these sizes.
TEST(CompactCheckpoint, ASingleZeroWordStaysAmongTheSetOnesAndTwoBecomeARun) {
    constexpr size_t n = checkpointWords;
    const struct {
        const char* name;
        std::vector<size_t> set;  // the words set to 1, the others 0
        size_t words;             // of the compact form
    } cases[] = {
        {"none set", {}, 1},
        {"the first", {0}, 3},
        {"the last", {n - 1}, 2},
        {"one zero between", {0, 2}, 5},
        {"two zeros between", {0, 3}, 5},
        {"one zero before the last", {n - 3, n - 1}, 4},
        {"two zeros before the last", {n - 4, n - 1}, 4},
    };
    auto cp = std::make_unique<EngineCheckpoint>();
    auto restored = std::make_unique<EngineCheckpoint>();
    auto compact = std::make_unique<uint32_t[]>(maxCompactWords);
    for (const auto& c : cases) {
        std::memset(static_cast<void*>(cp.get()), 0, sizeof(EngineCheckpoint));
        auto* bytes = reinterpret_cast<unsigned char*>(cp.get());
        for (const size_t w : c.set) bytes[w * sizeof(uint32_t)] = 1;
        const size_t words = compactCheckpoint(*cp, compact.get());
        EXPECT_EQ(words, c.words) << c.name;
        ASSERT_TRUE(expandCheckpoint(compact.get(), words, *restored)) << c.name;
        EXPECT_TRUE(*restored == *cp) << c.name;
    }
}

// The continuous count at `frameWidth`, its checkpoints handed to `store` frame by frame;
// `onFrame` is called after each with the engine.
template <typename OnFrame>
void fillStore(const std::string& blb, int32_t frameWidth, CheckpointStore& store,
               OnFrame onFrame) {
    HeadlessEngine whole(frameWidth, -1);
    whole.engine.setClassOverrides(store.classOverrides());
    ASSERT_TRUE(countWholeRecording(whole.engine, blb, [&](int32_t done, int32_t) {
        store.frameCounted(whole.engine, done);
        onFrame(whole.engine, done);
        return true;
    }));
    store.countFinished();
}

struct SpacingCase {
    int32_t frameWidth;
    int32_t spacingLines;
    int32_t spacingFrames;
};

class CheckpointStoreSpacing : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(CheckpointStoreSpacing, KeepsOneEveryFewLinesAndFindsTheNearest) {
    const SpacingCase& c = GetParam();
    TempDir dir;
    const std::string blb =
        writeSynthSession(dir, c.frameWidth == 1 ? shortCrowded : crowdedDamaged);
    ChannelArray<int32_t> classes = noClassOverrides;
    classes[2] = 6;
    CheckpointStore store(c.frameWidth, classes, c.spacingLines);
    EXPECT_EQ(store.spacingFrames(), c.spacingFrames);
    EXPECT_EQ(store.reach(), 0);
    EXPECT_EQ(store.nearestFrame(5), 0);

    std::vector<std::unique_ptr<EngineCheckpoint>> due;  // the count's own, at the frames due
    int32_t frames = 0;
    fillStore(blb, c.frameWidth, store, [&](const ReplayEngine& engine, int32_t done) {
        frames = done;
        EXPECT_EQ(store.reach(), done);
        if ((done - 1) % c.spacingFrames == 0)
            due.push_back(std::make_unique<EngineCheckpoint>(engine.takeCheckpoint()));
    });
    EXPECT_TRUE(store.complete());
    ASSERT_EQ(store.size(), static_cast<int32_t>(due.size()));
    ASSERT_GE(due.size(), 3u);
    // The bytes kept are those of the compact forms of exactly these checkpoints.
    auto form = std::make_unique<uint32_t[]>(maxCompactWords);
    int64_t compactBytes = 0;
    for (const auto& cp : due)
        compactBytes += static_cast<int64_t>(compactCheckpoint(*cp, form.get()) * sizeof(uint32_t));
    EXPECT_EQ(store.usedBytes(), compactBytes);

    const int32_t k = c.spacingFrames;
    const int32_t lastKept = 1 + (frames - 1) / k * k;
    const std::vector<std::pair<int32_t, int32_t>> nearest = {{0, 0},
                                                              {1, 1},
                                                              {k, 1},
                                                              {k + 1, k + 1},
                                                              {2 * k, k + 1},
                                                              {frames, lastKept},
                                                              {frames + 100, lastKept}};
    for (const auto& [frame, expected] : nearest)
        EXPECT_EQ(store.nearestFrame(frame), expected) << frame;

    auto cp = std::make_unique<EngineCheckpoint>();
    EXPECT_FALSE(store.nearest(0, *cp));
    for (const auto& expected : due) {
        ASSERT_TRUE(store.nearest(expected->lastFrameRead + k - 1, *cp));
        EXPECT_TRUE(*cp == *expected) << "frame " << expected->lastFrameRead;
        EXPECT_EQ(cp->classOverrides, classes);
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, CheckpointStoreSpacing,
                         ::testing::Values(SpacingCase{1, 1500, 1500}, SpacingCase{557, 5000, 8},
                                           SpacingCase{1116, 5000, 4}, SpacingCase{2001, 5000, 2},
                                           SpacingCase{2001, 1000, 1}),
                         [](const ::testing::TestParamInfo<SpacingCase>& info) {
                             std::string name = std::to_string(info.param.frameWidth);
                             name.insert(0, 1, 'W');
                             name.append("every").append(std::to_string(info.param.spacingLines));
                             return name.append("lines");
                         });

TEST(CheckpointStore, StaysWithinItsBudgetOnALongCount) {
    TempDir dir;
    const std::string blb = writeSynthSession(dir, shortCrowded);
    // A checkpoint after every line, in a megabyte and its index.
    constexpr int64_t budget = int64_t{1} << 21;
    CheckpointStore store(1, noClassOverrides, 1, budget);
    int32_t frames = 0;
    fillStore(blb, 1, store, [&](const ReplayEngine&, int32_t done) {
        frames = done;
        EXPECT_LE(store.bytes(), budget);
    });
    const int32_t k = store.spacingFrames();
    EXPECT_GE(k, 4);
    EXPECT_EQ(k & (k - 1), 0);  // doubled from 1
    EXPECT_EQ(store.size(), (frames - 1) / k + 1);
    EXPECT_LE(store.usedBytes(), store.bytes());

    // Each checkpoint kept through the moves is still the count's own at its frame.
    CheckpointStore again(1, noClassOverrides, k, budget);
    auto cp = std::make_unique<EngineCheckpoint>();
    int32_t compared = 0;
    fillStore(blb, 1, again, [&](const ReplayEngine& engine, int32_t done) {
        if ((done - 1) % k != 0) return;
        EXPECT_EQ(store.nearestFrame(done), done);
        ASSERT_TRUE(store.nearest(done, *cp));
        EXPECT_TRUE(*cp == engine.takeCheckpoint()) << "frame " << done;
        ++compared;
    });
    EXPECT_EQ(compared, store.size());
}

}  // namespace
}  // namespace velkor::test
