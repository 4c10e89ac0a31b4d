// The window beside the counter's record: the recorded totals under the counter fields, the whole
// count on a worker thread (equal to velkor-count's, the window responsive meanwhile, cancelled
// when the window closes, an error shown in a message), and the two curves with their legend.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/engine/count_cli.h"
#include "tests/support/window_fixture.h"
#include "ui/chart/throughput_chart.h"
#include "ui/comparison/recorded_comparison.h"
#include "ui/comparison/verdict_panel.h"
#include "ui/picture/frame_picture.h"

namespace velkor::test {
namespace {

// Two channels, fish every 40 lines in each; channel 1's session total is recorded, channel 2's
// is not.
Session comparedSession(int lines = 20000) {
    return leftAndRight(lines, "CountersT1=480\r\nCounters1=17\r\nCountersT2=n/a\r\n");
}

class ComparisonTest : public WindowTest {
protected:
    std::vector<QString> shownLegend() const {
        if (!window->Chart1->legendVisible()) return {};
        return {"recorded", "replay"};
    }
};

TEST_F(ComparisonTest, WholeCountEqualsVelkorCountAndDrawsBothCurves) {
    makeWindow(100);
    const std::string recording = session("compared", comparedSession());
    ASSERT_TRUE(open(recording));
    EXPECT_EQ(window->RecordedLabel[1]->text(), "recorded 480");
    EXPECT_EQ(window->RecordedLabel[2]->text(), "");
    EXPECT_GT(window->RecordedLabel[1]->y(), window->LabeledEdit[1]->y());
    EXPECT_TRUE(window->backgroundCountRunning());
    EXPECT_FALSE(window->ComparisonLine->isVisible());
    EXPECT_TRUE(shownLegend().empty());

    ASSERT_TRUE(waitForWholeCount());
    ASSERT_TRUE(window->wholeCount());
    const BackgroundCount::Result& counted = *window->wholeCount();
    ASSERT_TRUE(counted.counted) << counted.error;
    const CliRun cli = runCount("--frame-width 100 --json " + shellQuoted(recording));
    ASSERT_EQ(cli.status, 0) << cli.err;
    const auto totals = nlohmann::json::parse(cli.out)["summary"]["totals"];
    ASSERT_EQ(counted.channelCount, 2);
    EXPECT_EQ(counted.totals[1], totals[0]);
    EXPECT_EQ(counted.totals[2], totals[1]);
    EXPECT_EQ(counted.totals[1], 500);  // a fish every 40 lines of 20000

    EXPECT_TRUE(window->ComparisonLine->isVisible());
    EXPECT_EQ(window->ComparisonLine->text(),
              "Left: replay 500, recorded 480 (+4.2 %)      Right: replay 500, not recorded");
    EXPECT_FALSE(window->Chart1->CountProgress->isVisible());
    // The replay's curve over the recorded one, named in the legend; the marker is not.
    EXPECT_TRUE(window->Chart1->replayVisible(1));
    EXPECT_FALSE(window->Chart1->replayVisible(2));
    EXPECT_EQ(shownLegend(), (std::vector<QString>{"recorded", "replay"}));
    // A fish every 40 lines is 1674 a minute; the curve holds that while the recording lasts.
    const auto& points = window->Chart1->replayPoints(1);
    ASSERT_GE(points.size(), 2u);
    EXPECT_NEAR(points[0].y(), 1674, 1);
    EXPECT_GE(window->Chart1->verticalMaximum(), points[0].y());

    // Chart1Click: the next channel's curves, and the replay curve follows.
    window->Chart1Click();
    EXPECT_TRUE(window->Chart1->curveShown(2));
    EXPECT_TRUE(window->Chart1->replayVisible(2));
    EXPECT_FALSE(window->Chart1->replayVisible(1));
    EXPECT_EQ(window->Label3->text(), "Right");
    EXPECT_EQ(shownLegend(), (std::vector<QString>{"recorded", "replay"}));
    window->Chart1Click();
    EXPECT_TRUE(window->Chart1->replayVisible(1));
    EXPECT_TRUE(messages.shown.empty());
}

// The picture grows: the next move reads frames of the new width, and the whole count follows.
TEST_F(ComparisonTest, WholeCountFollowsTheFrameWidth) {
    makeWindow(100);
    Session s = comparedSession(5000);
    s.fishEvery = 97;  // fish across frame borders at some widths and not at others
    s.fishLength = 40;
    const std::string recording = session("wider", s);
    ASSERT_TRUE(open(recording));
    ASSERT_TRUE(waitForWholeCount());
    window->PaintBox1->setFixedWidth(333);
    QApplication::processEvents();
    EXPECT_FALSE(window->backgroundCountRunning());  // a resize alone reads nothing
    click(window->Farwardbtn);
    ASSERT_EQ(window->engine().readFrameWidth(), 333);
    EXPECT_TRUE(window->backgroundCountRunning());
    ASSERT_TRUE(waitForWholeCount());
    const CliRun cli = runCount("--frame-width 333 --json " + shellQuoted(recording));
    const auto totals = nlohmann::json::parse(cli.out)["summary"]["totals"];
    ASSERT_TRUE(window->wholeCount());
    EXPECT_EQ(window->wholeCount()->totals[1], totals[0]);
    EXPECT_EQ(window->wholeCount()->totals[2], totals[1]);
}

// The worker held at its third frame: the window goes on replaying and shows the progress; closing
// it cancels the count and waits for the thread.
TEST_F(ComparisonTest, WindowStaysResponsiveAndClosingCancelsTheCount) {
    std::atomic<int> heldAt{0};
    std::atomic<bool> sawCancel{false};
    makeWindow(100);
    window->comparison->onBackgroundFrame = [&](const BackgroundCount& count, int32_t done,
                                                int32_t) {
        if (done != 3) return;
        heldAt = done;
        while (!count.cancelRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        sawCancel = true;
    };
    ASSERT_TRUE(open(session("held", comparedSession())));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (heldAt == 0 && std::chrono::steady_clock::now() < until) QApplication::processEvents();
    ASSERT_EQ(heldAt, 3);

    countReads();
    click(window->Farwardbtn);
    click(window->Farwardbtn);
    EXPECT_EQ(reads, (std::vector<int32_t>{2, 3}));
    QTest::qWait(250);  // the progress is looked at every 100 ms
    EXPECT_TRUE(window->backgroundCountRunning());
    EXPECT_TRUE(window->Chart1->CountProgress->isVisible());
    EXPECT_EQ(window->Chart1->CountProgress->value(), 3);
    EXPECT_EQ(window->Chart1->CountProgress->maximum(), window->engine().frameCount());

    window->close();
    EXPECT_TRUE(sawCancel);
    EXPECT_FALSE(window->backgroundCountRunning());
    EXPECT_FALSE(window->wholeCount());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ComparisonTest, AnErrorEndsTheCountWithAMessageAndTheWindowGoesOn) {
    makeWindow(100);
    const std::string recording = session("lost", comparedSession(2000));
    ASSERT_TRUE(open(recording));
    ASSERT_TRUE(waitForWholeCount());
    std::filesystem::remove(dir.file("lost.mse"));  // the report is gone when the count starts
    window->startBackgroundCount();
    ASSERT_TRUE(waitForWholeCount());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, MessageKind::error);
    EXPECT_TRUE(messages.shown[0].second.contains("Cant find corresponding reportfile (.mse)"))
        << messages.shown[0].second.toStdString();
    EXPECT_FALSE(window->Chart1->CountProgress->isVisible());
    countReads();
    click(window->Farwardbtn);
    EXPECT_EQ(reads, std::vector<int32_t>{2});
}

TEST(ComparisonTexts, RecordedAndMissingTotals) {
    ChannelArray<std::string> names{"", "A", "B", "C", "D"};
    ChannelArray<int32_t> totals{0, 215, 10, 0, 0};
    RecordedFigures recorded;
    recorded.sessionTotals[1] = 224;
    recorded.sessionTotals[3] = 0;
    EXPECT_EQ(comparisonText(names, totals, 3, recorded),
              "A: replay 215, recorded 224 (-4.0 %)      B: replay 10, not recorded      "
              "C: replay 0, recorded 0 (0.0 %)");
    totals[3] = 4;
    EXPECT_EQ(comparisonText(names, totals, 1, recorded), "A: replay 215, recorded 224 (-4.0 %)");
    EXPECT_TRUE(comparisonText(names, totals, 3, recorded).endsWith("C: replay 4, recorded 0"));
    EXPECT_EQ(recordedTotalText(224), "recorded 224");
    EXPECT_EQ(recordedTotalText(std::nullopt), "");
}

TEST(ComparisonTexts, TabSeparatedTableForASpreadsheet) {
    const ChannelArray<std::string> names{"", "Left", "Right", "C", "D"};
    RecordedFigures recorded;
    recorded.sessionTotals[1] = 224;
    recorded.sessionTotals[3] = 0;
    const struct {
        ChannelArray<int32_t> totals;
        int32_t channels;
        QString table;
    } cases[] = {
        {{0, 215, 10, 0, 0},
         3,
         "channel\trecorded\treplay\tdifference %\nLeft\t224\t215\t-4.0\n"
         "Right\t\t10\t\nC\t0\t0\t0.0\n"},
        {{0, 230, 0, 4, 0}, 1, "channel\trecorded\treplay\tdifference %\nLeft\t224\t230\t2.7\n"},
        {{0, 0, 0, 4, 0},
         3,
         "channel\trecorded\treplay\tdifference %\nLeft\t224\t0\t-100.0\n"
         "Right\t\t0\t\nC\t0\t4\t\n"},  // no per cent of nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(comparisonTable(names, c.totals, c.channels, recorded), c.table);
}

// The fourth channel is the last shown: a channel count past it shows the four.
TEST(ComparisonTexts, TheFourthChannelIsTheLast) {
    const ChannelArray<std::string> names{"", "A", "B", "C", "D"};
    const ChannelArray<int32_t> totals{0, 1, 2, 3, 1001};
    RecordedFigures recorded;
    recorded.sessionTotals[4] = 1000;
    for (int32_t channels : {4, 5}) {
        SCOPED_TRACE(channels);
        EXPECT_EQ(comparisonText(names, totals, channels, recorded),
                  "A: replay 1, not recorded      B: replay 2, not recorded      C: replay 3, not "
                  "recorded      D: replay 1001, recorded 1000 (+0.1 %)");
        EXPECT_EQ(comparisonTable(names, totals, channels, recorded),
                  "channel\trecorded\treplay\tdifference %\nA\t\t1\t\nB\t\t2\t\nC\t\t3\t\n"
                  "D\t1000\t1001\t0.1\n");
    }
}

TEST_F(ComparisonTest, CtrlCCopiesTheComparisonOnceCounted) {
    makeWindow(100);
    QGuiApplication::clipboard()->setText("before");
    ASSERT_TRUE(open(session("compared", comparedSession())));
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);  // not counted yet
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    ASSERT_TRUE(waitForWholeCount());
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "recording\tcompared.blb\nframe width\t100 lines\nclasses\tLeft 1 g\tRight 1 g\n"
              "channel\trecorded\treplay\tdifference %\nLeft\t480\t500\t4.2\nRight\t\t500\t\n"
              "sum\t\t1000\t\n");  // no recorded sum: channel 2's total is not recorded
}

// The picture's context menu saves the frame with its marks as PNG; a file that cannot be written
// gets a message naming it.
TEST_F(ComparisonTest, TheFrameIsSavedAsPng) {
    makeWindow(100);
    ASSERT_TRUE(open(session("compared", comparedSession())));
    const QString saved = QString::fromStdString(dir.file("frame.png"));
    window->PaintBox1->chooseFrameFile = [&saved] { return saved; };
    window->PaintBox1->saveFrameAs();
    const QImage image(saved);
    ASSERT_FALSE(image.isNull());
    // The picture as drawn, with the caption strip under it.
    const QImage drawn = window->PaintBox1->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32).copy(drawn.rect()), drawn);
    EXPECT_TRUE(messages.shown.empty());

    const QString unwritable = QString::fromStdString(dir.file("no-such-folder/frame.png"));
    window->PaintBox1->chooseFrameFile = [&unwritable] { return unwritable; };
    window->PaintBox1->saveFrameAs();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].second.contains(unwritable));
}

// The verdict dock shows the whole count's tallies and its links move the window to their frames.
TEST_F(ComparisonTest, VerdictLinksMoveTheWindowToTheirFrames) {
    makeWindow(100);
    const std::string recording = session("compared", comparedSession());
    ASSERT_TRUE(open(recording));
    EXPECT_EQ(window->verdictPanel->text(), "");
    const int panelWidth = window->verdictPanel->width();
    ASSERT_TRUE(waitForWholeCount());
    EXPECT_EQ(window->verdictPanel->width(), panelWidth);  // the picture keeps its width
    ASSERT_TRUE(window->wholeCount());
    const VerdictIndex& index = window->wholeCount()->verdictFrames;
    EXPECT_TRUE(window->verdictPanel->text().contains(u"counted: 500 \u2014 next \u25B8"))
        << window->verdictPanel->text().toStdString();
    const std::vector<int32_t>& frames = index.frames(2, EndingVerdict::counted);
    ASSERT_GE(frames.size(), 2u);
    window->verdictPanel->follow("next:2:0");
    EXPECT_EQ(frame(), index.next(2, EndingVerdict::counted, 1));
    window->verdictPanel->follow("next:2:0");
    EXPECT_EQ(frame(),
              index.next(2, EndingVerdict::counted, index.next(2, EndingVerdict::counted, 1)));
    window->verdictPanel->follow("prev:2:0");
    EXPECT_EQ(frame(), index.next(2, EndingVerdict::counted, 1));
    // The frame's marks of that verdict and channel stand out, and only they.
    const EndingMarks& marks = window->PaintBox1->marks();
    int highlighted = 0;
    for (int k = 0; k < marks.count(); ++k) {
        EXPECT_EQ(marks.highlighted(k), marks.ended(k).ending.channel == 2) << k;
        highlighted += marks.highlighted(k);
    }
    EXPECT_GT(highlighted, 0);
    // A new recording: the panel waits for its count again.
    ASSERT_TRUE(open(session("again", comparedSession(5000))));
    EXPECT_EQ(window->verdictPanel->text(), "");
}

}  // namespace
}  // namespace velkor::test
