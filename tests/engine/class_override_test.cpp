// Size classes given to an engine that has a recording open: the next frame read is a jump that
// counts as an engine opened with those classes counts from that frame, and going back to the
// report's classes counts as the report does.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace velkor::test {
namespace {

struct Counted {
    ChannelArray<int32_t> totals{}, minLength{}, minWidth{};
    size_t endings = 0;
    int32_t countedFrom = 0;
    bool operator==(const Counted&) const = default;
};

Counted counted(ReplayEngine& e) {
    Counted c;
    for (int ch = 1; ch <= e.core().channelCount; ++ch) {
        c.totals[ch] = e.channelTotal(ch);
        c.minLength[ch] = e.core().minLength[ch];
        c.minWidth[ch] = e.core().minWidth[ch];
    }
    c.endings = e.frameEndings().size();
    c.countedFrom = e.countedFrom();
    return c;
}

// An engine opened with `classes` that jumps to frame 4 and steps to frame 6.
Counted openedWith(const ChannelArray<int32_t>& classes) {
    Session s(threeChannelSession(), 100, threeChannels);
    s.engine->setClassOverrides(classes);
    ReplayEngine& e = s.open();
    e.goToFrame(4);
    s.stepTo(6);
    return counted(e);
}

TEST(ClassOverridesWhileOpen, TheNextFrameReadCountsAsAnOpeningWithThem) {
    const ChannelArray<int32_t> report = noClassOverrides;
    const ChannelArray<int32_t> cases[] = {
        {-1, 5, -1, -1, -1}, {-1, -1, 0, 9, -1}, {-1, 4, 4, 4, -1}, {-1, 2, -1, -1, -1}};
    const Counted plain = openedWith(report);
    int differing = 0;
    for (const ChannelArray<int32_t>& classes : cases) {
        Session s(threeChannelSession(), 100, threeChannels);
        ReplayEngine& e = s.open();
        s.stepTo(3);
        s.framesRead.clear();
        e.setClassOverrides(classes);
        EXPECT_TRUE(s.framesRead.empty());  // nothing is read until the next move
        EXPECT_EQ(e.classOverrides(), classes);
        s.stepTo(6);
        EXPECT_EQ(s.framesRead, (std::vector<int32_t>{4, 5, 6}));
        const Counted expected = openedWith(classes);
        EXPECT_EQ(counted(e), expected) << classes[1] << classes[2] << classes[3];
        EXPECT_EQ(e.countedFrom(), 4);  // frame 4 was a jump
        differing += !(expected == plain);

        // Back to the report's classes: as the report counts.
        e.setClassOverrides(report);
        e.goToFrame(4);
        s.stepTo(6);
        EXPECT_EQ(counted(e), plain);
        EXPECT_EQ(e.report().sizeGroup[1], 2);  // the report stays as recorded
    }
    EXPECT_GT(differing, 0);
}

// Four channels of different fish, so that each channel's limits are its own.
Scene fourChannelSession() {
    Scene scene(1000);
    for (int k = 0; k < 9; ++k) {
        const int base = k * 100;
        scene.fish(base + 5, 10, 20, 30).fish(base + 30, 14, 150, 170);
        scene.fish(base + 50, 8, 280, 286).fish(base + 70, 20, 400, 430);
    }
    return scene;
}

const std::vector<Channel> fourChannels = {
    {0, 127, "First"}, {128, 255, "Second"}, {256, 383, "Third"}, {384, 511, "Fourth"}};

// A class given for the first channel alone, then for the last alone: that channel, and only
// that one, takes the limits every channel would take with the class.
TEST(ClassOverridesWhileOpen, TheFirstAndTheLastChannelEachTakeTheirOwnClass) {
    const auto limits = [](const ChannelArray<int32_t>& classes) {
        Session s(fourChannelSession(), 100, fourChannels);
        s.engine->setClassOverrides(classes);
        ReplayEngine& e = s.open();
        EXPECT_EQ(e.core().channelCount, 4);
        return std::pair{e.core().minLength, e.core().minWidth};
    };
    const auto plain = limits(noClassOverrides);
    const auto everyChannel = limits({-1, 9, 9, 9, 9});
    for (int channel : {1, 4}) {
        ChannelArray<int32_t> classes = noClassOverrides;
        classes[channel] = 9;
        const auto given = limits(classes);
        for (int c = 1; c <= 4; ++c) {
            const auto& expected = c == channel ? everyChannel : plain;
            EXPECT_EQ(given.first[c], expected.first[c])
                << "class for " << channel << ", channel " << c;
            EXPECT_EQ(given.second[c], expected.second[c])
                << "class for " << channel << ", channel " << c;
        }
        EXPECT_NE(given.first[channel], plain.first[channel]);
    }
}

}  // namespace
}  // namespace velkor::test
