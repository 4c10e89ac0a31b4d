// The size-class chooser under each counter field: it shows the report's class, another class
// counts the whole recording again as velkor-count --class does and shows the figure beside the
// field, the picture's marks follow the class chosen, "Report settings" returns to the report,
// the bar above the status bar says what differs, and opening another recording starts afresh.
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/engine/count_cli.h"
#include "tests/support/window_fixture.h"
#include "ui/counters/class_choices.h"
#include "ui/picture/frame_picture.h"
#include "ui/picture/picture_geometry.h"

namespace velkor::test {
namespace {

TEST(ClassChooserTexts, WhatIfBesideTheField) {
    const struct {
        int32_t sizeClass;
        std::optional<int32_t> total, recorded;
        const char* text;
    } cases[] = {
        {5, 283, 275, "with 30 g: 283 (recorded 275, +2.9 %)"},
        {4, 200, 275, "with 10 g: 200 (recorded 275, -27.3 %)"},
        {0, 275, 275, "with 0.1 g: 275 (recorded 275, 0.0 %)"},
        {9, 12, std::nullopt, "with 3 Kg: 12 (not recorded)"},
        {2, 7, 0, "with 1 g: 7 (recorded 0)"},  // no per cent of nothing
        {5, std::nullopt, 275, "with 30 g: counting ..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(whatIfText(c.sizeClass, c.total, c.recorded).toStdString(), c.text);
}

TEST(ClassChooserTexts, WhatDiffersFromTheReport) {
    const ChannelArray<std::string> names{"", "Counter 1", "Left", "C", "D"};
    const ChannelArray<int32_t> report{0, 4, 2, 2, 9};
    const struct {
        ChannelArray<int32_t> chosen;
        int32_t channels;
        const char* text;
        ChannelArray<int32_t> overrides;
    } cases[] = {
        {{-1, 4, 2, 2, 9}, 4, "", {-1, -1, -1, -1, -1}},
        {{-1, 5, 2, 2, 9}, 4, "classes changed: Counter 1 30 g (report 10 g)", {-1, 5, -1, -1, -1}},
        {{-1, 5, 0, 2, 9},
         4,
         "classes changed: Counter 1 30 g (report 10 g), Left 0.1 g (report 1 g)",
         {-1, 5, 0, -1, -1}},
        // A channel the session does not have changes nothing.
        {{-1, 4, 2, 2, 1}, 3, "", {-1, -1, -1, -1, -1}},
        {{-1, -1, 3, -1, -1}, 2, "classes changed: Left 3 g (report 1 g)", {-1, -1, 3, -1, -1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(classesChangedText(names, report, c.chosen, c.channels).toStdString(), c.text);
        EXPECT_EQ(classOverridesFor(report, c.chosen, c.channels), c.overrides);
    }
    EXPECT_EQ(classNameText(4), "10 g");
    EXPECT_EQ(classNameText(12), "3 Kg");  // a stored class past 9 reads as 9
}

// Two channels, a fish every 40 lines 12 lines long: class 1 g (the report's) counts them all,
// 100 g finds them too short.
Session chosenSession(int lines = 8000) {
    return leftAndRight(lines, "CountersT1=190\r\nCountersT2=n/a\r\n");
}

constexpr int classTooLong = 6;  // "100 g": its least length is 13 lines

class ClassChooserTest : public WindowTest {
protected:
    // velkor-count's totals for the recording at the window's frame width.
    nlohmann::json cliTotals(const std::string& recording, const std::string& options) {
        const CliRun cli =
            runCount("--frame-width 100 --json " + options + " " + shellQuoted(recording));
        EXPECT_EQ(cli.status, 0) << cli.err;
        return nlohmann::json::parse(cli.out)["summary"]["totals"];
    }
    QString tooltipAt(QPoint at) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, at, window->PaintBox1->mapToGlobal(at));
        QApplication::sendEvent(window->PaintBox1, &help);
        return QToolTip::text();
    }
    // Where the second fish of frame 1 lies in the left channel: lines 41..52, pixels 30..54.
    QPoint secondFish() const {
        const int height = window->PaintBox1->height();
        return {45, (skal(30, 0, 511, height) + skal(54, 0, 511, height)) / 2};
    }
    ClassChooser* chooser(int c) const { return window->classChooser[c]; }
};

TEST_F(ClassChooserTest, ShowsTheReportsClassAndNothingChanged) {
    makeWindow(100);
    EXPECT_FALSE(chooser(1)->isVisible());  // nothing open
    ASSERT_TRUE(open(session("report", chosenSession())));
    for (int c : {1, 2}) {
        EXPECT_TRUE(chooser(c)->isVisible());
        EXPECT_EQ(chooser(c)->currentText(), "1 g");
        EXPECT_EQ(chooser(c)->count(), 10);
        EXPECT_TRUE(chooser(c)->whatIf().isEmpty());
        // In the caption's line, where the caption named the class; the caption names the
        // counter, the report's class in its tool tip.
        EXPECT_LT(chooser(c)->geometry().bottom(), window->LabeledEdit[c]->y());
        EXPECT_GT(chooser(c)->x(), window->LabeledEditLabel[c]->geometry().right());
        EXPECT_EQ(window->LabeledEditLabel[c]->text(), c == 1 ? "Left" : "Right");
        EXPECT_TRUE(window->LabeledEditLabel[c]->toolTip().endsWith("   1 g"));
        EXPECT_TRUE(window->RecordedLabel[c]->isVisible());
    }
    EXPECT_FALSE(chooser(3)->isVisible());
    EXPECT_FALSE(window->classChoices->isVisible());
    EXPECT_EQ(window->engine().classOverrides(), noClassOverrides);
}

TEST_F(ClassChooserTest, AnotherClassRecountsAsVelkorCountAndTheMarksFollowIt) {
    makeWindow(100);
    const std::string recording = session("chosen", chosenSession());
    ASSERT_TRUE(open(recording));
    ASSERT_TRUE(waitForWholeCount());
    EXPECT_TRUE(tooltipAt(secondFish()).contains("counted as no. 2 in Left"));
    click(window->Farwardbtn);
    click(window->Farwardbtn);
    ASSERT_EQ(frame(), 3);

    countReads();
    chooser(1)->choose(classTooLong);
    // The frame shown is read again, afresh, with the class chosen; the recount has started.
    EXPECT_EQ(reads, std::vector<int32_t>{3});
    EXPECT_EQ(window->engine().countedFrom(), 3);
    EXPECT_EQ(window->engine().classOverrides(),
              (ChannelArray<int32_t>{-1, classTooLong, -1, -1, -1}));
    EXPECT_TRUE(window->backgroundCountRunning());
    EXPECT_EQ(chooser(1)->whatIf(), "with 100 g: counting ...");
    EXPECT_TRUE(window->classChoices->isVisible());
    EXPECT_EQ(window->classChoices->note->text(), "classes changed: Left 100 g (report 1 g)");

    ASSERT_TRUE(waitForWholeCount());
    const auto changed = cliTotals(recording, "--class 1=" + std::to_string(classTooLong));
    const auto plain = cliTotals(recording, "");
    ASSERT_TRUE(window->wholeCount());
    EXPECT_EQ(window->wholeCount()->totals[1], changed[0]);
    EXPECT_EQ(window->wholeCount()->totals[2], changed[1]);
    EXPECT_NE(changed[0], plain[0]);
    EXPECT_EQ(changed[1], plain[1]);
    EXPECT_EQ(chooser(1)->whatIf(), whatIfText(classTooLong, int32_t(changed[0]), 190));
    EXPECT_TRUE(chooser(2)->whatIf().isEmpty());  // its class is the report's
    EXPECT_TRUE(chooser(1)->whatIfLabel->isVisible());
    // The what-if repeats the recorded total: it takes that line's place.
    EXPECT_FALSE(window->RecordedLabel[1]->isVisible());
    EXPECT_TRUE(window->RecordedLabel[2]->isVisible());

    // The next frame read judges with the class chosen: the fish are too short for it.
    window->beginbtnClick();
    const QString tip = tooltipAt(secondFish());
    EXPECT_TRUE(tip.contains("not counted: too short (Left)")) << tip.toStdString();
    EXPECT_EQ(window->LabeledEdit[1]->text(), "0");
    EXPECT_EQ(window->LabeledEdit[2]->text(), "3");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ClassChooserTest, ReportSettingsReturnsToTheReportsFigures) {
    makeWindow(100);
    const std::string recording = session("back", chosenSession());
    ASSERT_TRUE(open(recording));
    ASSERT_TRUE(waitForWholeCount());
    const BackgroundCount::Result before = *window->wholeCount();
    const QString comparison = window->ComparisonLine->text();
    chooser(1)->choose(classTooLong);
    chooser(2)->choose(0);
    EXPECT_EQ(window->classChoices->note->text(),
              "classes changed: Left 100 g (report 1 g), Right 0.1 g (report 1 g)");
    ASSERT_TRUE(waitForWholeCount());
    EXPECT_NE(window->ComparisonLine->text(), comparison);

    window->classChoices->reportSettings->click();
    EXPECT_FALSE(window->classChoices->isVisible());
    EXPECT_EQ(window->engine().classOverrides(), noClassOverrides);
    for (int c : {1, 2}) {
        EXPECT_EQ(chooser(c)->currentText(), "1 g");
        EXPECT_TRUE(chooser(c)->whatIf().isEmpty());
        EXPECT_TRUE(window->RecordedLabel[c]->isVisible());
    }
    ASSERT_TRUE(waitForWholeCount());
    EXPECT_EQ(window->wholeCount()->totals, before.totals);
    EXPECT_EQ(window->ComparisonLine->text(), comparison);
    EXPECT_TRUE(tooltipAt(secondFish()).contains("counted as no. 2 in Left"));
    // Choosing the report's class again is no change either.
    chooser(1)->choose(classTooLong);
    chooser(1)->choose(2);
    EXPECT_FALSE(window->classChoices->isVisible());
    EXPECT_TRUE(chooser(1)->whatIf().isEmpty());
}

TEST_F(ClassChooserTest, OpeningAnotherRecordingResetsTheChoosers) {
    makeWindow(100);
    const std::string first = session("first", chosenSession());
    Session one;
    one.lineCount = 3000;
    const std::string second = session("second", one);
    ASSERT_TRUE(open(first));
    chooser(1)->choose(classTooLong);
    ASSERT_TRUE(window->classChoices->isVisible());
    window->chooseRecording = [&] {
        return std::optional<TfrmRecord::ChosenRecording>({QString::fromStdString(second), false});
    };
    window->openbtnClick();
    ASSERT_TRUE(waitForWholeCount());
    EXPECT_FALSE(window->classChoices->isVisible());
    EXPECT_EQ(window->engine().classOverrides(), noClassOverrides);
    EXPECT_EQ(chooser(1)->currentText(), "1 g");
    EXPECT_TRUE(chooser(1)->whatIf().isEmpty());
    EXPECT_FALSE(chooser(2)->isVisible());  // one channel now
    const auto plain = cliTotals(second, "");
    EXPECT_EQ(window->wholeCount()->totals[1], plain[0]);
}

// Four channels, every class changed, in a window the size of a small screen: each chooser and
// its what-if text lie whole inside the counter panel, clear of every other read-out.
TEST_F(ClassChooserTest, FourChangedChannelsFitASmallScreen) {
    window = std::make_unique<TfrmRecord>(settings, &store, messages);
    window->resize(1280, 720);
    window->show();
    window->Timer1->stop();
    QApplication::processEvents();
    Session s = chosenSession(4000);
    s.channels = {{0, 127, "Counter 1"},
                  {128, 255, "Counter 2"},
                  {256, 383, "Counter 3"},
                  {384, 511, "Counter 4"}};
    s.kestKeys.clear();
    for (int c = 1; c <= 4; ++c) s.kestKeys += "CountersT" + std::to_string(c) + "=10000000\r\n";
    ASSERT_TRUE(open(session("four", s)));
    for (int c = 1; c <= 4; ++c) chooser(c)->choose(9);
    ASSERT_TRUE(waitForWholeCount());
    for (int pass = 0; pass < 3; ++pass) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
    ASSERT_EQ(window->width(), 1280);
    const QRect panel = window->Panel3->rect();
    std::vector<QWidget*> readOuts{window->Label1, window->Label2};
    for (int c = 1; c <= 4; ++c) {
        QLabel* whatIf = chooser(c)->whatIfLabel;
        EXPECT_EQ(whatIf->text(), whatIfText(9, window->wholeCount()->totals[c], 10000000));
        EXPECT_TRUE(whatIf->isVisible());
        EXPECT_FALSE(window->RecordedLabel[c]->isVisible());
        EXPECT_GE(whatIf->height(), whatIf->heightForWidth(whatIf->width())) << c;
        for (QWidget* w :
             std::initializer_list<QWidget*>{chooser(c), whatIf, window->LabeledEdit[c]})
            EXPECT_TRUE(panel.contains(w->geometry())) << w->objectName().toStdString();
        readOuts.insert(readOuts.end(),
                        {window->LabeledEdit[c], window->LabeledEditLabel[c], chooser(c), whatIf});
    }
    for (size_t i = 0; i < readOuts.size(); ++i)
        for (size_t j = i + 1; j < readOuts.size(); ++j)
            EXPECT_FALSE(readOuts[i]->geometry().intersects(readOuts[j]->geometry()))
                << readOuts[i]->objectName().toStdString() << " over "
                << readOuts[j]->objectName().toStdString();
    EXPECT_TRUE(window->classChoices->isVisible());
    EXPECT_LE(window->classChoices->note->heightForWidth(window->classChoices->note->width()),
              window->classChoices->note->height());
}

}  // namespace
}  // namespace velkor::test
