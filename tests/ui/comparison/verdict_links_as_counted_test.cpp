// The verdict dock's links show their frames as the continuous count had them, whatever the
// "As counted" view is set to: every frame a "too small" link of channel 2 goes to holds an object
// of channel 2 that ended too small there, outlined; a jump there counting afresh loses some. While
// a recount with another class runs, the dock offers no links of the old count.
#include <QLabel>
#include <string>

#include "replay/verdict_index.h"
#include "tests/support/touching_session.h"
#include "tests/support/window_fixture.h"
#include "tools/velkor-synth/session_writer.h"
#include "ui/comparison/verdict_panel.h"
#include "ui/counters/class_chooser.h"
#include "ui/navigation/as_counted_view.h"
#include "ui/picture/ending_marks.h"

namespace velkor::test {
namespace {

// Channel 2 counted with a class too large for its fish: many of them end too small.
std::string tooSmallInChannelTwo(const TempDir& dir) {
    return writeTouchingSession(dir, "small", 11,
                                {{10, 160, 2}, {175, 330, 4, 160, 2}, {345, 500, 1}});
}

bool endedThere(const FrameEndings& endings, int32_t channel, EndingVerdict verdict) {
    for (int32_t k = 0; k < endings.size(); ++k)
        if (endings[k].ending.channel == channel && endings[k].ending.verdict == verdict)
            return true;
    return false;
}

using VerdictLinksTest = WindowTest;

TEST_F(VerdictLinksTest, EveryLinkShowsAnObjectOfItsVerdictOutlined) {
    constexpr EndingVerdict tooSmall = EndingVerdict::tooSmall;
    const QString next = QString("next:2:%1").arg(int(tooSmall));
    int lostAfresh = 0;
    for (const int width : {20, 100, 557}) {
        SCOPED_TRACE("frames of " + std::to_string(width) + " lines");
        makeWindow(width);
        ASSERT_TRUE(open(tooSmallInChannelTwo(dir)));
        ASSERT_TRUE(waitForWholeCount());
        ASSERT_FALSE(window->asCounted->on());
        const std::vector<int32_t> frames = window->wholeCount()->verdictFrames.frames(2, tooSmall);
        ASSERT_GE(frames.size(), 5u);
        const VerdictIndex& index = window->wholeCount()->verdictFrames;
        for (size_t i = 0; i < frames.size(); ++i) {
            const int32_t f = index.next(2, tooSmall, frame());
            SCOPED_TRACE("frame " + std::to_string(f));
            window->verdictPanel->follow(next);
            ASSERT_EQ(frame(), f);
            EXPECT_TRUE(endedThere(window->engine().frameEndings(), 2, tooSmall));
            const EndingMarks& marks = window->PaintBox1->marks();
            int outlined = 0;
            for (int k = 0; k < marks.count(); ++k) outlined += marks.highlighted(k);
            EXPECT_GT(outlined, 0);
            EXPECT_TRUE(window->countedFrames->text().endsWith(", as counted from the start"));
        }
        // What a jump there counting afresh shows instead.
        for (const int32_t f : frames) {
            window->engine().goToFrame(f);
            lostAfresh += !endedThere(window->engine().frameEndings(), 2, tooSmall);
        }
        EXPECT_TRUE(messages.shown.empty());
        window.reset();
    }
    EXPECT_GT(lostAfresh, 0);  // the fixture shows what the links mend
}

// Another class chosen: the dock's links wait for the recount, and then show its frames as it
// counted them.
TEST_F(VerdictLinksTest, AfterAnotherClassTheLinksAreTheRecounts) {
    makeWindow(100);
    ASSERT_TRUE(open(tooSmallInChannelTwo(dir)));
    ASSERT_TRUE(waitForWholeCount());
    ASSERT_NE(window->verdictPanel->text(), "");
    window->classChooser[2]->choose(2);  // the class of channel 2's fish
    ASSERT_TRUE(window->backgroundCountRunning());
    EXPECT_EQ(window->verdictPanel->text(), "");  // no link of the count with the old class
    ASSERT_TRUE(waitForWholeCount());
    const VerdictIndex& index = window->wholeCount()->verdictFrames;
    const size_t counted = index.frames(2, EndingVerdict::counted).size();
    ASSERT_GE(counted, 10u);
    for (size_t i = 0; i < counted; ++i) {
        const int32_t f = index.next(2, EndingVerdict::counted, frame());
        window->verdictPanel->follow(QString("next:2:%1").arg(int(EndingVerdict::counted)));
        ASSERT_EQ(frame(), f);
        EXPECT_TRUE(endedThere(window->engine().frameEndings(), 2, EndingVerdict::counted)) << f;
    }
}

}  // namespace
}  // namespace velkor::test
