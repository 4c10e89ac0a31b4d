// The View Record window driven as a user drives it: buttons, track bar, strokes on the picture,
// the automatic count button and the chart, with the message boxes recorded.
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTest>
#include <cmath>
#include <regex>

#include "replay/replay_engine.h"
#include "tests/support/bytes.h"
#include "tests/support/window_fixture.h"
#include "ui/chart/chart_axis.h"
#include "ui/chart/throughput_chart.h"
#include "ui/navigation/selection_track_bar.h"
#include "ui/picture/picture_geometry.h"

namespace velkor::test {
namespace {

// Frames of 100 lines: 3950 lines make 40 frames, 24950 make 250.
Session framesOf100(int frames) {
    Session s;
    s.lineCount = (frames - 1) * 100 + 50;
    return s;
}

struct ButtonStates {
    bool begin, backward, forward, end;
    bool operator==(const ButtonStates&) const = default;
};

class NavigationTest : public WindowTest {
protected:
    ButtonStates buttons() const {
        return {window->beginbtn->isEnabled(), window->backwardbtn->isEnabled(),
                window->Farwardbtn->isEnabled(), window->endbtn->isEnabled()};
    }
};

// The track bar shows the engine's position, range and band after every kind of move, and a
// thumb moved by the window reads no frame. The arithmetic behind them is the engine's, tested
// with its tables.
TEST_F(NavigationTest, TheTrackBarShowsTheEngineAfterEveryMove) {
    for (const int frames : {40, 250}) {  // a thumb position per frame, and 100 positions
        SCOPED_TRACE(frames);
        makeWindow();
        ASSERT_TRUE(open(session("frames" + std::to_string(frames), framesOf100(frames))));
        auto expectShown = [&](const char* after) {
            const TrackBarState& t = window->engine().trackBar();
            EXPECT_EQ(window->TrackBar1->minimum(), t.minimum) << after;
            EXPECT_EQ(window->TrackBar1->maximum(), t.maximum) << after;
            EXPECT_EQ(window->TrackBar1->value(), t.position) << after;
            EXPECT_EQ(window->TrackBar1->selStart(), t.selStart) << after;
            EXPECT_EQ(window->TrackBar1->selEnd(), t.selEnd) << after;
        };
        expectShown("opening");
        EXPECT_EQ(window->engine().frameCount(), frames);

        countReads();
        for (int step = 1; step <= 9; ++step) click(window->Farwardbtn);
        expectShown("forward");
        EXPECT_EQ(reads, (std::vector<int32_t>{2, 3, 4, 5, 6, 7, 8, 9, 10}));

        drag(20);
        const int32_t dragged = frame();
        EXPECT_EQ(reads.back(), dragged);
        EXPECT_EQ(reads.size(), 10u);
        expectShown("drag");
        window->TrackBar1Change(20);  // a repeated notification at the same position
        EXPECT_EQ(reads.size(), 10u);

        click(window->backwardbtn);
        EXPECT_EQ(frame(), dragged - 1);
        expectShown("backward");
        click(window->endbtn);
        EXPECT_EQ(frame(), frames);
        expectShown("end");
        click(window->beginbtn);
        EXPECT_EQ(frame(), 1);
        expectShown("begin");
        EXPECT_EQ(reads, (std::vector<int32_t>{2, 3, 4, 5, 6, 7, 8, 9, 10, dragged, dragged - 1,
                                               frames, 1}));
    }
}

TEST_F(NavigationTest, FirstFrameWithTheThumbAlreadyAtOneReadsOnce) {
    makeWindow();
    ASSERT_TRUE(open(session("many", framesOf100(250))));
    click(window->Farwardbtn);  // frame 2: truncated(2 / 250 x 100) = 0, held at 1
    ASSERT_EQ(window->TrackBar1->value(), 1);
    countReads();
    click(window->beginbtn);
    EXPECT_EQ(reads, std::vector<int32_t>{1});
}

TEST_F(NavigationTest, ButtonsAreEnabledWhereTheyLead) {
    makeWindow();
    ASSERT_TRUE(open(session("forty", framesOf100(40))));
    EXPECT_EQ(buttons(), (ButtonStates{false, false, true, true}));
    drag(20);
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, true}));
    click(window->endbtn);
    EXPECT_EQ(buttons(), (ButtonStates{true, true, false, false}));
    click(window->beginbtn);
    EXPECT_EQ(buttons(), (ButtonStates{false, false, true, true}));
}

TEST_F(NavigationTest, ARecordingShorterThanAFrameHasOneFrame) {
    makeWindow();
    Session s;
    s.lineCount = 60;
    ASSERT_TRUE(open(session("short", s)));
    EXPECT_EQ(buttons(), (ButtonStates{false, false, false, false}));
    EXPECT_EQ(window->TrackBar1->minimum(), 1);
    EXPECT_EQ(window->TrackBar1->maximum(), 1);
    EXPECT_TRUE(window->autocountbtn->isEnabled());
}

TEST_F(NavigationTest, CountersAndTimeFollowTheSteps) {
    makeWindow();
    const std::string recording = session("forty", framesOf100(40));
    ASSERT_TRUE(open(recording));
    EXPECT_EQ(window->Label2->text(), "10:00:00");  // the first line, 1/1116 s after 10:00
    for (int step = 1; step <= 12; ++step) click(window->Farwardbtn);
    // Frame 13 begins at line 1201, 1.08 s after the start.
    EXPECT_EQ(window->Label2->text(), "10:00:01");

    // The counts equal a replay of the same frames with the same frame width.
    Tsett otherSettings;
    ReplayEngine reference(otherSettings, nullptr);
    reference.setFrameWidth(100);
    ASSERT_TRUE(reference.OpenBlbFile(recording));
    for (int step = 1; step <= 12; ++step) reference.FarwardbtnClick();
    ASSERT_GT(reference.channelTotal(1), 0);
    EXPECT_EQ(window->LabeledEdit[1]->text(), QString::number(reference.channelTotal(1)));
    EXPECT_EQ(window->Label1->text(), QString::number(reference.channelTotal(1)));
    EXPECT_EQ(window->LabeledEdit[2]->text(), "0");
}

TEST_F(NavigationTest, AutomaticCountCountsFromTheMarkToTheFrameShown) {
    makeWindow();
    const std::string recording = session("forty", framesOf100(40));
    ASSERT_TRUE(open(recording));
    drag(5);
    click(window->autocountbtn);
    EXPECT_TRUE(window->autocountbtn->isChecked());  // stays down between its presses
    drag(9);
    EXPECT_TRUE(window->autocountbtn->isChecked());
    countReads();
    // The marks are renumbered by the run (their places in the whole count); the frame's
    // picture itself stays.
    click(window->marksbtn);
    const QImage before = window->PaintBox1->image();
    click(window->autocountbtn);
    EXPECT_FALSE(window->autocountbtn->isChecked());
    EXPECT_EQ(reads, (std::vector<int32_t>{5, 6, 7, 8, 9}));
    EXPECT_EQ(window->PaintBox1->image(), before);  // the target frame stays on the picture
    EXPECT_EQ(window->TrackBar1->selStart(), 5);
    EXPECT_EQ(window->TrackBar1->selEnd(), 9);

    Tsett otherSettings;
    ReplayEngine reference(otherSettings, nullptr);
    reference.setFrameWidth(100);
    ASSERT_TRUE(reference.OpenBlbFile(recording));
    reference.TrackBar1Change(5);
    for (int step = 1; step <= 4; ++step) reference.FarwardbtnClick();
    ASSERT_GT(reference.channelTotal(1), 0);
    EXPECT_EQ(window->LabeledEdit[1]->text(), QString::number(reference.channelTotal(1)));
}

// A second press on a frame before the mark reads nothing and keeps the mark; the window says
// what the count needs.
TEST_F(NavigationTest, AutomaticCountBeforeItsMarkSaysHowToSetIt) {
    makeWindow();
    ASSERT_TRUE(open(session("forty", framesOf100(40))));
    drag(9);
    click(window->autocountbtn);
    drag(5);
    countReads();
    click(window->autocountbtn);
    EXPECT_TRUE(reads.empty());
    EXPECT_TRUE(window->autocountbtn->isChecked());
    EXPECT_EQ(window->countedFrames->text().toStdString(),
              "The mark is after this frame: go back to it, or set the mark again");
    // The next move shows the counted frames again.
    click(window->Farwardbtn);
    EXPECT_EQ(window->countedFrames->text().toStdString(), "Counted: frames 5 to 6");
}

// While the thumb is held, the positions it passes pile up behind the frame being read; only the
// latest of them is read.
TEST_F(NavigationTest, DraggedPositionsThatPileUpReadOneFrame) {
    makeWindow();
    ASSERT_TRUE(open(session("forty", framesOf100(40))));
    countReads();
    window->TrackBar1->setSliderDown(true);
    for (int position = 2; position <= 30; ++position) drag(position);
    EXPECT_TRUE(reads.empty());
    QApplication::processEvents();
    EXPECT_EQ(reads, std::vector<int32_t>{30});
    EXPECT_EQ(frame(), 30);
    EXPECT_EQ(window->TrackBar1->value(), 30);
    drag(31);
    click(window->backwardbtn);  // a move before the queued position is read supersedes it
    QApplication::processEvents();
    window->TrackBar1->setSliderDown(false);
    EXPECT_EQ(reads, (std::vector<int32_t>{30, 29}));
}

// Cancel in the automatic count's progress dialog: the counters hold the frames read so far, the
// tool bar says which, and the next step starts afresh.
TEST_F(NavigationTest, AutomaticCountCancelledMidway) {
    makeWindow();
    window->progressDelayMs = 0;
    ASSERT_TRUE(open(session("forty", framesOf100(40))));
    drag(5);
    click(window->autocountbtn);
    drag(30);
    countReads();
    // The dialog handles events as it shows: Cancel is pressed once frame 7 has been read.
    window->engine().onFrameRead = [this](int32_t f) {
        reads.push_back(f);
        if (f != 7) return;
        QTimer::singleShot(0, window.get(), [this] {
            auto* dialog = window->findChild<QProgressDialog*>();
            ASSERT_NE(dialog, nullptr);
            dialog->cancel();
        });
    };
    click(window->autocountbtn);
    ASSERT_GE(reads.size(), 3u);
    ASSERT_LT(reads.back(), 30);
    const int32_t last = reads.back();
    EXPECT_EQ(frame(), last);
    EXPECT_EQ(window->TrackBar1->value(), last);
    EXPECT_EQ(window->TrackBar1->selStart(), 5);
    EXPECT_EQ(window->TrackBar1->selEnd(), last);
    EXPECT_EQ(
        window->countedFrames->text(),
        QString("Counted: frames 5 to %1 (automatic count cancelled before frame 30)").arg(last));

    Tsett otherSettings;
    ReplayEngine reference(otherSettings, nullptr);
    reference.setFrameWidth(100);
    ASSERT_TRUE(reference.OpenBlbFile(window->engine().recordingName()));
    reference.TrackBar1Change(5);
    while (reference.currentFrame() < last) reference.FarwardbtnClick();
    EXPECT_EQ(window->LabeledEdit[1]->text(), QString::number(reference.channelTotal(1)));

    countReads();
    click(window->Farwardbtn);
    EXPECT_EQ(reads, std::vector<int32_t>{last + 1});
    EXPECT_EQ(window->countedFrames->text(), QString("Counted: frame %1").arg(last + 1));
    EXPECT_EQ(window->TrackBar1->selStart(), last + 1);
}

TEST_F(NavigationTest, StrokesOnThePictureNavigate) {
    makeWindow();
    ASSERT_TRUE(open(session("forty", framesOf100(40))));
    drag(5);
    countReads();
    strokeOnPicture({{90, 100}, {10, 104}});  // to the left: the Forward step
    EXPECT_EQ(frame(), 6);
    strokeOnPicture({{10, 100}, {90, 96}});  // to the right: back
    EXPECT_EQ(frame(), 5);
    strokeOnPicture({{50, 50}, {50, 52}});  // a click
    strokeOnPicture({{10, 10}, {90, 90}});  // a diagonal
    EXPECT_EQ(reads, (std::vector<int32_t>{6, 5}));
    strokeOnPicture({{90, 40}, {20, 110}, {90, 180}});  // '<': the first frame
    EXPECT_EQ(frame(), 1);
    strokeOnPicture({{20, 40}, {90, 110}, {20, 180}});  // '>': the last frame
    EXPECT_EQ(frame(), 40);
    strokeOnPicture({{50, 200}, {52, 60}});  // up: the automatic count button
    EXPECT_TRUE(window->autocountbtn->isChecked());
    strokeOnPicture({{50, 60}, {48, 200}});  // down: its second press
    EXPECT_FALSE(window->autocountbtn->isChecked());

    // At the ends the strokes lead nowhere and read nothing.
    countReads();
    strokeOnPicture({{90, 100}, {10, 100}});
    EXPECT_EQ(frame(), 40);
    strokeOnPicture({{20, 40}, {90, 110}, {20, 180}});
    EXPECT_EQ(reads, std::vector<int32_t>{40});  // '>' reads the last frame again
    click(window->beginbtn);
    countReads();
    strokeOnPicture({{10, 100}, {90, 100}});
    EXPECT_EQ(frame(), 1);
    EXPECT_TRUE(reads.empty());
}

TEST_F(NavigationTest, AFingerStrokeNavigatesAsTheMouseDoes) {
    makeWindow();
    ASSERT_TRUE(open(session("forty", framesOf100(40))));
    drag(5);
    static QPointingDevice* finger = QTest::createTouchDevice();
    QWidget* picture = window->PaintBox1;
    QTest::touchEvent(picture, finger).press(0, QPoint(90, 100));
    for (int x = 85; x >= 10; x -= 5) QTest::touchEvent(picture, finger).move(0, QPoint(x, 101));
    QTest::touchEvent(picture, finger).release(0, QPoint(10, 101));
    EXPECT_EQ(frame(), 6);
}

TEST_F(NavigationTest, KeysStepAndJump) {
    makeWindow();
    ASSERT_TRUE(open(session("forty", framesOf100(40))));
    QTest::keyClick(window.get(), Qt::Key_Right);
    EXPECT_EQ(frame(), 2);
    QTest::keyClick(window.get(), Qt::Key_PageDown);
    EXPECT_EQ(frame(), 3);
    QTest::keyClick(window.get(), Qt::Key_Left);
    EXPECT_EQ(frame(), 2);
    QTest::keyClick(window.get(), Qt::Key_End);
    EXPECT_EQ(frame(), 40);
    QTest::keyClick(window.get(), Qt::Key_Home);
    EXPECT_EQ(frame(), 1);
    QTest::keyClick(window.get(), Qt::Key_A);
    EXPECT_TRUE(window->autocountbtn->isChecked());
}

class ChartTest : public WindowTest {
protected:
    int shownSeries() const {
        int shown = 0;
        for (int c = 1; c <= 4; ++c) {
            if (window->Chart1->curveShown(c)) shown = shown * 10 + c;
        }
        return shown;
    }
};

TEST_F(ChartTest, ClicksCycleThroughTheChannels) {
    makeWindow();
    Session s = framesOf100(3);
    s.channels = {{0, 160, "Alpha"}, {175, 330, "Bravo"}, {345, 511, "Charlie"}};
    ASSERT_TRUE(open(session("three", s)));
    EXPECT_EQ(shownSeries(), 1);
    EXPECT_EQ(window->Label3->text(), "Alpha");
    EXPECT_DOUBLE_EQ(window->Chart1->verticalMaximum(), 10);  // channel 1's curve peaks at 10

    // A click on the channel's name, right of the plot, shows the next channel.
    const QRectF plot = window->Chart1->plotArea();
    const QPoint name(window->Chart1->width() - 5, 6);
    ASSERT_FALSE(plot.contains(name));
    QTest::mouseClick(window->Chart1, Qt::LeftButton, {}, name);
    EXPECT_EQ(shownSeries(), 2);
    EXPECT_EQ(window->Label3->text(), "Bravo");
    window->Chart1Click();
    EXPECT_EQ(shownSeries(), 3);
    EXPECT_EQ(window->Label3->text(), "Charlie");
    EXPECT_DOUBLE_EQ(window->Chart1->verticalMaximum(), 30);
    window->Chart1Click();
    EXPECT_EQ(shownSeries(), 1);
    EXPECT_EQ(window->Label3->text(), "Alpha");
    // The marker stands at the frame's time of day.
    ASSERT_TRUE(window->Chart1->content().marker);
    EXPECT_NEAR(*window->Chart1->content().marker - std::floor(*window->Chart1->content().marker),
                window->engine().readOuts().markerX, 1e-6);
}

// A session from 23:59:00 that lasts two minutes: the chart's axis runs from its start to its end
// across midnight, its curve goes on past midnight instead of jumping to the axis's start, and a
// click on the plot at a time goes to the frame of that time.
TEST_F(ChartTest, PassesMidnightOnOneAxisAndAClickGoesToItsTime) {
    makeWindow(100);
    Session s;
    s.lineCount = 1116 * 120;
    s.fishEvery = 400;
    s.dateTime = 45001 + 1.0 / 1440;  // the report's end: 00:01:00 of the next day
    s.lasting = 2.0 / 1440;
    ASSERT_TRUE(open(session("midnight", s)));
    const double start = window->engine().sessionStart();
    ASSERT_NEAR(start, 45000 + 1439.0 / 1440, 1e-6);  // the report keeps a few digits
    const ChartContent chart = window->Chart1->content();
    EXPECT_NEAR(chart.first, start, 1e-9);
    EXPECT_NEAR(chart.last, start + 120.0 / 86400, 1e-9);
    ASSERT_EQ(chart.recorded.size(), 16u);
    // One point per 10 s, in the report's few digits, on from the start and across midnight.
    for (size_t i = 0; i <= 12; ++i)
        EXPECT_NEAR(chart.recorded[i].x(), start + 10.0 * double(i) / 86400, 1.0 / 86400) << i;
    for (size_t i = 1; i < chart.recorded.size(); ++i)
        EXPECT_GE(chart.recorded[i].x(), chart.recorded[i - 1].x()) << i;
    ASSERT_TRUE(chart.marker);
    EXPECT_NEAR(*chart.marker, start, 1e-6);

    // 00:00:30, 90 s after the start: the first frame of 100 lines showing it begins 89.5 s
    // after the start or later, frame 1000 (line 99901).
    const QRectF plot = window->Chart1->plotArea();
    const double x =
        columnOfTime(start + 90.0 / 86400, chart.first, chart.last, plot.left(), plot.width());
    QTest::mouseClick(window->Chart1, Qt::LeftButton, {}, QPoint(int(std::lround(x)), 20));
    EXPECT_NEAR(window->engine().currentFrame(), 1000, 2);
    EXPECT_NEAR(*window->Chart1->content().marker, start + 90.0 / 86400, 2.0 / 86400);
    EXPECT_EQ(window->engine().countedFrom(), window->engine().currentFrame());
}

TEST_F(ChartTest, OneChannelStaysShown) {
    makeWindow();
    Session s = framesOf100(3);
    s.channels = {{0, 511, "Only"}};
    ASSERT_TRUE(open(session("one", s)));
    window->Chart1Click();
    EXPECT_EQ(shownSeries(), 1);
    EXPECT_EQ(window->Label3->text(), "Only");
}

TEST_F(WindowTest, CounterFieldsSitBesideTheirChannels) {
    makeWindow();
    Session s = framesOf100(3);
    s.channels = {{0, 250, "Left"}, {261, 511, "Right"}};
    ASSERT_TRUE(open(session("two", s)));
    window->Panel3->resize(111, 456);
    window->stillaafteljara();
    EXPECT_EQ(window->LabeledEdit[1]->y(), 114);
    EXPECT_EQ(window->LabeledEdit[2]->y(), 342);
    EXPECT_EQ(window->LabeledEdit[3]->y(), hiddenFieldTop);
    EXPECT_EQ(window->LabeledEdit[4]->y(), hiddenFieldTop);
    EXPECT_LT(window->LabeledEditLabel[2]->geometry().bottom(), 342);  // the caption above it
    EXPECT_TRUE(window->LabeledEditLabel[1]->text().startsWith("Left"));
}

TEST_F(WindowTest, PictureShowsTheFrameStoreAndTheDivider) {
    makeWindow(300);
    Session s = framesOf100(3);
    s.lineCount = 900;
    s.fishEvery = 25;
    s.channels = {{0, 250, "Left"}, {261, 511, "Right"}};
    // The strokes and dividers alone; the marks drawn over them are tested on their own.
    click(window->marksbtn);
    ASSERT_TRUE(open(session("two", s)));
    const QImage& picture = window->PaintBox1->image();
    const int H = picture.height();
    ASSERT_EQ(picture.width(), 300);

    // Every object of every column is a navy stroke from skal(v) down to skal(h) - 1.
    const FrameStore& store = window->engine().frameStore();
    int strokes = 0;
    for (int c = 0; c < window->engine().frameColumn(); ++c) {
        for (int k = 1; k <= store[c][0].left; ++k) {
            const int top = skal(store[c][k].left, 0, 511, H);
            const int bottom = skal(store[c][k].right, 0, 511, H);
            ASSERT_LT(top, bottom);
            EXPECT_EQ(picture.pixel(c, top), strokeColour) << c;
            EXPECT_EQ(picture.pixel(c, bottom - 1), strokeColour) << c;
            EXPECT_EQ(picture.pixel(c, bottom), pictureBackground) << c;
            ++strokes;
        }
    }
    EXPECT_GT(strokes, 100);

    const int a = skal(250, 0, 511, H);
    const int b = skal(261, 0, 511, H);
    const QRgb face = window->PaintBox1->palette().color(QPalette::Button).rgb();
    for (int x : {0, 150, 299}) {
        EXPECT_EQ(picture.pixel(x, a - 1), face);
        EXPECT_EQ(picture.pixel(x, a), dividerLight);
        EXPECT_EQ(picture.pixel(x, (a + b) / 2), face);
        EXPECT_EQ(picture.pixel(x, b), dividerShadow);
        EXPECT_EQ(picture.pixel(x, b + 1), dividerDark);
    }
    // What is drawn is what the window shows.
    EXPECT_EQ(window->PaintBox1->grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
}

class MessagesTest : public WindowTest {};

TEST_F(MessagesTest, AMissingReportIsShownAndNavigationIsOff) {
    makeWindow();
    Session s = framesOf100(40);
    s.withReport = false;
    EXPECT_FALSE(open(session("alone", s)));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, MessageKind::error);
    // The program's own message, with the report it looked for on a second line.
    EXPECT_EQ(messages.shown[0].second.section('\n', 0, 0),
              "Cant find corresponding reportfile (.mse)");
    EXPECT_TRUE(messages.shown[0].second.section('\n', 1).endsWith("alone.mse"));
    for (QWidget* control :
         {static_cast<QWidget*>(window->beginbtn), static_cast<QWidget*>(window->backwardbtn),
          static_cast<QWidget*>(window->Farwardbtn), static_cast<QWidget*>(window->endbtn),
          static_cast<QWidget*>(window->autocountbtn), static_cast<QWidget*>(window->TrackBar1)}) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(window->SpeedButton2->isEnabled());
    countReads();
    strokeOnPicture({{90, 100}, {10, 100}});
    QTest::keyClick(window.get(), Qt::Key_End);
    EXPECT_TRUE(reads.empty());
}

TEST_F(MessagesTest, AnErrorIsShownAndTheWindowGoesOn) {
    makeWindow();
    const std::string missing = dir.file("nowhere.blb");
    EXPECT_FALSE(open(missing));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, MessageKind::error);
    EXPECT_TRUE(messages.shown[0].second.contains("nowhere.blb"));
    EXPECT_TRUE(window->isVisible());

    const std::string badValue = session("badvalue", framesOf100(3));
    const std::string report = dir.file("badvalue.mse");
    writeBytes(report, std::regex_replace(readBytes(report), std::regex("Lasting=[^\r]*"),
                                          "Lasting=ten minutes"));
    EXPECT_FALSE(open(badValue));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].second.contains("Lasting"))
        << messages.shown[1].second.toStdString();

    EXPECT_TRUE(open(session("good", framesOf100(3))));
    click(window->Farwardbtn);
    EXPECT_EQ(frame(), 2);
}

TEST_F(MessagesTest, DamagedLinesAreReportedOnce) {
    makeWindow();
    const std::string recording = dir.file("damaged.blb");
    {
        RecordWriter writer(recording, 0, 511);
        for (int l = 0; l < 120; ++l) {
            if (l % 10 == 3)
                writer.writeRawWords({-4});  // a negative count word
            else
                writer.writeLine({{40, 60}});
        }
        writer.finish();
    }
    ReportContent report;
    report.channels.resize(1);
    saveSessionReport(report, dir.file("damaged.mse"));
    EXPECT_TRUE(open(recording));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, MessageKind::warning);
    EXPECT_TRUE(messages.shown[0].second.contains("12 damaged lines"))
        << messages.shown[0].second.toStdString();
    EXPECT_TRUE(messages.shown[0].second.contains("line 4"));
    click(window->Farwardbtn);
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace velkor::test
