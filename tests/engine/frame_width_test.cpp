// Frames follow the picture's width: after W changes, the next move uses frames of the new W, so
// End and the track bar reach the recording's last line and no frame past it; the counts equal a
// replay made with the new W from the start. Go to jumps to a frame or a time of day.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "replay/go_to.h"

namespace velkor::test {
namespace {

// 1000 lines with a fish of 6 lines every 15 lines, in two channels.
Scene fishEvery15() {
    Scene scene(1000);
    for (int l = 1; l + 6 <= 1000; l += 15) scene.fish(l, 6, 40, 60).fish(l + 3, 6, 300, 330);
    return scene;
}
const std::vector<Channel> twoChannels{{0, 250, "Left"}, {260, 511, "Right"}};

// The counts of a fresh engine that reads `frame` of width W as a jump and steps on `steps`.
std::pair<int, int> freshCounts(int W, int frame, int steps = 0) {
    Session s(fishEvery15(), W, twoChannels);
    ReplayEngine& e = s.open();
    e.goToFrame(frame);
    for (int i = 0; i < steps; ++i) e.FarwardbtnClick();
    return {e.channelTotal(1), e.channelTotal(2)};
}

TEST(FrameWidth, EndReachesTheLastLineAfterEveryResize) {
    // Narrower, wider, a width that divides the line count, and a single frame.
    const std::pair<int, int> resizes[] = {{100, 37}, {37, 100}, {100, 125}, {30, 1500}};
    for (const auto& [openedW, newW] : resizes) {
        SCOPED_TRACE(std::to_string(openedW) + " -> " + std::to_string(newW));
        Session s(fishEvery15(), openedW, twoChannels);
        ReplayEngine& e = s.open();
        s.stepTo(3);
        const int shown = e.channelTotal(1);
        s.framesRead.clear();

        e.setFrameWidth(newW);  // the window was resized: nothing is read
        EXPECT_TRUE(s.framesRead.empty());
        EXPECT_EQ(e.readFrameWidth(), openedW);
        EXPECT_EQ(e.channelTotal(1), shown);
        EXPECT_EQ(e.frameCount(), 1000 / newW + 1);
        EXPECT_EQ(e.trackBar().maximum, std::min(e.frameCount(), 100));

        e.endbtnClick();
        EXPECT_EQ(e.readFrameWidth(), newW);
        EXPECT_EQ(e.currentFrame(), e.frameCount());
        const int lastLineShown = e.frameFirstLine() + e.frameColumn() - 1;
        if (1000 % newW != 0) {
            EXPECT_EQ(lastLineShown, 1000);
        }  // else the last frame is empty: frameCount is lineCount div W + 1
        EXPECT_FALSE(e.readOuts().forwardEnabled);
        e.FarwardbtnClick();  // nothing past the end
        EXPECT_EQ(s.framesRead.size(), 1u);
        EXPECT_EQ(std::make_pair(e.channelTotal(1), e.channelTotal(2)),
                  freshCounts(newW, e.frameCount()));

        // The thumb at its maximum reaches the last frame as well.
        e.beginbtnClick();
        e.TrackBar1Change(e.trackBar().maximum);
        EXPECT_EQ(e.currentFrame(), e.frameCount());
    }
}

TEST(FrameWidth, TheNextMoveCarriesTheFrameOverAndStartsTheCountAfresh) {
    Session s(fishEvery15(), 100, twoChannels);
    ReplayEngine& e = s.open();
    s.stepTo(4);  // lines 301..400
    e.setFrameWidth(40);
    EXPECT_EQ(e.currentFrame(), 8);  // lines 281..320 hold line 301
    s.framesRead.clear();
    e.FarwardbtnClick();
    EXPECT_EQ(s.framesRead, std::vector<int32_t>{9});
    EXPECT_EQ(e.frameFirstLine(), 321);
    // A jump, though it follows the frame carried over: the counts are frame 9's alone.
    EXPECT_EQ(std::make_pair(e.channelTotal(1), e.channelTotal(2)), freshCounts(40, 9));
    EXPECT_EQ(e.trackBar().selStart, e.trackBar().selEnd);
    e.FarwardbtnClick();  // stepping on counts on
    EXPECT_EQ(std::make_pair(e.channelTotal(1), e.channelTotal(2)), freshCounts(40, 9, 1));

    // A notification at the thumb's position reads after a change of width...
    e.setFrameWidth(50);
    EXPECT_TRUE(e.TrackBar1Change(e.trackBar().position));
    EXPECT_EQ(e.readFrameWidth(), 50);
    // ...and only once.
    EXPECT_FALSE(e.TrackBar1Change(e.trackBar().position));
    // The same width again changes nothing.
    s.framesRead.clear();
    e.setFrameWidth(50);
    EXPECT_FALSE(e.TrackBar1Change(e.trackBar().position));
    EXPECT_TRUE(s.framesRead.empty());
}

// After one resize or several (a maximize passes through widths, a narrowing too), the buttons
// and the moves follow from the frame shown: Begin and Backward wherever it does not start at
// line 1, Forward and End to a frame that starts after it, Backward to one that starts before it.
TEST(FrameWidth, MovesAfterResizesFollowTheFrameShown) {
    struct Case {
        int openedW, frame;  // frame 0: the last
        std::vector<int> widths;
    };
    const Case cases[] = {
        {20, 3, {50}},            // widened: frame 1 of 50 lines holds the frame shown
        {20, 3, {45, 61, 1000}},  // maximized in steps
        {20, 3, {30, 10, 7}},     // narrowed in steps
        {300, 0, {250, 200}},     // narrowed at the last frame
        {300, 0, {700, 250}},     // wider, then narrower, at the last frame
        {100, 1, {37, 100, 45}},  // at the first frame
        {40, 5, {40}},            // the same width
    };
    enum Move { forward, backward, begin, end };
    for (const Case& c : cases) {
        for (Move move : {forward, backward, begin, end}) {
            SCOPED_TRACE(std::to_string(c.openedW) + " frame " + std::to_string(c.frame) +
                         " move " + std::to_string(move));
            Session s(fishEvery15(), c.openedW, twoChannels);
            ReplayEngine& e = s.open();
            if (c.frame == 0) e.endbtnClick();
            s.stepTo(c.frame);
            const int32_t shown = e.frameFirstLine();
            for (int W : c.widths) e.setFrameWidth(W);
            const int W = c.widths.back();
            const bool later = static_cast<int64_t>(e.frameCount() - 1) * W + 1 > shown;
            const ReadOuts& r = e.readOuts();
            EXPECT_EQ(r.beginEnabled, shown > 1);
            EXPECT_EQ(r.backwardEnabled, shown > 1);
            EXPECT_EQ(r.forwardEnabled, later);
            EXPECT_EQ(r.endEnabled, later);
            s.framesRead.clear();
            switch (move) {
                case forward:
                    e.FarwardbtnClick();
                    if (later) {
                        EXPECT_GT(e.frameFirstLine(), shown);
                        EXPECT_LE(e.frameFirstLine(), shown + W);
                    }
                    break;
                case backward:
                    e.backwardbtnClick();
                    if (shown > 1) {
                        EXPECT_LT(e.frameFirstLine(), shown);
                        EXPECT_GE(e.frameFirstLine(), shown - W);
                    }
                    break;
                case begin:
                    e.beginbtnClick();
                    EXPECT_EQ(e.frameFirstLine(), 1);
                    break;
                case end:
                    e.endbtnClick();
                    EXPECT_EQ(e.currentFrame(), e.frameCount());
                    break;
            }
            if (move == forward && !later) {
                EXPECT_TRUE(s.framesRead.empty());
            }
            if (move == backward && shown == 1) {
                EXPECT_TRUE(s.framesRead.empty());
            }
        }
    }
}

TEST(FrameWidth, TheMarkOfTheAutomaticCountIsCarriedOver) {
    Session s(fishEvery15(), 100, twoChannels);
    ReplayEngine& e = s.open();
    s.stepTo(3);  // mark frame 3: lines 201..300
    e.AutocountbtnClick();
    s.stepTo(6);  // count up to frame 6: lines 501..600
    e.setFrameWidth(50);
    EXPECT_EQ(e.autoCountStart(), 4);  // the marked frame is 5, lines 201..250
    s.framesRead.clear();
    e.AutocountbtnClick();
    EXPECT_EQ(s.framesRead, (std::vector<int32_t>{5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(std::make_pair(e.channelTotal(1), e.channelTotal(2)), freshCounts(50, 5, 6));
}

TEST(GoTo, TargetsTypedByTheUser) {
    using K = GoToTarget::Kind;
    const std::pair<const char*, std::optional<GoToTarget>> cases[] = {
        {"10:30:00", GoToTarget{K::timeOfDay, 37800}},
        {" 0:05:09 ", GoToTarget{K::timeOfDay, 309}},
        {"23:59", GoToTarget{K::timeOfDay, 86340}},
        {"23:59:59", GoToTarget{K::timeOfDay, 86399}},
        {"1", GoToTarget{K::frame, 1}},
        {"125", GoToTarget{K::frame, 125}},
        {"2147483647", GoToTarget{K::frame, 2147483647}},
        {"0", std::nullopt},
        {"2147483648", std::nullopt},
        {"24:00:00", std::nullopt},
        {"10:60", std::nullopt},
        {"10:5", std::nullopt},
        {"10:30:00:00", std::nullopt},
        {"10::00", std::nullopt},
        {"-5", std::nullopt},
        {"10.30", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(parseGoToTarget(text), expected) << text;
}

TEST(GoTo, FrameOfATimeOfDay) {
    const double tenOClock = 45000 + 10.0 / 24;       // 10:00:00
    const double beforeMidnight = 45000 + 23.5 / 24;  // 23:30:00
    const int hour = 3600 * 1116;
    using P = TimePlacement;
    struct Case {
        double start;
        int seconds;
        int lineCount, W;
        FrameAtTime expected;
    };
    const Case cases[] = {
        {tenOClock, 10 * 3600, hour, 1116, {1, P::inside}},
        // 10:00:01 is line 1116, the last of frame 1: frame 2 is the first to show it.
        {tenOClock, 10 * 3600 + 1, hour, 1116, {2, P::inside}},
        // In frames of 1000 lines frame 2 (from line 1001, 0.897 s) already shows 10:00:01.
        {tenOClock, 10 * 3600 + 1, hour, 1000, {2, P::inside}},
        {tenOClock, 10 * 3600 + 1800, hour, 1116, {1801, P::inside}},
        // Inside the last frame, the end of the recording and after it: the last frame.
        {tenOClock, 11 * 3600, hour, 1000, {4018, P::inside}},
        {tenOClock, 11 * 3600 + 60, hour, 1000, {4018, P::afterEnd}},
        {tenOClock, 21 * 3600, hour, 1000, {4018, P::afterEnd}},
        {tenOClock, 22 * 3600, hour, 1000, {4018, P::afterEnd}},  // 11 h after the end
        // Before the start, and nearer to it than to the end: the first frame.
        {tenOClock, 23 * 3600, hour, 1000, {1, P::beforeStart}},  // 11 h before the start
        {tenOClock, 9 * 3600, hour, 1000, {1, P::beforeStart}},
        {tenOClock, 0, hour, 1000, {1, P::beforeStart}},
        // The second in which the recording starts shows in the time label of frame 1.
        {tenOClock + 0.5 / 86400, 10 * 3600, hour, 1000, {1, P::inside}},
        {tenOClock + 0.5 / 86400, 10 * 3600 - 1, hour, 1000, {1, P::beforeStart}},
        // Past midnight: counted from the start.
        {beforeMidnight, 15 * 60, hour, 1116, {2701, P::inside}},
        {beforeMidnight, 23 * 3600 + 45 * 60, hour, 1116, {901, P::inside}},
        {beforeMidnight, 23 * 3600, hour, 1116, {1, P::beforeStart}},
        {beforeMidnight, 1 * 3600, hour, 1116, {3601, P::afterEnd}},
        // A day and more: every time of day lies inside, at its first coming.
        {tenOClock, 9 * 3600, 25 * hour, 111600, {829, P::inside}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frameAtTimeOfDay(c.start, c.seconds, c.lineCount, c.W), c.expected)
            << c.seconds << " s, W " << c.W;
    }
}

TEST(GoTo, JumpsAndStartsTheCountAfresh) {
    // The session starts a few milliseconds after 10:00:00; frames of 100 lines.
    Session s(fishEvery15(), 100, twoChannels);
    ReplayEngine& e = s.open();
    s.stepTo(3);
    s.framesRead.clear();
    e.goToFrame(4);  // the next frame, yet a jump
    EXPECT_EQ(std::make_pair(e.channelTotal(1), e.channelTotal(2)), freshCounts(100, 4));
    e.goToFrame(99);  // held at the last frame
    EXPECT_EQ(e.currentFrame(), 11);
    EXPECT_EQ(e.trackBar().position, 11);
    EXPECT_EQ(e.goToTimeOfDay(9 * 3600), TimePlacement::beforeStart);
    EXPECT_EQ(e.currentFrame(), 1);
    EXPECT_EQ(e.trackBar().position, 1);
    EXPECT_EQ(s.framesRead, (std::vector<int32_t>{4, 11, 1}));
    // After a change of width the time is found in frames of the new width.
    e.setFrameWidth(50);
    EXPECT_EQ(e.goToTimeOfDay(10 * 3600 + 0), TimePlacement::inside);
    EXPECT_EQ(e.currentFrame(), 1);
    EXPECT_EQ(e.readFrameWidth(), 50);
    EXPECT_EQ(e.frameCount(), 21);
}

}  // namespace
}  // namespace velkor::test
