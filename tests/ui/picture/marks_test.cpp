// The marks on the picture: a counted object framed in its channel's colour where it lies, a
// rejected one dashed grey, the explanation shown when the pointer rests on a mark, the marks
// button and key E, the frame's summary beside the picture, and where a mark lies in a frame.
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "tests/support/window_fixture.h"
#include "ui/picture/ending_marks.h"
#include "ui/picture/picture_geometry.h"

namespace velkor::test {
namespace {

class MarksTest : public WindowTest {
protected:
    // Fish 24 pixels wide from pixel 30 in the left channel, one every 40 lines, `length` lines
    // long; frames of 100 lines.
    void openFish(int length) {
        Session s;
        s.channels = {{0, 255, "Left"}, {256, 511, "Right"}};
        s.fishLength = length;
        makeWindow(100);
        ASSERT_TRUE(open(session("fish", s)));
        QApplication::processEvents();
    }
    int row(int pixel) const { return skal(pixel, 0, 511, window->PaintBox1->height()); }
    QRgb pixel(int x, int y) const { return window->PaintBox1->image().pixel(x, y); }
    // The tooltip the picture shows when the pointer rests at `at`.
    QString tooltipAt(QPoint at) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, at, window->PaintBox1->mapToGlobal(at));
        QApplication::sendEvent(window->PaintBox1, &help);
        return QToolTip::text();
    }
};

TEST_F(MarksTest, CountedFishIsFramedInItsChannelsColourAndExplained) {
    openFish(12);
    EXPECT_TRUE(window->marksbtn->isChecked());
    // The second fish lies on lines 41..52 (columns 40..51), pixels 30..54; it ends on line 53.
    const int middle = (row(30) + row(54)) / 2;
    const QRgb colour = channelMarkColour(1);
    for (int x : {38, 39, 52, 53}) EXPECT_EQ(pixel(x, middle), colour) << x;
    EXPECT_EQ(pixel(45, row(30) - 2), colour);   // top side
    EXPECT_EQ(pixel(45, middle), strokeColour);  // the stroke stays underneath
    // Its running number above the frame, in the channel's colour.
    int numbered = 0;
    for (int y = std::max(0, row(30) - 16); y < row(30) - 3; ++y)
        for (int x = 38; x < 50; ++x) numbered += pixel(x, y) == colour;
    EXPECT_GT(numbered, 3);

    const QString tip = tooltipAt(QPoint(45, middle));
    for (const char* text : {"counted as no. 2 in Left", "length 12 lines (limits 3 … 150)",
                             "width 24 px (3 … 60)", "area 288 (18 … 9000)",
                             "lines 41 … 52, pixels 30 … 54", "shape state 0", "split group: none"})
        EXPECT_TRUE(tip.contains(QString::fromUtf8(text))) << text << "\n" << tip.toStdString();
    // A tap on the mark (no pointer to rest) explains it as well.
    QToolTip::hideText();
    strokeOnPicture({QPoint(45, middle)});
    EXPECT_TRUE(QToolTip::text().contains("counted as no. 2 in Left"))
        << QToolTip::text().toStdString();
    // Away from every mark the picture's own tooltip shows.
    EXPECT_FALSE(tooltipAt(QPoint(70, row(400))).contains("counted"));

    // Each channel has its fish.
    EXPECT_EQ(window->frameSummary->text().toStdString(), "Counted 6, rejected 0");
}

TEST_F(MarksTest, RejectedFishIsDashedGreyWithItsReason) {
    openFish(2);  // two lines: too short for class 2
    const int middle = (row(30) + row(54)) / 2;
    // Fish 2 on lines 41..42 (columns 40..41), drawn 4 columns wide (39..42): its frame's right
    // side is at column 43.
    int grey = 0;
    for (int y = row(30) - 1; y <= row(54); ++y) grey += pixel(43, y) == rejectedMarkColour;
    EXPECT_GT(grey, 3);
    EXPECT_LT(grey, row(54) - row(30));  // dashed, not solid
    const QString tip = tooltipAt(QPoint(41, middle));
    EXPECT_TRUE(tip.contains("not counted: too short (Left)")) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QString::fromUtf8("length 2 lines (limits 3 … 150)")));
    EXPECT_EQ(window->frameSummary->text().toStdString(), "Counted 0, rejected 6: 6 too short");
}

TEST_F(MarksTest, ButtonAndKeyESwitchTheMarks) {
    openFish(12);
    const int middle = (row(30) + row(54)) / 2;
    ASSERT_EQ(pixel(39, middle), channelMarkColour(1));
    click(window->marksbtn);
    EXPECT_FALSE(window->marksbtn->isChecked());
    EXPECT_EQ(pixel(39, middle), pictureBackground);
    EXPECT_EQ(window->PaintBox1->marks().count(), 0);
    QTest::keyClick(window.get(), Qt::Key_E);
    EXPECT_TRUE(window->marksbtn->isChecked());
    EXPECT_EQ(pixel(39, middle), channelMarkColour(1));
    // Stepping on keeps them: frame 2 holds the fish of lines 121..132 and 161..172 of both
    // channels; the first is the fourth of the left channel.
    click(window->Farwardbtn);
    EXPECT_EQ(window->PaintBox1->marks().count(), 4);
    EXPECT_EQ(window->PaintBox1->marks().ended(0).number, 4);
}

// After a finished automatic count the marks of the last frame carry the fish's places in the
// channel's count shown in the counter, as after a cancelled one.
TEST_F(MarksTest, MarksAfterAnAutomaticCountNumberTheFishInTheChannelsCount) {
    openFish(12);
    QTest::keyClick(window.get(), Qt::Key_A);  // mark at frame 1
    // Frame 4 reached by a step back and one forward: its own marks number from frame 3 on.
    for (int i = 0; i < 4; ++i) click(window->Farwardbtn);
    click(window->backwardbtn);
    ASSERT_EQ(frame(), 4);
    QTest::keyClick(window.get(), Qt::Key_A);  // count frames 1..4
    QApplication::processEvents();
    ASSERT_EQ(window->engine().lastFrameRead(), 4);
    const auto& marks = window->PaintBox1->marks();
    ASSERT_GT(marks.count(), 0);
    int last = 0;
    for (int k = 0; k < marks.count(); ++k)
        if (marks.ended(k).ending.channel == 1) last = std::max(last, marks.ended(k).number);
    EXPECT_EQ(last, window->LabeledEdit[1]->text().toInt());
    EXPECT_GT(last, 4);
}

// A picture narrowed after the frame was read says that part of the frame is hidden, since the
// summary counts the whole frame; the next move reads frames of the new width.
TEST_F(MarksTest, NarrowedPictureSaysWhatOfTheFrameIsHidden) {
    openFish(12);
    EXPECT_EQ(window->frameSummary->text().toStdString(), "Counted 6, rejected 0");
    window->PaintBox1->setFixedWidth(60);
    QApplication::processEvents();
    EXPECT_EQ(window->frameSummary->text().toStdString(),
              "Counted 6, rejected 0; the last 40 lines of this frame are hidden until the next "
              "move");
    click(window->Farwardbtn);
    EXPECT_FALSE(window->frameSummary->text().contains("hidden"));
}

// Where a label of 20 x 12 pixels may go beside a mark in a picture 100 wide: above and below
// stay inside the picture at the right edge, so no mark there loses its label.
TEST(LabelPlace, CandidatesStayInsideThePicture) {
    struct Case {
        QRect mark;
        int aboveLeft;
    };
    const Case cases[] = {
        {QRect(QPoint(30, 40), QPoint(40, 60)), 28},  // room on both sides
        {QRect(QPoint(0, 40), QPoint(5, 60)), 0},     // at the left edge
        {QRect(QPoint(95, 40), QPoint(99, 60)), 80},  // at the right edge: moved left
        {QRect(QPoint(88, 40), QPoint(90, 60)), 80}, {QRect(QPoint(10, 40), QPoint(12, 60)), 8},
    };
    for (const Case& c : cases) {
        const auto places = labelCandidates(c.mark, 20, 12, 100);
        EXPECT_EQ(places[0], QRect(c.aboveLeft, c.mark.top() - 15, 20, 12)) << c.mark.left();
        EXPECT_EQ(places[1], QRect(c.aboveLeft, c.mark.bottom() + 4, 20, 12)) << c.mark.left();
        EXPECT_EQ(places[2], QRect(c.mark.right() + 4, c.mark.top(), 20, 12));
        EXPECT_EQ(places[3], QRect(c.mark.left() - 24, c.mark.top(), 20, 12));
        // Above and below lie inside the picture, left to right.
        EXPECT_GE(places[0].left(), 0);
        EXPECT_LT(places[0].right(), 100);
    }
}

// An object of a line or two gets a box of at least 4 pixels each way, about its middle and
// inside the picture; a larger one keeps its own.
TEST(LabelPlace, SmallMarksAreDrawnAtLeastFourPixelsWide) {
    const std::pair<QRect, QRect> cases[] = {
        {QRect(50, 40, 1, 20), QRect(49, 40, 4, 20)},  // one line
        {QRect(50, 40, 2, 20), QRect(49, 40, 4, 20)},
        {QRect(0, 40, 1, 20), QRect(0, 40, 4, 20)},    // at the left edge
        {QRect(99, 40, 1, 20), QRect(96, 40, 4, 20)},  // at the right edge
        {QRect(50, 40, 6, 1), QRect(50, 39, 6, 4)},    // one pixel high
        {QRect(30, 40, 10, 20), QRect(30, 40, 10, 20)},
    };
    for (const auto& [mark, drawn] : cases)
        EXPECT_EQ(drawnMarkRect(mark, 4, 100), drawn) << mark.x();
}

// Where the mark of an object ending on `line` with `lengd` lines lies in a frame of 100 lines
// that begins at line 101.
TEST(MarkPlace, ColumnsOfTheObjectsLinesInThisFrame) {
    struct Case {
        int32_t line, lengd;
        int left, right;
        bool partial;
    };
    const Case cases[] = {
        {131, 10, 20, 29, false},  // lines 121..130
        {102, 1, 0, 0, false},     // a one-line object on the frame's first line
        {111, 30, 0, 9, true},     // began on line 81
        {101, 5, 0, 2, true},      // its lines all lie in the frame before: a narrow mark
        {200, 10, 89, 98, false},
    };
    const MarkFrame frame{101, 100, 0, 511, 256};
    for (const Case& c : cases) {
        EndedObject e;
        e.line = c.line;
        e.ending.object.lengd = c.lengd;
        e.ending.object.xv = 0;
        e.ending.object.xh = 511;
        const MarkPlace place = markPlace(e, frame);
        EXPECT_EQ(place.rect.left(), c.left) << c.line;
        EXPECT_EQ(place.rect.right(), c.right) << c.line;
        EXPECT_EQ(place.partial, c.partial) << c.line;
        EXPECT_EQ(place.rect.top(), 0);
        EXPECT_EQ(place.rect.bottom(), 255);
    }
}

}  // namespace
}  // namespace velkor::test
