// Properties that hold for any valid input: the arrays are never overrun (the sanitizer build
// runs this too), the live objects stay well formed, and whatever stale objects the line arrays
// hold from earlier lines changes no count. Live
// objects are not always in order: a full join takes the previous line's span of the joined
// objects, which may reach over a neighbouring segment of this line. Plus arithmetic overflow on a
// runaway object, which must raise an error instead of wrapping, and only for a value the step
// uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "tests/core/core_fixture.h"

namespace velkor::testing {
namespace {

std::vector<Seg> randomLine(std::mt19937& rng, int32_t maxSegments) {
    std::vector<Seg> line;
    const int32_t n = std::uniform_int_distribution<int32_t>(0, maxSegments)(rng);
    int32_t x = std::uniform_int_distribution<int32_t>(0, 20)(rng);
    for (int32_t k = 0; k < n; ++k) {
        const int32_t w = std::uniform_int_distribution<int32_t>(1, 40)(rng);
        line.push_back({x, x + w});
        x += w + std::uniform_int_distribution<int32_t>(1, 30)(rng);
    }
    return line;
}

void randomChannels(std::mt19937& rng, CoreState& s) {
    auto pick = [&](int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
    };
    s.channelCount = pick(1, 4);
    int32_t edge = 0;
    for (int32_t ch = 1; ch <= maxChannels; ++ch) {
        edge += pick(50, 700);
        s.channelTable[ch].rightEdge = edge;
        Limits l;
        l.minLength = pick(1, 6);
        l.maxLength = l.minLength * 50;
        l.minWidth = pick(1, 6);
        l.maxWidth = l.minWidth * 20;
        l.minArea = pick(5, 40);
        l.maxArea = l.maxWidth * l.maxLength;
        l.edgeAngleWeight = pick(25, 45);
        l.minSegmentWidth = pick(0, 5);
        l.mergeGap = pick(0, 9);
        setLimits(s, ch, l);
    }
}

TEST_F(CoreTest, RandomLinesKeepTheInvariants) {
    std::mt19937 rng(20240611);
    int64_t closedTotal = 0;
    for (int32_t scene = 0; scene < 40; ++scene) {
        randomChannels(rng, s);
        s.previousCount = 0;
        // Dense scenes push the line to its capacity; sparse ones give long-lived objects.
        const int32_t maxSegments = scene % 4 == 0 ? 600 : 40;
        for (int32_t line = 0; line < 500; ++line) {
            std::vector<Seg> raw = randomLine(rng, maxSegments);
            if (raw.size() > static_cast<size_t>(lineCapacity)) raw.resize(lineCapacity);
            const int32_t liveBefore = s.previousCount;
            const auto closed = feed(raw);
            closedTotal += static_cast<int64_t>(closed.size());

            ASSERT_LE(s.previousCount, lineCapacity);
            ASSERT_EQ(s.previousCount, s.currentCount);
            ASSERT_LE(s.closedCount, liveBefore);
            for (int32_t k = 1; k <= s.previousCount; ++k) {
                ASSERT_GE(s.previousLine()[k].lengd, 1);
                ASSERT_GE(s.previousLine()[k].klofinn, 0);
                ASSERT_GE(s.previousLine()[k].astand, 0);
                ASSERT_LE(s.previousLine()[k].astand, 3);
            }
        }
    }
    EXPECT_GT(closedTotal, 0);
}

// The line arrays change roles after every line, so this line's segments are written over the
// objects of the line before last. Whatever those held (split groups above all, which the walk
// reads for the segments not yet handled) must change nothing: a state whose arrays are full of
// stale objects counts every line as a fresh one does.
TEST_F(CoreTest, StaleObjectsInTheLineArraysChangeNoCount) {
    std::mt19937 rng(20261211);
    for (int32_t scene = 0; scene < 12; ++scene) {
        randomChannels(rng, s);
        s.previousCount = 0;
        auto staleState = std::make_unique<CoreState>(s);
        CoreState& stale = *staleState;
        for (LineArray& line : stale.lineArrays) {
            for (size_t k = 1; k < line.size(); ++k) {
                tskepna junk = object(static_cast<int32_t>(k), static_cast<int32_t>(k) + 3, 7, 90);
                junk.klofinn = 1 + static_cast<int32_t>(k % 5);
                junk.astand = static_cast<int32_t>(k % 4);
                junk.K_sami_fiskur = k % 2 == 0;
                line[k] = junk;
            }
        }
        TForm2 staleForm(stale);
        const int32_t maxSegments = scene % 3 == 0 ? 600 : 30;
        for (int32_t line = 0; line < 300; ++line) {
            std::vector<Seg> raw = randomLine(rng, maxSegments);
            if (raw.size() > static_cast<size_t>(lineCapacity)) raw.resize(lineCapacity);
            for (size_t k = 0; k < raw.size(); ++k) {
                stale.currentLine()[k + 1].v = raw[k].v;
                stale.currentLine()[k + 1].h = raw[k].h;
            }
            filterSegments(stale, static_cast<int32_t>(raw.size()));
            const tlokid& staleClosed = staleForm.porun();
            const auto closed = feed(raw);

            ASSERT_EQ(stale.closedCount, static_cast<int32_t>(closed.size())) << "line " << line;
            for (size_t k = 0; k < closed.size(); ++k) ASSERT_EQ(staleClosed[k + 1], closed[k]);
            ASSERT_EQ(stale.previousCount, s.previousCount);
            for (int32_t k = 1; k <= s.previousCount; ++k)
                ASSERT_EQ(stale.previousLine()[k], s.previousLine()[k]) << "line " << line;
        }
    }
}

TEST_F(CoreTest, RunawayAreaRaisesOverflowAndForgetsTheLine) {
    // A permanent dark streak: one object whose area has grown to the edge of 32 bits.
    tskepna streak = object(10, 20, 5, 0);
    streak.flatarmal = std::numeric_limits<int32_t>::max() - 5;
    setLive({streak, object(40, 50, 5, 50)});
    EXPECT_THROW(feed({{10, 20}, {40, 50}}), OverflowError);

    // The state is sound again: no live objects, no segments, currentLine zeroed, and the next
    // line runs.
    EXPECT_EQ(s.previousCount, 0);
    EXPECT_EQ(s.currentCount, 0);
    for (int32_t k = 1; k <= lineCapacity; ++k) {
        ASSERT_EQ(s.currentLine()[k].lengd, 0);
        ASSERT_EQ(s.currentLine()[k].flatarmal, 0);
    }
    EXPECT_TRUE(feed({{10, 20}}).empty());
    EXPECT_EQ(live()[0], object(10, 20, 1, 10));
}

TEST_F(CoreTest, RunawayLengthRaisesOverflow) {
    tskepna streak = object(10, 20, std::numeric_limits<int32_t>::max(), 50);
    setLive({streak});
    EXPECT_THROW(feed({{10, 20}}), OverflowError);
}

struct ShapeOverflowCase {
    int32_t astand, inte;
    Seg segment;  // continues the object [10, 20]
    int32_t threshold, runAreaFactor;
    const char* raised;  // the value named by the error, or nullptr: no error
};

TEST_F(CoreTest, ShapeStateRaisesOverflowOnlyForTheValuesItUses) {
    // The run area and its limit are used only on a line that advances the state (widen does,
    // steady does not), the negated threshold only in state 1.
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t least = std::numeric_limits<int32_t>::min();
    const Seg widen{9, 21}, steady{10, 20};
    const ShapeOverflowCase cases[] = {
        {0, big, steady, 10, 2, nullptr},
        {0, big, widen, 10, 2, "run area"},
        {0, 5, steady, 10, big, nullptr},
        {0, 5, widen, 10, big, "run area limit"},
        {0, big, widen, 10, big, "run area"},
        {0, 5, steady, least, 2, nullptr},
        {1, 5, steady, least, 2, "edge angle threshold"},
        {2, big, widen, 10, 2, "run area"},
        {3, big, widen, 10, big, nullptr},
    };
    for (const ShapeOverflowCase& c : cases) {
        s.edgeAngleThreshold = c.threshold;
        s.runAreaFactor = c.runAreaFactor;
        tskepna t = object(10, 20, 1, 10);
        t.astand = c.astand;
        t.inte = c.inte;
        setLive({t});
        std::string raised;
        try {
            feed({c.segment});
        } catch (const OverflowError& e) {
            raised = e.what();
        }
        if (c.raised == nullptr) {
            EXPECT_EQ(raised, "") << c.astand << " " << c.inte << " " << c.threshold;
        } else {
            EXPECT_TRUE(raised.ends_with(std::string(" ") + c.raised))
                << raised << " / " << c.raised;
        }
    }
}

}  // namespace
}  // namespace velkor::testing
