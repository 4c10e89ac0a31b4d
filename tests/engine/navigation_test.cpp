// The window's navigation through the engine: buttons, the track bar and the ends of the
// recording, with the frames each move reads.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace velkor::test {
namespace {

TEST(Navigation, FortyFrames) {
    Session s(Scene(39), 1);  // 40 frames, maximum 40
    ReplayEngine& e = s.open();
    s.stepTo(9);
    s.framesRead.clear();
    e.FarwardbtnClick();
    EXPECT_EQ(e.trackBar().maximum, 40);
    EXPECT_EQ(e.trackBar().position, 10);
    EXPECT_EQ(s.framesRead, std::vector<int32_t>{10});

    EXPECT_TRUE(e.TrackBar1Change(20));
    EXPECT_EQ(s.framesRead.back(), 20);
    EXPECT_FALSE(e.TrackBar1Change(20));  // a repeated notification reads nothing
    EXPECT_EQ(s.framesRead.size(), 2u);
    e.FarwardbtnClick();
    EXPECT_EQ(e.trackBar().selStart, 20);  // the drag was a jump; stepping on extends it
    EXPECT_EQ(e.trackBar().selEnd, 21);
}

TEST(Navigation, TwoHundredFiftyFrames) {
    Session s(Scene(249), 1);  // 250 frames, maximum 100
    ReplayEngine& e = s.open();
    EXPECT_EQ(e.trackBar().maximum, 100);
    s.stepTo(9);
    s.framesRead.clear();
    e.FarwardbtnClick();
    EXPECT_EQ(e.trackBar().position, 4);  // truncated(10 / 250 x 100)
    // Stepping on from the opening counted without a break: the band spans the steps.
    EXPECT_EQ(e.trackBar().selStart, 1);
    EXPECT_EQ(e.trackBar().selEnd, 4);
    EXPECT_TRUE(e.TrackBar1Change(50));
    EXPECT_EQ(s.framesRead, (std::vector<int32_t>{10, 125}));
    EXPECT_EQ(e.currentFrame(), 125);

    e.endbtnClick();
    EXPECT_EQ(e.trackBar().position, 100);
    EXPECT_EQ(s.framesRead.back(), 250);
    e.backwardbtnClick();
    EXPECT_EQ(s.framesRead.back(), 249);
    EXPECT_EQ(e.trackBar().position, 99);
}

TEST(Navigation, BeginReadsFrameOneOnceAndTheEndsAreIgnored) {
    Session s(Scene(39), 1);
    ReplayEngine& e = s.open();
    EXPECT_EQ(e.trackBar().position, 1);
    s.framesRead.clear();
    e.beginbtnClick();
    EXPECT_EQ(s.framesRead, std::vector<int32_t>{1});
    e.backwardbtnClick();  // frame 0 is never read
    EXPECT_EQ(s.framesRead.size(), 1u);
    EXPECT_EQ(e.currentFrame(), 1);
    e.endbtnClick();
    e.FarwardbtnClick();  // frame 41 neither
    EXPECT_EQ(s.framesRead, (std::vector<int32_t>{1, 40}));
    e.lesaramma(0);
    e.lesaramma(41);
    EXPECT_EQ(s.framesRead.size(), 2u);
    e.TrackBar1Change(1000);  // held at the maximum, the position of the frame read last
    EXPECT_EQ(s.framesRead.size(), 2u);
}

}  // namespace
}  // namespace velkor::test
