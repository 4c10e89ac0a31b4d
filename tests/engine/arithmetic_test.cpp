// The pure arithmetic the window shows: track bar <-> frame, frame capacity, overload correction
// and the capacity caption.
#include <gtest/gtest.h>

#include <limits>

#include "io/errors.h"
#include "replay/frame_capacity.h"
#include "replay/navigation.h"

namespace velkor {
namespace {

constexpr int32_t intMax = std::numeric_limits<int32_t>::max();

TEST(TrackBarArithmetic, MaximumPositionAndFrame) {
    EXPECT_EQ(trackBarMaximum(1), 1);
    EXPECT_EQ(trackBarMaximum(40), 40);
    EXPECT_EQ(trackBarMaximum(99), 99);
    EXPECT_EQ(trackBarMaximum(100), 100);
    EXPECT_EQ(trackBarMaximum(150), 100);

    struct Case {
        int32_t frame, frameCount, maximum, position;
    };
    for (const Case& c : {Case{10, 40, 40, 10}, Case{10, 250, 100, 4}, Case{250, 250, 100, 100},
                          Case{1, 250, 100, 0}, Case{3, 7, 7, 3}})
        EXPECT_EQ(positionForFrame(c.frame, c.frameCount, c.maximum), c.position)
            << c.frame << " of " << c.frameCount;

    struct Back {
        int32_t position, maximum, frameCount, frame;
    };
    for (const Back& c : {Back{20, 40, 40, 20}, Back{50, 100, 250, 125}, Back{1, 100, 250, 2},
                          Back{1, 100, 99, 1}, Back{0, 100, 250, 1}, Back{100, 100, 250, 250}})
        EXPECT_EQ(frameForPosition(c.position, c.maximum, c.frameCount), c.frame)
            << c.position << " of " << c.maximum;
}

TEST(FrameCapacity, ValuesAndGuards) {
    // s = sqrt(105 / 511 * 511) + 11 = 21.247; 511 * 1116 / s^2 / 25 = 50.53; with W 200: 9.06.
    EXPECT_EQ(frameCapacity(105, 0, 511, 0, 511, 1116), 50);
    EXPECT_EQ(frameCapacity(105, 0, 511, 0, 511, 200), 9);
    EXPECT_EQ(frameCapacity(105, 0, 511, 0, 511, 1), 0);
    EXPECT_EQ(frameCapacity(105, 7, 7, 0, 511, 1116), 0);    // no span: no capacity
    EXPECT_EQ(frameCapacity(-5, 0, 511, 0, 511, 1116), 0);   // undefined s
    EXPECT_EQ(frameCapacity(0, 0, 511, 0, 511, 2001), 338);  // s = 11: 511 * 2001 / 121 / 25
    EXPECT_THROW(frameCapacity(105, 0, 511, -intMax, intMax, 2), OverflowError);
    EXPECT_THROW(frameCapacity(105, 0, 511, 0, 1 << 30, 2), OverflowError);  // 2^30 * 2
}

TEST(OverloadCorrection, OnlyAboveAPositiveCapacity) {
    struct Case {
        int32_t d, capacity, correction;
    };
    for (const Case& c : {Case{20, 10, 2},   // truncated((20 * 0.09 / 10 - 0.07) * 20) = 2.2
                          Case{10, 10, 0},   // at the capacity
                          Case{11, 10, 0},   // (0.099 - 0.07) * 11 = 0.319
                          Case{20, 9, 2},    // 2.6
                          Case{-30, 10, 0},  // negative d after a jump
                          Case{20, 0, 0}, Case{20, -3, 0}, Case{intMax, 1, intMax}})
        EXPECT_EQ(overloadCorrection(c.d, c.capacity), c.correction)
            << "d " << c.d << " capacity " << c.capacity;
}

TEST(CapacityCaption, ObjectsPerMinuteRoundedHalfAwayFromZero) {
    EXPECT_EQ(capacityCaption(50, 1116), "3000");
    EXPECT_EQ(capacityCaption(1, 32), "2093");  // exactly 2092.5
    EXPECT_EQ(capacityCaption(0, 1116), "0");
    EXPECT_EQ(capacityCaption(intMax, 1), "143795505003120");
}

}  // namespace
}  // namespace velkor
