// Go to at the edges: what is typed right at the limits of a time or a frame number, and the frame
// of a time of day in recordings of a few lines, frames of one or two lines, the recording's last
// line, and a time exactly as far after the end as before the start.
#include <gtest/gtest.h>

#include "replay/go_to.h"

namespace velkor {
namespace {

TEST(GoToEdges, TypedTargetsAtTheirLimits) {
    using K = GoToTarget::Kind;
    const std::pair<const char*, std::optional<GoToTarget>> cases[] = {
        {"0:00", GoToTarget{K::timeOfDay, 0}},
        {"00:00:00", GoToTarget{K::timeOfDay, 0}},
        {"\t12\t", GoToTarget{K::frame, 12}},
        {"0000000001", GoToTarget{K::frame, 1}},  // ten digits
        {"00000000001", std::nullopt},            // eleven
        {"9:59:59", GoToTarget{K::timeOfDay, 9 * 3600 + 59 * 60 + 59}},
        {"23:00", GoToTarget{K::timeOfDay, 23 * 3600}},
        {"123:00", std::nullopt},
        {"10:00:5", std::nullopt},
        {"10:00:", std::nullopt},
        {":10", std::nullopt},
        {"10", GoToTarget{K::frame, 10}},
        {"+5", std::nullopt},
        {"1 2", std::nullopt},
        {" ", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(parseGoToTarget(text), expected) << text;
}

TEST(GoToEdges, FrameOfATimeInSmallRecordingsAndNarrowFrames) {
    const double tenOClock = 45000 + 10.0 / 24;
    const double msLater = 1.0 / 86400000;  // a millisecond in days
    using P = TimePlacement;
    const int s10 = 10 * 3600;
    struct Case {
        double start;
        int seconds;
        int lineCount, W;
        FrameAtTime expected;
    };
    const Case cases[] = {
        // Five lines in frames of one: six frames (lineCount div W + 1).
        {tenOClock, s10, 5, 1, {1, P::inside}},
        {tenOClock, s10 + 1, 5, 1, {6, P::afterEnd}},
        {tenOClock, s10 - 1, 5, 1, {1, P::beforeStart}},
        // The time label shows 10:00:01 from half a second on: line 558 lies at 0.5 s and shows
        // 10:00:00 in the label's own arithmetic, line 559 shows 10:00:01. In frames of one, two
        // and 1116 lines:
        {tenOClock, s10 + 1, 2232, 1, {559, P::inside}},
        {tenOClock, s10 + 1, 2232, 2, {280, P::inside}},  // frame 280 starts on line 559
        {tenOClock, s10 + 1, 2232, 0, {559, P::inside}},  // no width: frames of one line
        {tenOClock, s10 + 1, 2232, 1116, {2, P::inside}},
        // 10:00:02 is line 2232: the recording's last line, or one past it.
        {tenOClock, s10 + 2, 2232, 1116, {3, P::inside}},
        {tenOClock, s10 + 2, 2232, 1, {1675, P::inside}},  // shown from line 1675 (1.5 s) on
        {tenOClock, s10 + 2, 2231, 1116, {2, P::afterEnd}},
        // A start 300 ms after 10:00:00: 10:00:01 shows from 200 ms on, line 224.
        {tenOClock + 300 * msLater, s10 + 1, 2232, 1, {224, P::inside}},
        // A start 500 ms after it shows 10:00:01 already.
        {tenOClock + 500 * msLater, s10 + 1, 2232, 1, {1, P::inside}},
        // Two seconds of recording: 22:00:01 is 12 h after the end and 12 h before the start;
        // the end wins the tie, a second later the start is nearer.
        {tenOClock, 22 * 3600, 2232, 1116, {3, P::afterEnd}},
        {tenOClock, 22 * 3600 + 1, 2232, 1116, {3, P::afterEnd}},
        {tenOClock, 22 * 3600 + 2, 2232, 1116, {1, P::beforeStart}},
        // 1000 lines end 896 ms after a start at 10:00:00.700: 22:00:01 is a little nearer to the
        // end than to the start, 22:00:02 nearer to the start.
        {tenOClock + 700 * msLater, 22 * 3600 + 1, 1000, 1000, {2, P::afterEnd}},
        {tenOClock + 700 * msLater, 22 * 3600 + 2, 1000, 1000, {1, P::beforeStart}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frameAtTimeOfDay(c.start, c.seconds, c.lineCount, c.W), c.expected)
            << c.seconds << " s, " << c.lineCount << " lines, W " << c.W;
    }
}

TEST(GoToEdges, TheFrameThatHoldsALine) {
    const struct {
        int64_t line;
        int32_t W;
        int32_t frame;
    } cases[] = {
        {1, 1, 1},       {2, 1, 2},       {1, 2, 1}, {2, 2, 1},  {3, 2, 2},
        {1116, 1116, 1}, {1117, 1116, 2}, {0, 5, 1}, {-3, 5, 1}, {7, 0, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(frameOfLine(c.line, c.W), c.frame) << c.line << " " << c.W;
    // Line 1116 lies one second after the start, line 1116 * 3600 one hour.
    EXPECT_NEAR(timeOfLine(45000.25, 1116), 45000.25 + 1.0 / 86400, 1e-10);
    EXPECT_NEAR(timeOfLine(45000.25, 1116 * 3600), 45000.25 + 1.0 / 24, 1e-10);
    EXPECT_DOUBLE_EQ(timeOfLine(45000.25, 0), 45000.25);
}

}  // namespace
}  // namespace velkor
