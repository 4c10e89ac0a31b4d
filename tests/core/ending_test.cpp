// Endings of objects in the pairing walk: the verdict on every object that ends, the limits it
// was judged by and its extent, on one drawn scene; and that watching the endings changes
// nothing that is counted.
#include <gtest/gtest.h>

#include <string>

#include "tests/core/core_fixture.h"

namespace velkor::testing {
namespace {

// Each row is one scan line; '#' marks dark pixels from column 0. From the left: a fish that is
// counted; a speck too short; a fish too large; a fish that splits into two counted pieces; a
// fish whose right piece ends after one line and hands its area to the left piece; and a fish
// followed by a second one that the shape state cuts off (widening, narrowing, widening again).
constexpr const char* scene[] = {
    ".####...###..##################...##########...##########.............##..........",
    ".####...###..##################...##########...##########............####.........",
    ".####........##################...##########...##########...........######........",
    ".####........##################...##########...##########..........########.......",
    ".####........##################...####..####...####..####.........##########......",
    ".####........##################...####..####...####..............############.....",
    ".............##################...####..####...####.............##############....",
    ".............##################...####..####...####............################...",
    ".............##################...####..####...####.............##############....",
    ".............##################...####..####...####..............############.....",
    ".............##################...................................##########......",
    ".............##################....................................########.......",
    ".............##################.....................................######........",
    ".............##################......................................####.........",
    ".............##################.......................................##..........",
    ".............##################......................................####.........",
    ".............##################.....................................######........",
    ".............##################....................................########.......",
    ".............##################...................................##########......",
    ".............##################..................................############.....",
    ".............##################.................................##############....",
    ".............##################................................################...",
    ".............##################.................................##############....",
    ".............##################..................................############.....",
    ".............##################...................................##########......",
    "...................................................................########.......",
    "....................................................................######........",
};

struct Recorded {
    ObjectEnding ending;
    int32_t line;  // the scene's line (1-based) on which the object ended
};

class Recorder final : public EndingObserver {
public:
    void objectEnded(const ObjectEnding& e) override { endings.push_back({e, line}); }
    std::vector<Recorded> endings;
    int32_t line = 0;
};

class EndingTest : public CoreTest {
protected:
    EndingTest() { freshCore(); }
    void freshCore() {
        s = CoreState{};
        s.channelCount = 1;
        s.channelTable[1] = {0, 100000, 500};
        setLimits(s, 1, Limits{});
        s.minLength[1] = 3;
        s.maxLength[1] = 30;
        s.minWidth[1] = 2;
        s.maxWidth[1] = 20;
        s.minArea[1] = 12;
        s.maxArea[1] = 400;
    }
    // Runs the scene and an empty line after it; returns every closed object in order.
    std::vector<tskepna> runScene(Recorder* recorder) {
        form.setEndingObserver(recorder);
        std::vector<tskepna> closed;
        int32_t line = 0;
        auto one = [&](std::string_view row) {
            if (recorder) recorder->line = ++line;
            for (const tskepna& t : feed(runsOf(row))) closed.push_back(t);
        };
        for (const char* row : scene) one(row);
        one("");
        return closed;
    }
};

TEST_F(EndingTest, EveryObjectOfTheSceneEndsWithItsVerdictLimitsAndExtent) {
    struct Expected {
        const char* verdict;
        bool cut;
        int32_t line, lengd, xv, xh, flatarmal, klofinn;
    };
    // In the order the objects end: left to right along each line.
    const Expected expected[] = {
        {"too short", false, 3, 2, 8, 11, 6, 0},
        // The right piece's one line is too little; its share of 20 goes to the left piece.
        {"piece too short on its own", false, 6, 5, 47, 57, 20, 2},
        {"counted", false, 7, 6, 1, 5, 24, 0},
        {"counted", false, 11, 10, 34, 44, 40, 1},
        {"counted", false, 11, 10, 34, 44, 40, 1},
        // The left piece, alone again, holds both pieces' area and extent.
        {"counted", false, 11, 10, 47, 57, 60, 0},
        // Cut while the second fish's segment lay under it; the second fish is counted alone.
        {"counted", true, 21, 20, 63, 79, 168, 0},
        {"too large", false, 26, 25, 13, 31, 450, 0},
        {"counted", false, 28, 7, 63, 79, 80, 0},
    };
    Recorder recorder;
    const std::vector<tskepna> closed = runScene(&recorder);
    const ChannelLimits limits{3, 30, 2, 20, 12, 400};

    ASSERT_EQ(recorder.endings.size(), std::size(expected));
    std::vector<tskepna> counted;
    for (size_t k = 0; k < std::size(expected); ++k) {
        const Expected& x = expected[k];
        const ObjectEnding& e = recorder.endings[k].ending;
        const tskepna& o = e.object;
        SCOPED_TRACE("ending " + std::to_string(k) + ": " + x.verdict);
        EXPECT_STREQ(verdictText(e.verdict), x.verdict);
        EXPECT_EQ(e.cut, x.cut);
        EXPECT_EQ(recorder.endings[k].line, x.line);
        EXPECT_EQ(o.lengd, x.lengd);
        EXPECT_EQ(o.xv, x.xv);
        EXPECT_EQ(o.xh, x.xh);
        EXPECT_EQ(o.flatarmal, x.flatarmal);
        EXPECT_EQ(o.klofinn, x.klofinn);
        EXPECT_EQ(e.channel, 1);
        EXPECT_EQ(e.limits, limits);
        if (e.verdict == EndingVerdict::counted) counted.push_back(o);
    }
    // The counted endings are the closed objects, record for record.
    EXPECT_EQ(counted, closed);
}

TEST_F(EndingTest, WatchingTheEndingsChangesNothingCounted) {
    const std::vector<tskepna> unwatched = runScene(nullptr);
    const std::vector<tskepna> unwatchedLive = live();
    const ChannelArray<double> means[] = {s.avgLength, s.avgWidth, s.avgArea};
    freshCore();
    Recorder recorder;
    EXPECT_EQ(runScene(&recorder), unwatched);
    EXPECT_EQ(live(), unwatchedLive);
    EXPECT_EQ(s.avgLength, means[0]);
    EXPECT_EQ(s.avgWidth, means[1]);
    EXPECT_EQ(s.avgArea, means[2]);
}

// The size test names the first bound that fails, length before width before area; a piece
// names why its area goes to its siblings.
TEST_F(EndingTest, VerdictNamesTheFirstBoundThatFails) {
    struct Case {
        int32_t lengd, breidd, flatarmal;
        int32_t klofinn = 0;
        bool sameFish = false;
        int32_t ownLength = 10, ownArea = 100;
        const char* verdict;
    };
    // Limits: length 3..29, width 2..19, area 12..399.
    const Case cases[] = {
        {3, 2, 12, 0, false, 10, 100, "counted"},
        {2, 1, 500, 0, false, 10, 100, "too short"},
        {30, 1, 5, 0, false, 10, 100, "too long"},
        {10, 1, 500, 0, false, 10, 100, "too narrow"},
        {10, 20, 5, 0, false, 10, 100, "too wide"},
        {10, 5, 11, 0, false, 10, 100, "too small"},
        {10, 5, 400, 0, false, 10, 100, "too large"},
        {10, 5, 50, 1, true, 10, 100, "piece of the same fish"},
        {2, 5, 50, 1, false, 10, 100, "piece too short"},
        {10, 5, 400, 1, false, 10, 100, "piece too large"},
        {10, 5, 50, 1, false, 1, 100, "piece too short on its own"},  // 1 <= (3 + 2) div 3
        {10, 5, 50, 1, false, 2, 2, "piece too small on its own"},    // 2 < 12 div 4
        {10, 5, 50, 1, false, 2, 3, "counted"},
    };
    for (const Case& c : cases) {
        tskepna p = object(0, c.breidd, c.lengd, c.flatarmal);
        p.klofinn = c.klofinn;
        p.K_sami_fiskur = c.sameFish;
        p.sjalfs_lengd = c.ownLength;
        p.sjalfs_flat = c.ownArea;
        EXPECT_STREQ(verdictText(judgeEnding(p, s, 1)), c.verdict)
            << c.lengd << " " << c.breidd << " " << c.flatarmal;
    }
}

}  // namespace
}  // namespace velkor::testing
