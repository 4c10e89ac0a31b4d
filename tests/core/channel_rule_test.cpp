// The channel rule as a pass moves its cursor: forward only, to the first channel whose right edge
// reaches the position, never past the last channel in use; tables whose edges do not rise from
// left to right, and channel counts outside 1..4, included.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "core/channel_rule.h"

namespace velkor {
namespace {

struct ChannelRuleCase {
    const char* name;
    int32_t channelCount;
    std::vector<int32_t> rightEdges;  // channels 1..4
    std::vector<int32_t> positions;   // in the order the pass meets them
    std::vector<int32_t> channels;    // the cursor after each
};

constexpr int32_t lowest = std::numeric_limits<int32_t>::min();
constexpr int32_t highest = std::numeric_limits<int32_t>::max();

TEST(ChannelRule, CursorMovesForwardToTheFirstEdgeThatReachesThePosition) {
    const ChannelRuleCase cases[] = {
        {"rising", 4, {500, 1000, 1500, 2000}, {10, 500, 501, 400, 1600, 2500}, {1, 1, 2, 2, 4, 4}},
        {"equal edges", 4, {500, 500, 1500, 2000}, {500, 501}, {1, 3}},
        {"beyond the last in use", 2, {500, 100, 50, 0}, {10, 600, 100000}, {1, 2, 2}},
        {"falling", 4, {1500, 500, 2000, 100}, {600, 1400, 1550, 10}, {1, 1, 3, 3}},
        {"falling, past all", 4, {1500, 500, 1000, 100}, {1600, 10}, {4, 4}},
        {"no channel count", 0, {500, 1000, 1500, 2000}, {10, 5000}, {1, 1}},
        {"too many channels", 9, {500, 1000, 1500, 2000}, {600, 2100}, {2, 4}},
        {"negative positions", 3, {-100, 0, 100, 0}, {-200, -50, 50, 150}, {1, 2, 3, 3}},
        // Edges and positions at the ends of the number range: no edge is ever passed by the
        // largest position unless it lies below it, and the smallest passes none.
        {"extreme edges", 4, {lowest, 0, highest - 1, 0}, {lowest, lowest + 1, highest}, {1, 2, 4}},
        {"an edge at the largest position", 3, {100, highest, 5, 0}, {highest}, {2}},
    };
    for (const ChannelRuleCase& c : cases) {
        const auto state = std::make_unique<CoreState>();
        state->channelCount = c.channelCount;
        for (int32_t k = 1; k <= maxChannels; ++k)
            state->channelTable[k].rightEdge = c.rightEdges[k - 1];
        ChannelCursor cursor(*state);
        for (size_t k = 0; k < c.positions.size(); ++k) {
            EXPECT_EQ(cursor.advanceTo(c.positions[k]), c.channels[k])
                << c.name << ", position " << c.positions[k];
        }
    }
}

// The edges a pass starts from are kept from line to line: any change of the channel count or of
// a right edge that the cursor reads makes them again, so a cursor from the kept edges always
// places positions as one made from the table as it stands.
TEST(ChannelRule, KeptEdgesFollowEveryChangeOfTheTable) {
    struct Change {
        const char* name;
        void (*apply)(CoreState&);
    };
    const Change changes[] = {
        {"fewer channels", [](CoreState& s) { s.channelCount = 2; }},
        {"first edge", [](CoreState& s) { s.channelTable[1].rightEdge = 700; }},
        {"second edge", [](CoreState& s) { s.channelTable[2].rightEdge = 1200; }},
        {"third edge",
         [](CoreState& s) { s.channelTable[3].rightEdge = 900; }},  // no longer rising
    };
    const int32_t positions[] = {100, 600, 800, 1100, 1300, 1700, 2500};
    for (const Change& change : changes) {
        const auto state = std::make_unique<CoreState>();
        state->channelCount = 4;
        for (int32_t k = 1; k <= maxChannels; ++k) state->channelTable[k].rightEdge = 500 * k;
        ChannelEdges kept(*state);
        change.apply(*state);
        EXPECT_FALSE(kept.matches(*state)) << change.name;
        kept.update(*state);
        EXPECT_TRUE(kept.matches(*state)) << change.name;
        ChannelCursor fromKept(kept);
        ChannelCursor fromTable(*state);
        for (const int32_t x : positions)
            EXPECT_EQ(fromKept.advanceTo(x), fromTable.advanceTo(x)) << change.name << ", " << x;
    }
}

}  // namespace
}  // namespace velkor
