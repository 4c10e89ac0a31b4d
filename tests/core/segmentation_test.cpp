// Segmentation of one scan line: merging across gaps, dropping narrow runs, thresholds of the
// channel in which each raw run starts.
#include <gtest/gtest.h>

#include "tests/core/core_fixture.h"

namespace velkor::testing {
namespace {

struct SegmentationCase {
    const char* name;
    int32_t minWidth1, gap1, minWidth2, gap2;  // channel 1 ends at 100, channel 2 at 200
    std::vector<Seg> raw;
    std::vector<Seg> expected;
};

void PrintTo(const SegmentationCase& c, std::ostream* os) {
    *os << c.name;
}

class Segmentation : public CoreTest, public ::testing::WithParamInterface<SegmentationCase> {};

TEST_P(Segmentation, FiltersLine) {
    const SegmentationCase& c = GetParam();
    s.channelCount = 2;
    s.channelTable[1].rightEdge = 100;
    s.channelTable[2].rightEdge = 200;
    // Channel 3 is not in use: its thresholds would drop everything.
    s.channelTable[3].rightEdge = 300;
    s.minSegmentWidth[3] = 1000;
    s.minSegmentWidth[1] = c.minWidth1;
    s.mergeGap[1] = c.gap1;
    s.minSegmentWidth[2] = c.minWidth2;
    s.mergeGap[2] = c.gap2;
    placeRaw(c.raw);
    filterSegments(s, static_cast<int32_t>(c.raw.size()));

    std::vector<Seg> got;
    for (int32_t k = 1; k <= s.currentCount; ++k)
        got.push_back({s.currentLine()[k].v, s.currentLine()[k].h});
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t k = 0; k < got.size(); ++k) {
        EXPECT_EQ(got[k].v, c.expected[k].v) << k;
        EXPECT_EQ(got[k].h, c.expected[k].h) << k;
    }
    EXPECT_EQ(s.currentLine()[0].v, 0);
    EXPECT_EQ(s.currentLine()[0].h, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Segmentation,
    ::testing::Values(
        SegmentationCase{"empty", 0, 0, 0, 0, {}, {}},
        SegmentationCase{"widthEqualToMinimumDropped", 5, 0, 5, 0, {{10, 15}}, {}},
        SegmentationCase{"onePixelWiderKept", 5, 0, 5, 0, {{10, 16}}, {{10, 16}}},
        SegmentationCase{"gapBelowMergeGapMerges", 2, 3, 2, 3, {{10, 20}, {22, 30}}, {{10, 30}}},
        SegmentationCase{
            "gapEqualToMergeGapKeepsApart", 2, 2, 2, 2, {{10, 20}, {22, 30}}, {{10, 20}, {22, 30}}},
        SegmentationCase{
            "narrowRunMergedThenNext", 2, 3, 2, 3, {{10, 20}, {21, 22}, {24, 40}}, {{10, 40}}},
        SegmentationCase{"droppedRunIsNoMergeTarget", 2, 5, 2, 5, {{10, 11}, {13, 30}}, {{13, 30}}},
        SegmentationCase{"gapMeasuredToLastKeptNotToDropped",
                         2,
                         3,
                         2,
                         3,
                         {{10, 20}, {24, 25}, {26, 40}},
                         {{10, 20}, {26, 40}}},
        SegmentationCase{"overlappingRunMerges", 2, 1, 2, 1, {{10, 20}, {15, 25}}, {{10, 25}}},
        SegmentationCase{"leftEndOnRightEdgeUsesThatChannel", 10, 0, 2, 0, {{100, 105}}, {}},
        SegmentationCase{
            "onePastRightEdgeUsesNextChannel", 10, 0, 2, 0, {{101, 106}}, {{101, 106}}},
        SegmentationCase{
            "mergeAcrossBorderUsesRunsChannel", 2, 0, 2, 5, {{90, 99}, {102, 110}}, {{90, 110}}},
        SegmentationCase{"rightOfLastChannelUsesLastChannel",
                         2,
                         0,
                         2,
                         0,
                         {{300, 305}, {400, 410}},
                         {{300, 305}, {400, 410}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CoreTest, NegativeRunCountMeansNoRuns) {
    placeRaw({{10, 40}});
    filterSegments(s, -3);
    EXPECT_EQ(s.currentCount, 0);
}

TEST_F(CoreTest, RunCountAboveCapacityReadsOnlyTheArray) {
    std::vector<Seg> raw;
    for (int32_t k = 0; k < lineCapacity; ++k) raw.push_back({10 * k, 10 * k + 5});
    placeRaw(raw);
    filterSegments(s, 2 * lineCapacity);
    EXPECT_EQ(s.currentCount, lineCapacity);
    EXPECT_EQ(s.currentLine()[lineCapacity].v, 10 * (lineCapacity - 1));
}

}  // namespace
}  // namespace velkor::testing
