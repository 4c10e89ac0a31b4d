// The pairing walk: opening, continuing, ending and closing objects, edge angles, the shape
// state machine, the dispatch of zig-zag contacts, and whole scenes drawn as pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/edge_angle.h"
#include "tests/core/core_fixture.h"

namespace velkor::testing {
namespace {

TEST(EdgeAngle, EqualsTruncatedArctanTimes57) {
    for (int32_t d = -5000; d <= 5000; ++d) {
        const auto expected = static_cast<int32_t>(std::atan(static_cast<long double>(d)) * 57.0L);
        ASSERT_EQ(edgeAngle(d), expected) << d;
    }
    const int32_t samples[][2] = {{1, 44},
                                  {3, 71},
                                  {-1, -44},
                                  {106, 88},
                                  {107, 89},
                                  {-107, -89},
                                  {std::numeric_limits<int32_t>::max(), 89},
                                  {std::numeric_limits<int32_t>::min(), -89}};
    for (const auto& [d, angle] : samples) EXPECT_EQ(edgeAngle(d), angle) << d;
}

TEST_F(CoreTest, FourLineObjectEveryField) {
    s.edgeAngleThreshold = 10;
    s.runAreaFactor = 2;
    EXPECT_TRUE(feed({{10, 15}}).empty());
    EXPECT_EQ(live()[0], (object(10, 15, 1, 5)));

    EXPECT_TRUE(feed({{10, 16}}).empty());
    tskepna line2 = object(10, 16, 2, 11);
    line2.hsn = 44;
    line2.inte = 6;
    EXPECT_EQ(live()[0], line2);

    EXPECT_TRUE(feed({{11, 16}}).empty());
    tskepna expected = object(11, 16, 3, 16);
    expected.xv = 10;
    expected.breidd = 6;
    expected.vsn = 14;
    expected.hsn = 29;
    expected.inte = 11;
    EXPECT_EQ(live()[0], expected);

    const auto closed = feed({});
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0], expected);
    EXPECT_EQ(s.previousCount, 0);
}

TEST_F(CoreTest, SmoothedAnglesTruncateTowardZero) {
    feed({{10, 20}});
    feed({{11, 23}});  // raw angles: the object was one line long
    EXPECT_EQ(live()[0].vsn, 44);
    EXPECT_EQ(live()[0].hsn, 71);
    feed({{12, 26}});
    EXPECT_EQ(live()[0].vsn, 44);  // (33 * 44 + 67 * 44) div 100
    EXPECT_EQ(live()[0].hsn, 71);

    setLive({object(10, 20, 2, 20)});
    feed({{9, 19}});
    EXPECT_EQ(live()[0].vsn, -14);  // (33 * -44) div 100, not -15
    EXPECT_EQ(live()[0].hsn, -14);
}

TEST_F(CoreTest, RunningMeansMoveByOneWindowShare) {
    s.avgLength[1] = 100;
    s.avgWidth[1] = 15;
    s.avgArea[1] = 1000;
    tskepna t = object(10, 13, 99, 130);
    t.lengd = 130;  // above this test's maxLength 100: widen the limits
    s.maxLength[1] = 200;
    setLive({t});
    ASSERT_EQ(feed({}).size(), 1u);
    // Extended precision gives the double nearest the exact mean; plain double arithmetic
    // comes out one unit lower for the width (14.995999999999999) and the area.
    EXPECT_EQ(s.avgLength[1], 100.01);
    EXPECT_EQ(s.avgWidth[1], 14.996);
    EXPECT_EQ(s.avgArea[1], 999.71);
}

struct SizeCase {
    int32_t lengd, breidd, flatarmal;
    bool counted;
};

TEST_F(CoreTest, SizeTestBoundsAreHalfOpen) {
    // Limits: length 2..100, width 2..40, area 10..4000, lower bounds included.
    const SizeCase cases[] = {
        {5, 5, 50, true},    {2, 5, 50, true}, {1, 5, 50, false}, {99, 5, 50, true},
        {100, 5, 50, false}, {5, 2, 50, true}, {5, 1, 50, false}, {5, 39, 50, true},
        {5, 40, 50, false},  {5, 5, 10, true}, {5, 5, 9, false},  {5, 5, 3999, true},
        {5, 5, 4000, false},
    };
    for (const SizeCase& c : cases) {
        tskepna t = object(10, 15, c.lengd, c.flatarmal);
        t.breidd = c.breidd;
        setLive({t});
        EXPECT_EQ(feed({}).size(), c.counted ? 1u : 0u)
            << c.lengd << " " << c.breidd << " " << c.flatarmal;
    }
}

TEST_F(CoreTest, EndingObjectIsJudgedByTheChannelOfItsLeftEnd) {
    // Channel 1 ends at 100, channel 2 (the last in use) at 200 and counts only from length 6.
    s.channelCount = 2;
    s.channelTable[1].rightEdge = 100;
    s.channelTable[2].rightEdge = 200;
    Limits longer;
    longer.minLength = 6;
    setLimits(s, 2, longer);
    const struct {
        int32_t v, h, lengd;
        bool counted;
    } cases[] = {
        {95, 120, 3, true},    // reaches into channel 2
        {100, 110, 3, true},   // left end on channel 1's right edge
        {101, 110, 3, false},  // one pixel further: channel 2
        {300, 310, 7, true},   // right of the last channel: the last channel's limits
    };
    for (const auto& c : cases) {
        setLive({object(c.v, c.h, c.lengd, 10 * c.lengd)});
        EXPECT_EQ(feed({}).size(), c.counted ? 1u : 0u) << c.v;
    }
}

TEST_F(CoreTest, ObjectsEndingOnAnEmptyLineCloseLeftToRight) {
    setLive({object(10, 20, 5, 50), object(30, 31, 5, 5), object(40, 50, 6, 60)});
    const auto closed = feed({});
    ASSERT_EQ(closed.size(), 2u);
    EXPECT_EQ(closed[0].v, 10);
    EXPECT_EQ(closed[1].v, 40);
}

TEST_F(CoreTest, TouchingEndsDoNotOverlap) {
    setLive({object(10, 20, 5, 50)});
    EXPECT_EQ(feed({{20, 30}}).size(), 1u);  // the object ends, the segment opens a new one
    EXPECT_EQ(live()[0].lengd, 1);

    setLive({object(10, 20, 5, 50)});
    EXPECT_TRUE(feed({{19, 30}}).empty());
    EXPECT_EQ(live()[0].lengd, 6);
}

TEST_F(CoreTest, ASegmentEndingWhereTheNextObjectBeginsSplitsOnlyItsOwnObject) {
    // [25, 30] ends where the second object begins, so it lies under the first object alone:
    // the first object splits over both segments and the second, with nothing under it, ends.
    setLive({object(10, 30, 5, 100), object(30, 50, 5, 100)});
    feed({{12, 20}, {25, 30}});
    const auto objects = live();
    ASSERT_EQ(objects.size(), 2u);
    for (const tskepna& piece : objects) {
        EXPECT_EQ(piece.lengd, 6);
        EXPECT_NE(piece.klofinn, 0);
    }
}

TEST_F(CoreTest, SegmentWhollyLeftOpensFirst) {
    // [0, 10] touches the object's left end diagonally: no overlap, so it lies wholly left too.
    for (const Seg left : {Seg{0, 5}, Seg{0, 10}}) {
        setLive({object(10, 20, 5, 50)});
        EXPECT_TRUE(feed({left, {12, 15}}).empty()) << left.h;
        const auto objects = live();
        ASSERT_EQ(objects.size(), 2u) << left.h;
        EXPECT_EQ(objects[0].lengd, 1) << left.h;
        EXPECT_EQ(objects[1].lengd, 6) << left.h;
        EXPECT_EQ(objects[1].flatarmal, 53) << left.h;
    }
}

TEST_F(CoreTest, AFullLineOfSegmentsLeftOfTheObjectsOpensThemAllAndEndsTheObjects) {
    // Every entry of the line array holds a segment, all left of the live objects: the walk
    // passes the last segment while objects are still to be handled, and each of them ends.
    std::vector<Seg> segments;
    for (int32_t k = 0; k < lineCapacity; ++k) segments.push_back({10 * k, 10 * k + 5});
    const int32_t right = 10 * lineCapacity;
    setLive({object(right, right + 20, 5, 100), object(right + 30, right + 50, 5, 100)});
    const auto closed = feed(segments);
    ASSERT_EQ(closed.size(), 2u);
    EXPECT_EQ(closed[0].v, right);
    EXPECT_EQ(closed[1].v, right + 30);
    ASSERT_EQ(s.previousCount, lineCapacity);
    EXPECT_EQ(live()[lineCapacity - 1],
              object(10 * (lineCapacity - 1), 10 * lineCapacity - 5, 1, 5));
}

struct ShapeCase {
    int32_t astand, inte;
    Seg segment;  // continues the object [10, 20]; its ends' shifts give the raw edge angles
    int32_t expectedAstand, expectedInte;
};

TEST_F(CoreTest, ShapeStateNeedsConsecutiveRunsAboveTheLimit) {
    // Run limit L = minArea 10 * runAreaFactor 2 = 20. Widening: left -1, right +1 (D = 88);
    // narrowing: left +1, right -1 (D = -88). Shifts of 3 and 7 give angles 71 and 81: a
    // spread of exactly the threshold, 10 or -10, advances nothing.
    s.edgeAngleThreshold = 10;
    s.runAreaFactor = 2;
    const Seg widen{9, 21}, narrow{11, 19}, steady{10, 20};
    const Seg widenByThreshold{13, 27}, narrowByThreshold{17, 23};
    const ShapeCase cases[] = {
        {0, 15, widen, 1, 0},
        {0, 5, widen, 0, 17},
        {0, 15, narrow, 0, 0},
        {0, 15, steady, 0, 0},
        {1, 15, narrow, 2, 0},
        {1, 15, widen, 1, 0},
        {2, 15, widen, 3, 27},
        {2, 8, widen, 2, 20},
        {2, 15, narrow, 2, 0},
        {0, 15, widenByThreshold, 0, 0},
        {1, 15, narrowByThreshold, 1, 0},
        {2, 15, widenByThreshold, 2, 0},
    };
    for (const ShapeCase& c : cases) {
        tskepna t = object(10, 20, 1, 10);
        t.astand = c.astand;
        t.inte = c.inte;
        setLive({t});
        feed({c.segment});
        ASSERT_EQ(s.previousCount, 1);
        EXPECT_EQ(live()[0].astand, c.expectedAstand) << c.astand << " " << c.inte;
        EXPECT_EQ(live()[0].inte, c.expectedInte) << c.astand << " " << c.inte;
    }
}

TEST_F(CoreTest, CutObjectClosesAndItsSegmentStartsAfresh) {
    tskepna t = object(10, 20, 5, 50);
    t.astand = 3;
    setLive({t});
    const auto closed = feed({{10, 20}});
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].astand, 3);
    EXPECT_EQ(live()[0], object(10, 20, 1, 10));
}

// Two objects of one line, then the next line; the dispatch decides what each becomes.
struct DispatchCase {
    const char* name;
    std::vector<Seg> first, second;
    std::vector<tskepna> expected;
};

tskepna piece(tskepna t, int32_t klofinn, int32_t sjalfsLengd, int32_t sjalfsFlat) {
    t.klofinn = klofinn;
    t.sjalfs_lengd = sjalfsLengd;
    t.sjalfs_flat = sjalfsFlat;
    return t;
}

tskepna withAngles(tskepna t, int32_t vsn, int32_t hsn) {
    t.vsn = vsn;
    t.hsn = hsn;
    return t;
}

tskepna withExtent(tskepna t, int32_t xv, int32_t xh, int32_t breidd) {
    t.xv = xv;
    t.xh = xh;
    t.breidd = breidd;
    return t;
}

TEST_F(CoreTest, ZigZagDispatch) {
    const DispatchCase cases[] = {
        // One segment under two objects, the second reaching the next segment: one to one.
        {"segmentUnderTwoSecondReachesOn",
         {{10, 20}, {25, 40}},
         {{15, 30}, {35, 45}},
         {withExtent(withAngles(object(15, 30, 2, 25), 78, 83), 10, 30, 15),
          withExtent(withAngles(object(35, 45, 2, 25), 83, 78), 25, 45, 15)}},
        // One segment under two objects that reach nowhere else: joined (neither is big).
        {"segmentUnderTwoMerges",
         {{10, 20}, {25, 40}},
         {{15, 35}},
         {piece(object(10, 40, 2, 25), 0, 1, 25)}},
        // One object over two segments, the second under no other object: a split.
        {"objectOverTwoSplits",
         {{10, 40}},
         {{10, 20}, {30, 40}},
         {piece(withExtent(object(10, 20, 2, 15), 10, 40, 30), 1, 1, 10),
          piece(withExtent(object(30, 40, 2, 15), 10, 40, 30), 1, 1, 10)}},
        // One object over two segments, the second also under the next object: one to one.
        {"objectOverTwoSecondUnderNext",
         {{10, 30}, {35, 50}},
         {{10, 20}, {25, 40}},
         {withExtent(withAngles(object(10, 20, 2, 30), 0, -83), 10, 30, 20),
          withExtent(withAngles(object(25, 40, 2, 30), -83, -83), 25, 50, 15)}},
    };
    for (const DispatchCase& c : cases) {
        setLive({});
        feed(c.first);
        feed(c.second);
        const auto objects = live();
        ASSERT_EQ(objects.size(), c.expected.size()) << c.name;
        for (size_t k = 0; k < objects.size(); ++k)
            EXPECT_EQ(objects[k], c.expected[k]) << c.name << " " << k;
    }
}

// Scenes: each row is one scan line; '#' marks dark pixels from column 0.
struct Counted {
    int32_t lengd, breidd, flatarmal;
};

void expectCounted(const std::vector<tskepna>& closed, const std::vector<Counted>& expected) {
    ASSERT_EQ(closed.size(), expected.size());
    for (size_t k = 0; k < closed.size(); ++k) {
        EXPECT_EQ(closed[k].lengd, expected[k].lengd) << k;
        EXPECT_EQ(closed[k].breidd, expected[k].breidd) << k;
        EXPECT_EQ(closed[k].flatarmal, expected[k].flatarmal) << k;
    }
}

TEST_F(CoreTest, SceneTwoFishSideBySide) {
    const auto closed = feedPicture({
        "...###.........##.....",
        "..#####.......####....",
        "..######......####....",
        "...####........##.....",
        "....##................",
    });
    // The right fish ends one line earlier, so it is closed first.
    expectCounted(closed, {{4, 4, 12}, {5, 6, 20}});
}

TEST_F(CoreTest, SceneSpecksAreNotCounted) {
    const auto closed = feedPicture({
        "..#.......######......",
        "..........######......",
        "...................#..",
    });
    // Both specks are one line long, below the minimum length of 2.
    expectCounted(closed, {{2, 6, 12}});
}

TEST_F(CoreTest, SceneFishSplitsAroundAGapAndCountsOnce) {
    // The fish's tail splits in two pieces; the smaller piece ends first and too small alone,
    // so its area goes to the other piece, which is counted with everything.
    const auto closed = feedPicture({
        "....######........",
        "...########.......",
        "...###...###......",
        "...##....###......",
        ".........###......",
        "..........#.......",
    });
    // The split line's own pixels (6) are added to no area: 29 dark pixels, 23 counted.
    expectCounted(closed, {{6, 8, 23}});
}

}  // namespace
}  // namespace velkor::testing
