// The "As counted" view: with it on, every move shows its frame as the continuous count from frame
// 1 had it (the counter fields hold velkor-count's --as-counted totals, Forward counts on, the
// status bar says so), from the background count's checkpoints or from frame 1, cancellable, and
// with another class as its recount counts; with it off, a jump counts afresh as ever. The button
// is on the tool bar and in the View menu, with key C.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/engine/count_cli.h"
#include "tests/support/touching_session.h"
#include "tests/support/window_fixture.h"
#include "tools/velkor-synth/session_writer.h"
#include "ui/counters/class_chooser.h"
#include "ui/navigation/as_counted_view.h"
#include "ui/picture/engine_picture.h"
#include "ui/window/status_bar_panel.h"

namespace velkor::test {
namespace {

// Three channels of touching fish and noise, long enough for several checkpoints at 557 lines.
std::string threeChannelSession(const TempDir& dir) {
    return writeTouchingSession(dir, "three", 31);
}

// velkor-count's totals after frame `frame`: as the continuous count had them, or counted afresh
// from that frame as a jump there counts.
std::vector<int> countTotals(const std::string& recording, int width, int frame, bool asCounted) {
    const std::string range = " --from " + std::to_string(frame) + " --to " + std::to_string(frame);
    const CliRun cli = runCount("--json --frame-width " + std::to_string(width) + range +
                                (asCounted ? " --as-counted " : " ") + shellQuoted(recording));
    EXPECT_EQ(cli.status, 0) << cli.err;
    return nlohmann::json::parse(cli.out)["summary"]["totals"].get<std::vector<int>>();
}

class AsCountedViewTest : public WindowTest {
protected:
    std::vector<int> shownTotals() const {
        std::vector<int> totals;
        for (int c = 1; c <= 3; ++c) totals.push_back(window->LabeledEdit[c]->text().toInt());
        return totals;
    }
    void goTo(int frame) {
        window->askGoTo = [frame] { return std::optional<QString>(QString::number(frame)); };
        window->gotobtnClick();
    }
    QString countedText() const { return window->countedFrames->text(); }
};

TEST_F(AsCountedViewTest, EveryMoveShowsTheContinuousCountWhileOn) {
    for (const int width : {557, 1116}) {
        SCOPED_TRACE("frames of " + std::to_string(width) + " lines");
        makeWindow(width);
        const std::string recording = threeChannelSession(dir);
        ASSERT_TRUE(open(recording));
        ASSERT_TRUE(waitForWholeCount());
        const int frames = window->engine().frameCount();
        const int spacing = window->comparison->checkpoints()->spacingFrames();
        ASSERT_LT(spacing + 2, frames);  // a checkpoint lies inside the session

        window->asCounted->action->setChecked(true);
        // The first frame, a checkpoint's frame and the one after it, one in between, the last.
        for (const int n : {1, spacing + 1, spacing + 2, frames / 2, frames}) {
            SCOPED_TRACE("Go to " + std::to_string(n));
            goTo(n);
            ASSERT_EQ(frame(), n);
            EXPECT_EQ(shownTotals(), countTotals(recording, width, n, true));
            EXPECT_TRUE(countedText().endsWith(", as counted from the start"))
                << countedText().toStdString();
        }
        // Backward, the track bar and Begin go as counted; Forward counts on.
        goTo(frames / 2);
        click(window->backwardbtn);
        EXPECT_EQ(shownTotals(), countTotals(recording, width, frames / 2 - 1, true));
        click(window->Farwardbtn);
        EXPECT_EQ(shownTotals(), countTotals(recording, width, frames / 2, true));
        drag(window->TrackBar1->maximum());
        EXPECT_EQ(frame(), frames);
        EXPECT_EQ(shownTotals(), countTotals(recording, width, frames, true));
        EXPECT_EQ(shownTotals(), (std::vector<int>{window->wholeCount()->totals[1],
                                                   window->wholeCount()->totals[2],
                                                   window->wholeCount()->totals[3]}));
        click(window->beginbtn);
        EXPECT_EQ(shownTotals(), countTotals(recording, width, 1, true));
        // A click on the chart goes as counted too.
        window->chartTimeClicked(std::fmod(window->engine().sessionStart(), 1.0) + 40.0 / 86400);
        EXPECT_GT(frame(), 1);
        EXPECT_EQ(shownTotals(), countTotals(recording, width, frame(), true));

        // Off: the jump counts afresh from its frame, and the status bar says nothing more.
        window->asCounted->action->setChecked(false);
        goTo(frames / 2);
        const std::vector<int> afresh = countTotals(recording, width, frames / 2, false);
        EXPECT_EQ(shownTotals(), afresh);
        EXPECT_NE(afresh, countTotals(recording, width, frames / 2, true));
        EXPECT_EQ(countedText(), QString("Counted: frame %1").arg(frames / 2));
        // On again: the frame shown is read as counted at once, and says which it is.
        window->asCounted->action->setChecked(true);
        EXPECT_EQ(frame(), frames / 2);
        EXPECT_EQ(shownTotals(), countTotals(recording, width, frames / 2, true));
        EXPECT_TRUE(messages.shown.empty());
        window.reset();
    }
}

// Without a checkpoint before the frame (the count not started), the window reads on from frame 1.
TEST_F(AsCountedViewTest, WithoutTheCountItReadsOnFromTheFirstFrame) {
    makeWindow(557);
    const std::string recording = threeChannelSession(dir);
    ASSERT_TRUE(open(recording));
    window->stopBackgroundCount();
    window->comparison->forget();
    ASSERT_EQ(window->comparison->checkpoints(), nullptr);
    window->asCounted->action->setChecked(true);
    goTo(100);
    EXPECT_EQ(shownTotals(), countTotals(recording, 557, 100, true));
}

// A long reading on shows its progress, and Cancel stops it: the window then shows the last frame
// it read on to, as counted, and says so.
TEST_F(AsCountedViewTest, CancellingTheReadingOnShowsTheFrameReached) {
    makeWindow(20);
    const std::string recording = threeChannelSession(dir);
    ASSERT_TRUE(open(recording));
    window->stopBackgroundCount();
    window->comparison->forget();  // no checkpoints: every frame is read on from frame 1
    window->progressDelayMs = 0;
    bool dialogShown = false;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* dialog = window->findChild<QProgressDialog*>(); dialog && dialog->isVisible()) {
            dialogShown = true;
            dialog->cancel();
        }
    });
    canceller.start(20);
    window->asCounted->action->setChecked(true);
    goTo(window->engine().frameCount());
    canceller.stop();
    ASSERT_TRUE(dialogShown);
    const int reached = frame();
    EXPECT_GT(reached, 1);
    EXPECT_LT(reached, window->engine().frameCount());
    EXPECT_EQ(window->engine().lastFrameRead(), reached);
    EXPECT_EQ(shownTotals(), countTotals(recording, 20, reached, true));
    EXPECT_TRUE(countedText().endsWith(", as counted from the start"))
        << countedText().toStdString();
    EXPECT_EQ(window->TrackBar1->value(), window->engine().trackBar().position);
    // The picture and its summary are those of the frame reached.
    EXPECT_EQ(window->frameSummary->text(), frameSummaryLine(window->engine(), 20));
    EXPECT_TRUE(messages.shown.empty());
    // The next step counts on from there.
    click(window->Farwardbtn);
    EXPECT_EQ(frame(), reached + 1);
    EXPECT_EQ(shownTotals(), countTotals(recording, 20, reached + 1, true));
}

// An automatic count is no move: with the view on it counts from its mark, and the status bar says
// so.
TEST_F(AsCountedViewTest, TheStatusBarSaysWhichCountIsShown) {
    makeWindow(557);
    ASSERT_TRUE(open(threeChannelSession(dir)));
    ASSERT_TRUE(waitForWholeCount());
    window->asCounted->action->setChecked(true);
    goTo(57);
    EXPECT_EQ(countedText(), "Counted: frames 1 to 57, as counted from the start");
    click(window->autocountbtn);  // marks frame 57
    goTo(60);
    click(window->autocountbtn);  // counts from the mark
    EXPECT_EQ(frame(), 60);
    EXPECT_EQ(countedText(), "Counted: frames 57 to 60, counted from frame 57");
    click(window->beginbtn);
    EXPECT_EQ(countedText(), "Counted: frame 1, as counted from the start");
}

// Another class chosen: the frames are shown as the recount with that class counts them, while it
// runs (from what it has kept, or from frame 1) and once it has ended.
TEST_F(AsCountedViewTest, AnotherClassShowsTheRecountsFrames) {
    makeWindow(557);
    const std::string recording = threeChannelSession(dir);
    ASSERT_TRUE(open(recording));
    ASSERT_TRUE(waitForWholeCount());
    window->asCounted->action->setChecked(true);
    goTo(100);
    const std::vector<int> reportClasses = shownTotals();
    window->classChooser[2]->choose(5);
    EXPECT_TRUE(window->backgroundCountRunning());
    EXPECT_EQ(frame(), 100);
    auto expected = [&](int n) {
        const CliRun cli =
            runCount("--json --frame-width 557 --class 2=5 --from " + std::to_string(n) + " --to " +
                     std::to_string(n) + " --as-counted " + shellQuoted(recording));
        EXPECT_EQ(cli.status, 0) << cli.err;
        return nlohmann::json::parse(cli.out)["summary"]["totals"].get<std::vector<int>>();
    };
    EXPECT_EQ(shownTotals(), expected(100));
    EXPECT_NE(shownTotals(), reportClasses);
    goTo(70);
    EXPECT_EQ(shownTotals(), expected(70));
    ASSERT_TRUE(waitForWholeCount());
    EXPECT_EQ(window->comparison->checkpoints()->classOverrides()[2], 5);
    for (const int n : {2, 60, 130}) {
        goTo(n);
        EXPECT_EQ(shownTotals(), expected(n)) << n;
    }
    EXPECT_TRUE(messages.shown.empty());
}

// The check button on the tool bar, in the View menu, and key C.
TEST_F(AsCountedViewTest, TheButtonIsOnTheToolBarInTheViewMenuAndOnKeyC) {
    makeWindow(100);
    QAction* action = window->asCounted->action;
    EXPECT_TRUE(action->isCheckable());
    EXPECT_FALSE(action->isChecked());
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::Key_C));
    EXPECT_TRUE(window->actions().contains(action));
    EXPECT_EQ(window->asCounted->button->parentWidget(), static_cast<QWidget*>(window->ToolBar1));
    EXPECT_EQ(window->asCounted->button->defaultAction(), action);
    bool inViewMenu = false;
    for (QAction* menu : window->menuBar()->actions())
        if (menu->text() == "&View") inViewMenu = menu->menu()->actions().contains(action);
    EXPECT_TRUE(inViewMenu);
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_C);
    EXPECT_TRUE(action->isChecked());
    QTest::keyClick(window.get(), Qt::Key_C);
    EXPECT_FALSE(action->isChecked());
}

}  // namespace
}  // namespace velkor::test
