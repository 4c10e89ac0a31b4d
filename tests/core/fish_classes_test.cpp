// Class parameters: the table values a channel starts from, their adaptation to the running
// means, and the pixel widths that must match the counter's extended-precision arithmetic.
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "core/fish_classes.h"
#include "tests/core/core_fixture.h"

namespace velkor::testing {
namespace {

class FishClassTest : public CoreTest {
  protected:
    FishClassTest() {
        s.scanLeftEdge = 0;
        s.scanRightEdge = 511;
        s.counterWidthMm = 500;
        s.lengthDivisor = 4;
        s.sizeGroup[1] = 2;
    }
};

TEST_F(FishClassTest, ClassTwoOverTheDefaultSpan) {
    form.stillafiskiflokk(1);
    EXPECT_EQ(s.avgWidth[1], 14.0);
    EXPECT_EQ(s.minWidth[1], 3);
    EXPECT_EQ(s.minWidthFloor[1], 3);
    EXPECT_EQ(s.maxWidth[1], 60);
    EXPECT_EQ(s.avgLength[1], 15.0);
    EXPECT_EQ(s.minLength[1], 3);
    EXPECT_EQ(s.minLengthFloor[1], 2);
    EXPECT_EQ(s.maxLength[1], 150);
    EXPECT_EQ(s.minArea[1], 18);
    EXPECT_EQ(s.maxArea[1], 9000);
    EXPECT_EQ(s.avgArea[1], 105.0);
    EXPECT_EQ(s.minSegmentWidth[1], 2);
    EXPECT_EQ(s.mergeGap[1], 1);
    EXPECT_EQ(s.edgeAngleWeight[1], 33);

    // Unchanged means: minArea 18 selects the second adaptation row.
    form.autofiskiflokkur(1);
    EXPECT_EQ(s.minArea[1], 18);
    EXPECT_EQ(s.minSegmentWidth[1], 4);
    EXPECT_EQ(s.mergeGap[1], 4);
    EXPECT_EQ(s.edgeAngleWeight[1], 42);
}

TEST_F(FishClassTest, EveryClassLoadsItsRow) {
    // 511 pixels over 500 mm: a width in mm is the same number of pixels.
    struct Row {
        int32_t minSegmentWidth, mergeGap, lengthFloor, widthFloor, nominalLength, nominalWidth;
    };
    const Row rows[] = {
        {1, 0, 2, 2, 8, 9},         {1, 0, 2, 2, 12, 11},   {2, 1, 2, 3, 15, 14},
        {3, 2, 3, 4, 21, 20},       {4, 3, 4, 6, 32, 29},   {5, 4, 6, 8, 46, 42},
        {6, 5, 8, 12, 68, 63},      {8, 7, 12, 18, 99, 91}, {10, 9, 14, 23, 147, 136},
        {12, 11, 22, 34, 212, 196},
    };
    for (int32_t g = 0; g < 10; ++g) {
        s.sizeGroup[1] = g;
        form.stillafiskiflokk(1);
        EXPECT_EQ(s.minSegmentWidth[1], rows[g].minSegmentWidth) << g;
        EXPECT_EQ(s.mergeGap[1], rows[g].mergeGap) << g;
        EXPECT_EQ(s.minLengthFloor[1], rows[g].lengthFloor) << g;
        EXPECT_EQ(s.minWidthFloor[1], rows[g].widthFloor) << g;
        EXPECT_EQ(s.avgLength[1], rows[g].nominalLength) << g;
        EXPECT_EQ(s.avgWidth[1], rows[g].nominalWidth) << g;
    }
}

TEST_F(FishClassTest, WiderCounterHalvesPixelWidths) {
    s.counterWidthMm = 1000;
    form.stillafiskiflokk(1);
    EXPECT_EQ(s.avgWidth[1], 7.0);
}

TEST_F(FishClassTest, ClassOutsideTheTableReadsTheNearestClass) {
    s.sizeGroup[1] = 12;
    form.stillafiskiflokk(1);
    EXPECT_EQ(s.avgLength[1], 212.0);
    EXPECT_EQ(s.sizeGroup[1], 12);  // the stored class is left as it is
    s.sizeGroup[1] = -1;
    form.stillafiskiflokk(1);
    EXPECT_EQ(s.avgLength[1], 8.0);
    EXPECT_EQ(fishClassName(-1), "0.1 g");
    EXPECT_EQ(fishClassName(9), "3 Kg");
    EXPECT_THROW(form.stillafiskiflokk(0), std::out_of_range);
    EXPECT_THROW(form.autofiskiflokkur(5), std::out_of_range);
}

TEST_F(FishClassTest, ShrinkingMeansStopAtTheFloors) {
    s.sizeGroup[1] = 0;
    s.counterWidthMm = 1000;  // width floor of 2 mm is 1 pixel
    form.stillafiskiflokk(1);
    s.avgLength[1] = 0.5;
    s.avgWidth[1] = 0.5;
    form.autofiskiflokkur(1);
    EXPECT_EQ(s.minLength[1], 2);
    EXPECT_EQ(s.minWidth[1], 1);
    EXPECT_EQ(s.maxArea[1], 20 * 100);
    EXPECT_EQ(s.minArea[1], 11);  // 2 * 1 * 2 raised
    EXPECT_EQ(s.edgeAngleWeight[1], 45);
}

TEST(AdaptationRows, BoundariesFallInTheRightRow) {
    const std::tuple<int32_t, int32_t, int32_t, int32_t> rows[] = {
        {11, 4, 4, 45},  {17, 4, 4, 45},   {18, 4, 4, 42},    {34, 4, 4, 42},
        {35, 4, 4, 34},  {70, 4, 4, 34},   {71, 4, 4, 30},    {150, 4, 4, 30},
        {151, 6, 5, 33}, {350, 6, 5, 33},  {351, 7, 6, 33},   {700, 7, 6, 33},
        {701, 8, 7, 30}, {1500, 8, 7, 30}, {1501, 10, 9, 28}, {10000, 10, 9, 28},
    };
    for (const auto& [area, width, gap, weight] : rows) {
        const AdaptationRow* row = adaptationRowFor(area);
        ASSERT_NE(row, nullptr) << area;
        EXPECT_EQ(row->minSegmentWidth, width) << area;
        EXPECT_EQ(row->mergeGap, gap) << area;
        EXPECT_EQ(row->edgeAngleWeight, weight) << area;
    }
    EXPECT_EQ(adaptationRowFor(10001), nullptr);
}

TEST_F(FishClassTest, AdaptationAboveTheLastRowKeepsSegmentParameters) {
    // Segment parameters before and after: each is raised to 4 when below it, else kept.
    const int32_t cases[][4] = {{2, 7, 4, 7}, {7, 2, 7, 4}};
    for (const auto& [width, gap, expectedWidth, expectedGap] : cases) {
        form.stillafiskiflokk(1);
        s.minSegmentWidth[1] = width;
        s.mergeGap[1] = gap;
        s.edgeAngleWeight[1] = 50;
        s.avgLength[1] = 6668;  // minLength 1667
        s.avgWidth[1] = 12;     // minWidth 3: minArea 10002
        form.autofiskiflokkur(1);
        EXPECT_EQ(s.minArea[1], 10002);
        EXPECT_EQ(s.minSegmentWidth[1], expectedWidth) << width;
        EXPECT_EQ(s.mergeGap[1], expectedGap) << gap;
        EXPECT_EQ(s.edgeAngleWeight[1], 50);
    }

    s.avgLength[1] = 400;  // 2 * 50 * 100 = 10000: still the last row
    s.avgWidth[1] = 200;
    form.autofiskiflokkur(1);
    EXPECT_EQ(s.minArea[1], 10000);
    EXPECT_EQ(s.minSegmentWidth[1], 10);
    EXPECT_EQ(s.edgeAngleWeight[1], 28);
    // The upper limits follow the new lower ones.
    EXPECT_EQ(s.maxLength[1], 5000);
    EXPECT_EQ(s.maxWidth[1], 1000);
    EXPECT_EQ(s.maxArea[1], 5000000);
}

TEST_F(FishClassTest, RunawayMeanRaisesOverflow) {
    form.stillafiskiflokk(1);
    s.avgLength[1] = 1e12;
    EXPECT_THROW(form.autofiskiflokkur(1), OverflowError);
    EXPECT_THROW(pixelWidth(511, 14, 0), OverflowError);
}

// Pixel widths over the channel-width items' counter widths, every class width and spans up
// to 4000 pixels, against exact rational arithmetic. Extended precision is what the counter
// uses; where it falls one pixel short of the exact value, it is listed here.
TEST(PixelWidth, MatchesExactArithmeticExceptKnownExtendedPrecisionCases) {
    struct Known {
        int32_t span, mm, counterWidthMm, pixels;
    };
    const Known extendedPrecision[] = {
        {1533, 136, 400, 509}, {2117, 196, 400, 1014}, {2482, 42, 400, 254},
        {3066, 34, 400, 254},  {3066, 136, 400, 1019}, {3723, 196, 1400, 509},
    };
    int32_t exceptions = 0;
    for (int32_t counterWidth : {500, 1000, 1400, 400, 1200, 2100}) {
        for (const FishClass& fc : fishClassTable) {
            for (int32_t mm : {fc.widthFloorMm, fc.nominalWidthMm}) {
                for (int32_t span = 1; span <= 4000; ++span) {
                    int64_t expected = int64_t{span} * mm * 500 / (int64_t{counterWidth} * 511);
                    for (const Known& k : extendedPrecision) {
                        if (k.span == span && k.mm == mm && k.counterWidthMm == counterWidth) {
                            expected = k.pixels;
                            ++exceptions;
                        }
                    }
                    ASSERT_EQ(pixelWidth(span, mm, counterWidth), expected)
                        << span << " px, " << mm << " mm over " << counterWidth << " mm";
                }
            }
        }
    }
    EXPECT_GT(exceptions, 0);
    // In plain double precision this one comes out as 62.
    EXPECT_EQ(pixelWidth(511, 63, 500), 63);
}

}  // namespace
}  // namespace velkor::testing
