// Splits and merges: pieces of a split group, group numbers, joining or dividing when objects
// meet one segment, and the area a piece hands to its siblings when it ends uncounted.
#include <gtest/gtest.h>

#include "tests/core/core_fixture.h"

namespace velkor::testing {
namespace {

tskepna piece(tskepna t, int32_t klofinn, int32_t sjalfsLengd, int32_t sjalfsFlat) {
    t.klofinn = klofinn;
    t.sjalfs_lengd = sjalfsLengd;
    t.sjalfs_flat = sjalfsFlat;
    return t;
}

tskepna angled(tskepna t, int32_t vsn, int32_t hsn) {
    t.vsn = vsn;
    t.hsn = hsn;
    return t;
}

TEST_F(CoreTest, SplitGivesEveryPieceAShareAndTheOuterAngles) {
    for (const auto& [hsn, steep] : {std::pair{90, false}, std::pair{91, true}}) {
        setLive({angled(object(10, 40, 5, 101), -20, hsn)});  // hsn - vsn: 110, then 111
        feed({{10, 15}, {30, 37}});
        const auto p = live();
        ASSERT_EQ(p.size(), 2u);
        tskepna left = piece(object(10, 15, 6, 50), 1, 1, 5);
        left.breidd = 30;
        left.xv = 10;
        left.xh = 40;
        left.vsn = -20;
        left.K_sami_fiskur = steep;
        tskepna right = piece(object(30, 37, 6, 50), 1, 1, 7);
        right.breidd = 30;
        right.xv = 10;
        right.xh = 40;
        right.hsn = hsn;
        right.K_sami_fiskur = steep;
        EXPECT_EQ(p[0], left) << hsn;
        EXPECT_EQ(p[1], right) << hsn;
    }
}

TEST_F(CoreTest, SplitGroupNumberIsTheSmallestFree) {
    struct Case {
        const char* name;
        std::vector<tskepna> live;
        int32_t expectedGroup;  // of the pieces of the object over [50, 80]
    };
    const std::vector<Seg> segments{{10, 20}, {30, 40}, {50, 60}, {70, 80}, {90, 100}};
    const Case cases[] = {
        {"usedOnHandledCurrentEntries",
         {piece(object(10, 20, 5, 50), 1, 5, 50), piece(object(30, 40, 5, 50), 2, 5, 50),
          object(50, 80, 5, 90)},
         3},
        {"usedOnPreviousEntriesToTheRight",
         {object(50, 80, 5, 90), piece(object(90, 100, 5, 50), 2, 5, 50),
          piece(object(110, 120, 5, 50), 1, 5, 50)},
         3},
        {"gapInUsedNumbers", {piece(object(10, 20, 5, 50), 2, 5, 50), object(50, 80, 5, 90)}, 1},
        {"pieceKeepsItsGroup", {piece(object(50, 80, 5, 90), 4, 5, 90)}, 4},
    };
    for (const Case& c : cases) {
        setLive(c.live);
        feed(segments);
        for (const tskepna& t : live()) {
            if (t.v == 50 || t.v == 70) {
                EXPECT_EQ(t.klofinn, c.expectedGroup) << c.name;
            }
        }
    }
}

// Two big plain objects over the segment [12, 30]: is the segment divided or are they joined?
TEST_F(CoreTest, MergeKeepsBigObjectsApartUnlessTheirEdgesConverge) {
    struct Case {
        int32_t leftHsn, rightVsn;
        tskepna right;
        bool separate;
    };
    const tskepna big = object(22, 32, 10, 100);
    const Case cases[] = {
        {57, -57, big, true},                                   // facing angle 114
        {58, -57, big, false},                                  // 115
        {0, 0, piece(object(22, 32, 2, 5), 0, 2, 5), true},     // own area and length
        {0, 0, piece(object(22, 32, 2, 4), 0, 2, 4), false},    // own area below half
        {0, 0, piece(object(22, 32, 4, 10), 0, 1, 50), true},   // area and length
        {0, 0, piece(object(22, 32, 3, 50), 0, 1, 50), false},  // length not above 3
        {0, 0, piece(object(22, 32, 4, 9), 0, 1, 50), false},   // area below minimum
    };
    for (const Case& c : cases) {
        tskepna right = c.right;
        right.vsn = c.rightVsn;
        setLive({angled(object(10, 20, 10, 100), 0, c.leftHsn), right});
        feed({{12, 30}});
        const auto p = live();
        ASSERT_EQ(p.size(), c.separate ? 2u : 1u) << c.leftHsn << " " << c.right.flatarmal;
        if (c.separate) {
            EXPECT_EQ(p[0].v, 12);
            EXPECT_EQ(p[0].h, 21);
            EXPECT_EQ(p[1].v, 21);
            EXPECT_EQ(p[1].h, 30);
        } else {
            // The joined object spans the previous line; this line's width is not added.
            EXPECT_EQ(p[0].v, 10);
            EXPECT_EQ(p[0].h, 32);
            EXPECT_EQ(p[0].breidd, 22);
            EXPECT_EQ(p[0].lengd, 11);
            EXPECT_EQ(p[0].flatarmal, 100 + c.right.flatarmal);
        }
    }
}

TEST_F(CoreTest, DividedSegmentPiecesContinueTheirObjects) {
    tskepna left = angled(object(95, 110, 10, 100), -7, 20);
    tskepna right = angled(piece(object(115, 135, 12, 150), 3, 4, 60), 5, 9);
    right.astand = 1;
    right.litur = 6;
    for (int32_t gap : {4, 5}) {  // half the merge gap, truncated, is 2 either way
        s.mergeGap[1] = gap;
        setLive({left, right});
        feed({{100, 130}, {200, 210}});
        const auto p = live();
        ASSERT_EQ(p.size(), 3u);

        tskepna e1 = piece(object(102, 113, 11, 111), 0, 11, 111);
        e1.breidd = 15;
        e1.xv = 95;
        e1.xh = 110;
        e1.vsn = -7;
        e1.K_sami_fiskur = true;
        tskepna e2 = piece(object(117, 128, 13, 161), 3, 5, 71);
        e2.breidd = 20;
        e2.xv = 115;
        e2.xh = 135;
        e2.hsn = 9;
        e2.astand = 1;
        e2.litur = 6;
        e2.K_sami_fiskur = true;
        EXPECT_EQ(p[0], e1) << gap;
        EXPECT_EQ(p[1], e2) << gap;
        EXPECT_EQ(p[2], object(200, 210, 1, 10)) << gap;
    }
}

TEST_F(CoreTest, DividingNeverOutgrowsTheLine) {
    // Three big objects share the first segment, and 498 more segments fill the line: only one
    // extra piece fits, so the two rightmost objects are joined first.
    setLive({object(0, 10, 10, 100), object(10, 20, 10, 100), object(20, 30, 10, 100)});
    std::vector<Seg> segments{{0, 30}};
    for (int32_t k = 0; k < lineCapacity - 2; ++k) segments.push_back({100 + 4 * k, 102 + 4 * k});
    feed(segments);
    ASSERT_EQ(s.previousCount, lineCapacity);
    const auto p = live();
    EXPECT_EQ(p[0].v, 0);
    EXPECT_EQ(p[0].h, 15);
    EXPECT_EQ(p[0].flatarmal, 115);
    EXPECT_EQ(p[1].v, 15);
    EXPECT_EQ(p[1].h, 30);
    EXPECT_EQ(p[1].flatarmal, 215);  // both joined objects' area and the piece
    EXPECT_EQ(p[1].xh, 30);
    EXPECT_EQ(p[lineCapacity - 1].v, 100 + 4 * (lineCapacity - 3));
}

TEST_F(CoreTest, EndingPieceIsCountedOnlyWhenBigEnoughByItself) {
    struct Case {
        int32_t sjalfsLengd, sjalfsFlat;
        bool sameFish, counted;
    };
    // minLength 2: own length must exceed (2 + 2) div 3 = 1; minArea 10: own area at least 2.
    const Case cases[] = {
        {2, 10, false, true}, {1, 10, false, false}, {2, 1, false, false},
        {2, 2, false, true},  {5, 50, true, false},
    };
    for (const Case& c : cases) {
        tskepna p = piece(object(10, 20, 5, 50), 1, c.sjalfsLengd, c.sjalfsFlat);
        p.K_sami_fiskur = c.sameFish;
        tskepna x = piece(object(40, 50, 5, 30), 1, 3, 20);
        x.xv = 35;
        x.xh = 55;
        setLive({p, x});
        const auto closed = feed({{40, 50}});
        ASSERT_EQ(closed.size(), c.counted ? 1u : 0u) << c.sjalfsLengd << " " << c.sjalfsFlat;
        const tskepna sibling = live()[0];
        if (c.counted) {
            EXPECT_EQ(closed[0].klofinn, 1);  // the group number goes along
            EXPECT_EQ(sibling.klofinn, 1);
            EXPECT_EQ(sibling.flatarmal, 40);
            EXPECT_EQ(sibling.xv, 35);
        } else {
            // The one sibling becomes an ordinary object with both pieces' area and extent.
            EXPECT_EQ(sibling.klofinn, 0);
            EXPECT_EQ(sibling.flatarmal, 90);
            EXPECT_EQ(sibling.sjalfs_flat, 90);
            EXPECT_EQ(sibling.sjalfs_lengd, 6);
            EXPECT_EQ(sibling.xv, 10);
            EXPECT_EQ(sibling.xh, 55);
            EXPECT_FALSE(sibling.K_sami_fiskur);
        }
    }
}

TEST_F(CoreTest, EndingPieceSharesItsAreaAmongThreeSiblings) {
    // One sibling is already continued on this line, two are still to be handled.
    // Every piece belongs to one fish; handing the area on clears that on every sibling.
    const auto sameFish = [](tskepna t) {
        t.K_sami_fiskur = true;
        return t;
    };
    setLive({sameFish(piece(object(0, 10, 5, 40), 1, 3, 10)),
             sameFish(piece(object(12, 20, 5, 100), 1, 5, 50)),
             sameFish(piece(object(50, 60, 5, 40), 1, 5, 30)),
             sameFish(piece(object(70, 80, 5, 40), 1, 4, 20))});
    feed({{0, 10}, {50, 60}, {70, 80}});
    const auto p = live();
    ASSERT_EQ(p.size(), 3u);
    for (const tskepna& x : p) {
        EXPECT_EQ(x.flatarmal, 83);  // 40 + 10 + 100 div 3
        EXPECT_EQ(x.klofinn, 1);
        EXPECT_FALSE(x.K_sami_fiskur);
    }
    // Own length and area become the siblings' largest (the continued one's already count
    // this line; the others gain it after).
    EXPECT_EQ(p[0].sjalfs_lengd, 5);
    EXPECT_EQ(p[0].sjalfs_flat, 30);
    EXPECT_EQ(p[1].sjalfs_lengd, 6);
    EXPECT_EQ(p[1].sjalfs_flat, 40);
}

TEST_F(CoreTest, AbsorbedPieceHandsItsAreaToItsOwnSiblings) {
    tskepna absorbed = piece(object(22, 30, 1, 8), 1, 1, 8);
    absorbed.astand = 2;
    absorbed.inte = 7;
    setLive({object(10, 20, 1, 10), absorbed, piece(object(60, 70, 1, 10), 1, 1, 10)});
    feed({{12, 28}, {60, 70}});
    const auto p = live();
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].v, 10);
    EXPECT_EQ(p[0].h, 30);
    EXPECT_EQ(p[0].flatarmal, 10);  // not grown by the piece
    EXPECT_EQ(p[0].astand, 2);      // the larger state is kept, with its run area
    EXPECT_EQ(p[0].inte, 7);
    EXPECT_EQ(p[1].klofinn, 0);
    EXPECT_EQ(p[1].flatarmal, 28);  // 10 + the piece's 8 + this line's 10
}

TEST_F(CoreTest, LastTwoPiecesMeetingLoseTheRightOnesArea) {
    setLive({piece(object(10, 20, 1, 10), 1, 1, 10), piece(object(22, 30, 1, 8), 1, 1, 8)});
    feed({{12, 28}});
    const auto p = live();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].flatarmal, 10);
    EXPECT_EQ(p[0].klofinn, 1);
}

}  // namespace
}  // namespace velkor::testing
