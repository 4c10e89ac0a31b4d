// Explaining while replaying: every object that ends is handed on with its verdict, a counted one
// right before it is counted and with the running number it gets in its channel; the frame's
// endings and the verdicts since the last jump are kept; counting is the same as without.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace velkor::test {
namespace {

// Per 100 lines: a fish in channel 1, a one-line speck (too short) and a fish too wide for its
// class in channel 2, and a fish in channel 3 that crosses into the next frame of 100 lines.
Scene explainedSession() {
    Scene scene(2020);
    for (int k = 0; k < 20; ++k) {
        const int base = k * 100;
        scene.fish(base + 5, 10, 20, 30);
        scene.fish(base + 30, 1, 200, 205).fish(base + 40, 5, 250, 330);
        scene.fish(base + 95, 10, 400, 410);
    }
    return scene;
}

TEST(Explaining, EveryEndingIsHandedOnInOrderWithItsNumber) {
    Session s(explainedSession(), 100, threeChannels);
    s.engine->setExplaining(true);
    struct Event {
        bool counted;  // an onObjectCounted call; otherwise onObjectEnded
        int32_t frame, line, channel;
        tskepna object;
        EndingVerdict verdict = EndingVerdict::counted;
        int32_t number = 0;
    };
    std::vector<Event> events;
    s.engine->onObjectEnded = [&](int32_t frame, const EndedObject& e) {
        events.push_back(
            {false, frame, e.line, e.ending.channel, e.ending.object, e.ending.verdict, e.number});
    };
    s.engine->onObjectCounted = [&](int32_t frame, int32_t line, int32_t channel,
                                    const tskepna& o) {
        events.push_back({true, frame, line, channel, o});
    };
    ReplayEngine& e = s.open();
    ChannelArray<int32_t> numbers{};
    ChannelArray<int32_t> expectedTally{};
    s.stepTo(e.frameCount());
    for (size_t k = 0; k < events.size(); ++k) {
        const Event& x = events[k];
        if (x.counted) {
            // Right after the ending of the same object, which carries its running number.
            ASSERT_GT(k, 0u);
            const Event& ended = events[k - 1];
            EXPECT_FALSE(ended.counted);
            EXPECT_EQ(ended.verdict, EndingVerdict::counted);
            EXPECT_EQ(ended.object, x.object);
            EXPECT_EQ(ended.line, x.line);
            EXPECT_EQ(ended.channel, x.channel);
            EXPECT_EQ(ended.number, ++numbers[x.channel]);
        } else if (x.verdict == EndingVerdict::counted) {
            ASSERT_LT(k + 1, events.size());
            EXPECT_TRUE(events[k + 1].counted);
        } else {
            EXPECT_EQ(x.number, 0);
            ++expectedTally[x.channel];
        }
    }
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(numbers[c], e.channelTotal(c)) << c;
        EXPECT_EQ(e.verdictTally()[c][0], e.channelTotal(c)) << c;
    }
    EXPECT_EQ(e.channelTotal(1), 20);
    EXPECT_EQ(e.channelTotal(2), 0);
    EXPECT_EQ(e.channelTotal(3), 20);
    EXPECT_EQ(e.verdictTally()[2][static_cast<int>(EndingVerdict::tooShort)], 20);
    EXPECT_EQ(e.verdictTally()[2][static_cast<int>(EndingVerdict::tooWide)], 20);
    EXPECT_EQ(expectedTally[2], 40);
}

TEST(Explaining, TheFrameKeepsItsEndingsAndAJumpStartsTheVerdictsAfresh) {
    Session s(explainedSession(), 100, threeChannels);
    s.engine->setExplaining(true);
    ReplayEngine& e = s.open();
    s.stepTo(4);
    // Frame 4 (lines 301..400): the channel-3 fish of frame 3 ends on line 305, then this
    // frame's own fish, speck and wide fish.
    const FrameEndings& f = e.frameEndings();
    ASSERT_EQ(f.size(), 4);
    EXPECT_EQ(f.total(), 4);
    const struct {
        int32_t line, channel;
        EndingVerdict verdict;
        int32_t number, lengd;
    } expected[] = {
        {305, 3, EndingVerdict::counted, 3, 10},
        {315, 1, EndingVerdict::counted, 4, 10},
        {331, 2, EndingVerdict::tooShort, 0, 1},
        {345, 2, EndingVerdict::tooWide, 0, 5},
    };
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f[k].line, expected[k].line);
        EXPECT_EQ(f[k].column, expected[k].line - e.frameFirstLine());
        EXPECT_EQ(f[k].ending.channel, expected[k].channel);
        EXPECT_EQ(f[k].ending.verdict, expected[k].verdict);
        EXPECT_EQ(f[k].number, expected[k].number);
        EXPECT_EQ(f[k].ending.object.lengd, expected[k].lengd);
        // The limits it was judged by agree with its verdict.
        const ChannelLimits& l = f[k].ending.limits;
        const tskepna& o = f[k].ending.object;
        EXPECT_EQ(o.lengd < l.minLength, expected[k].verdict == EndingVerdict::tooShort);
        EXPECT_EQ(o.breidd >= l.maxWidth, expected[k].verdict == EndingVerdict::tooWide);
    }
    EXPECT_EQ(f.tally()[2][static_cast<int>(EndingVerdict::tooWide)], 1);

    // Reading frame 4 again is a jump: the channel-3 fish is seen from line 301 on only, and
    // the numbers and verdicts start afresh.
    e.lesaramma(4);
    ASSERT_EQ(f.size(), 4);
    EXPECT_EQ(f[0].ending.object.lengd, 4);
    EXPECT_EQ(f[0].number, 1);
    EXPECT_EQ(f[1].number, 1);
    EXPECT_EQ(e.verdictTally()[1][0], 1);
    EXPECT_EQ(e.verdictTally()[3][0], 1);
    EXPECT_EQ(e.verdictTally()[2][static_cast<int>(EndingVerdict::tooShort)], 1);
}

TEST(Explaining, CountsAreTheSameWithAndWithout) {
    std::vector<std::vector<int32_t>> totals;
    for (const bool explaining : {false, true}) {
        Session s(explainedSession(), 37, threeChannels, 5);
        s.engine->setExplaining(explaining);
        ReplayEngine& e = s.open();
        std::vector<int32_t> t;
        for (int f = 1; f <= e.frameCount(); ++f) {
            if (f > 1) e.FarwardbtnClick();
            for (int c = 1; c <= 3; ++c) t.push_back(e.channelTotal(c));
        }
        totals.push_back(t);
    }
    EXPECT_EQ(totals[0], totals[1]);
}

}  // namespace
}  // namespace velkor::test
