// The track bar of the smallest recordings: one frame, two frames, and none, where the bar's
// maximum is the frame count itself.
#include <gtest/gtest.h>

#include "replay/navigation.h"

namespace velkor {
namespace {

TEST(TrackBarEdges, OneAndTwoFrames) {
    const struct {
        int32_t frame, frameCount, position;
    } forward[] = {
        {1, 1, 1},  // a recording of one frame: the thumb at the bar's end
        {1, 2, 1}, {2, 2, 2}, {0, 1, 0}, {1, 0, 0},
    };
    for (const auto& c : forward) {
        EXPECT_EQ(positionForFrame(c.frame, c.frameCount, trackBarMaximum(c.frameCount)),
                  c.position)
            << c.frame << " of " << c.frameCount;
    }
    const struct {
        int32_t position, frameCount, frame;
    } back[] = {
        {0, 1, 1}, {1, 1, 1}, {0, 2, 1}, {1, 2, 1}, {2, 2, 2}, {0, 0, 1},
    };
    for (const auto& c : back) {
        EXPECT_EQ(frameForPosition(c.position, trackBarMaximum(c.frameCount), c.frameCount),
                  c.frame)
            << c.position << " of " << c.frameCount;
    }
    EXPECT_EQ(trackBarMaximum(0), 0);
    EXPECT_EQ(trackBarMaximum(2), 2);
}

}  // namespace
}  // namespace velkor
