// The window's arithmetic at its edges: an overflow of the frame capacity names the quantity that
// ran out of range, word for word; a frame width is held to 1 .. the largest at either end.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "io/counter_constants.h"
#include "io/errors.h"
#include "replay/frame_capacity.h"
#include "replay/replay_engine.h"
#include "settings/Tsett.h"

namespace velkor {
namespace {

constexpr int32_t intMax = std::numeric_limits<int32_t>::max();

TEST(ArithmeticEdges, EachOverflowOfTheFrameCapacityNamesItsQuantity) {
    const struct {
        int32_t scanLeft, scanRight, left, right, W;
        const char* problem;
    } cases[] = {
        {-1, intMax, 0, 511, 1116, "arithmetic overflow in scan span"},
        {0, 511, -1, intMax, 1116, "arithmetic overflow in channel width"},
        {0, 511, 0, 1 << 30, 2, "arithmetic overflow in channel width * W"},
    };
    for (const auto& c : cases) {
        try {
            frameCapacity(105, c.scanLeft, c.scanRight, c.left, c.right, c.W);
            ADD_FAILURE() << "no error for " << c.problem;
        } catch (const OverflowError& e) {
            EXPECT_EQ(std::string(e.what()), c.problem);
        }
    }
    // Right at the limit of a number: still a capacity.
    EXPECT_GE(frameCapacity(105, 0, intMax, 0, 511, 1116), 0);
    EXPECT_GE(frameCapacity(105, 0, 511, 0, intMax, 1), 0);
}

TEST(ArithmeticEdges, AFrameWidthIsHeldToOneToTheLargest) {
    const struct {
        int32_t asked, held;
    } cases[] = {{-5, 1},
                 {0, 1},
                 {1, 1},
                 {2, 2},
                 {maxFrameWidth - 1, maxFrameWidth - 1},
                 {maxFrameWidth, maxFrameWidth},
                 {maxFrameWidth + 1, maxFrameWidth}};
    for (const auto& c : cases) {
        Tsett settings;
        MemorySettingsBackend store;
        ReplayEngine engine(settings, &store);
        engine.setFrameWidth(c.asked);
        EXPECT_EQ(engine.frameWidth(), c.held) << c.asked;
    }
}

}  // namespace
}  // namespace velkor
