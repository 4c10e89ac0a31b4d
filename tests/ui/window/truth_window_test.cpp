// What the window shows is the recording's truth however it was opened: the same totals at start
// and after Open whatever counter type the store holds, a failed Open that keeps the session
// shown, report values replaced by their defaults named in the status bar, A pressed before the
// mark, Go to a time that two frames show, and the texts that name what they show.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/engine/count_cli.h"
#include "tests/support/crowded_session.h"
#include "tests/support/window_fixture.h"
#include "ui/check/session_check_export.h"
#include "ui/window/status_bar_panel.h"

namespace velkor::test {
namespace {

class TruthWindowTest : public WindowTest {
protected:
    // A crowded channel: at frames of 100 lines the overload correction would add fish.
    std::string crowdedSession() { return writeCrowdedSession(dir.file("crowded")); }
    std::vector<int32_t> cliTotals(const std::string& recording, const std::string& options) {
        const CliRun cli =
            runCount("--frame-width 100 --json " + options + " " + shellQuoted(recording));
        EXPECT_EQ(cli.status, 0) << cli.err;
        return nlohmann::json::parse(cli.out)["summary"]["totals"].get<std::vector<int32_t>>();
    }
    void chooseNext(const std::string& recording, bool compressed = false) {
        window->chooseRecording = [recording, compressed] {
            return std::optional<TfrmRecord::ChosenRecording>(
                {QString::fromStdString(recording), compressed});
        };
    }
    QString statusMessage() const { return window->statusBarPanel->message(); }
};

// A counter type stored by the live counter never reaches the replay: at start and after Open the
// window's whole count, its counters and the session check it hands on are velkor-count's own.
TEST_F(TruthWindowTest, AStoredCounterTypeChangesNoTotalAtStartOrAfterOpen) {
    const std::string recording = crowdedSession();
    const std::vector<int32_t> plain = cliTotals(recording, "");
    ASSERT_NE(plain, cliTotals(recording, "--counter-type 5"));  // the correction would show
    for (const char* stored : {"5", "1"}) {
        SCOPED_TRACE(stored);
        store.values["countertype"] = stored;
        settings = Tsett{};
        makeWindow(100);
        ASSERT_TRUE(open(recording));
        ASSERT_TRUE(waitForWholeCount());
        ASSERT_TRUE(window->wholeCount());
        EXPECT_EQ(window->wholeCount()->totals[1], plain[0]) << "at start";

        chooseNext(recording);
        window->openbtnClick();
        ASSERT_TRUE(window->engine().isOpen());
        ASSERT_TRUE(waitForWholeCount());
        ASSERT_TRUE(window->wholeCount());
        EXPECT_EQ(window->wholeCount()->totals[1], plain[0]) << "after Open";
        EXPECT_EQ(settings.countertype, -1);
        const auto request = window->sessionCheck->request();
        ASSERT_TRUE(request);
        EXPECT_EQ(request->options.counterType, -1);
        // Stepping through the whole recording shows the same total.
        QTest::keyClick(window.get(), Qt::Key_Home);
        while (window->Farwardbtn->isEnabled()) window->FarwardbtnClick();
        EXPECT_EQ(window->LabeledEdit[1]->text(), QString::number(plain[0]));
        window.reset();
    }
}

// Open of a recording that cannot be opened says why, naming the file, and the session shown
// stays as it was.
TEST_F(TruthWindowTest, AFailedOpenKeepsTheSessionShown) {
    makeWindow(100);
    Session s;
    s.lineCount = 4000;
    const std::string good = session("good", s);
    ASSERT_TRUE(open(good));
    window->FarwardbtnClick();
    window->FarwardbtnClick();
    const QString title = window->windowTitle();
    const QString counted = window->LabeledEdit[1]->text();
    const QString time = window->Label2->text();

    Session alone = s;
    alone.withReport = false;
    const std::string noReport = session("alone", alone);
    const std::string notCompressed = dir.file("broken.blc");
    writeBytes(notCompressed, "this is not a compressed recording");
    writeBytes(dir.file("broken.mse"), readBytes(dir.file("good.mse")));
    const std::string folder = dir.file("folder.blb");
    std::filesystem::create_directory(folder);
    writeBytes(dir.file("folder.mse"), readBytes(dir.file("good.mse")));
    const struct {
        std::string file;
        const char* named;
    } cases[] = {{noReport, "alone.mse"}, {notCompressed, "broken.blc"}, {folder, "folder.blb"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        messages.shown.clear();
        chooseNext(c.file);
        window->openbtnClick();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].first, MessageKind::error);
        EXPECT_TRUE(messages.shown[0].second.contains(c.named))
            << messages.shown[0].second.toStdString();
        EXPECT_TRUE(messages.shown[0].second.contains("good.blb stays open"))
            << messages.shown[0].second.toStdString();
        EXPECT_TRUE(window->engine().isOpen());
        EXPECT_EQ(frame(), 3);
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_EQ(window->LabeledEdit[1]->text(), counted);
        EXPECT_EQ(window->Label2->text(), time);
        EXPECT_TRUE(window->Farwardbtn->isEnabled());
    }
    window->FarwardbtnClick();
    EXPECT_EQ(frame(), 4);
}

// A window that has opened nothing shows no field without a caption and no button that moves.
TEST_F(TruthWindowTest, AnEmptyWindowShowsNoUncaptionedFieldOrMove) {
    makeWindow(100);
    Session alone;
    alone.withReport = false;
    EXPECT_FALSE(open(session("alone", alone)));
    for (int c = 1; c <= 4; ++c) {
        if (window->LabeledEdit[c]->isVisible()) {
            EXPECT_FALSE(window->LabeledEditLabel[c]->text().isEmpty()) << c;
        }
    }
    for (QWidget* move :
         {static_cast<QWidget*>(window->beginbtn), static_cast<QWidget*>(window->backwardbtn),
          static_cast<QWidget*>(window->Farwardbtn), static_cast<QWidget*>(window->endbtn),
          static_cast<QWidget*>(window->autocountbtn), static_cast<QWidget*>(window->gotobtn),
          static_cast<QWidget*>(window->TrackBar1)})
        EXPECT_FALSE(move->isEnabled()) << move->objectName().toStdString();
}

// A report value that is not a number counts as its default, as velkor-count counts it, and the
// status bar says which value was replaced by what.
TEST_F(TruthWindowTest, AnUnreadableReportValueIsNamedWithItsReplacement) {
    makeWindow(100);
    Session s;
    s.lineCount = 4000;
    s.kestKeys = "Size Group1=abc\r\n";
    const std::string recording = session("odd", s);
    ASSERT_TRUE(open(recording));
    EXPECT_EQ(window->engine().report().sizeGroup[1], 2);
    auto* notes = window->findChild<QLabel*>("reportNotes");
    ASSERT_NE(notes, nullptr);
    EXPECT_TRUE(notes->isVisible());
    EXPECT_EQ(notes->text().toStdString(),
              "In odd.mse, \"Size Group1=abc\" is not a whole number: counted as 2");
    ASSERT_TRUE(waitForWholeCount());
    EXPECT_EQ(window->wholeCount()->totals[1], cliTotals(recording, "")[0]);
    // A report without such values shows no note.
    chooseNext(session("plain", Session{}));
    window->openbtnClick();
    EXPECT_FALSE(notes->isVisible());
}

// Ctrl+C during the whole count copies nothing and says when it can; afterwards it copies the
// comparison named by recording, frame width and classes, ending with the sum, and says so.
TEST_F(TruthWindowTest, CtrlCSaysWhenTheComparisonIsReadyAndWhatItCopied) {
    makeWindow(100);
    QGuiApplication::clipboard()->setText("before");
    Session s;
    s.lineCount = 20000;
    s.channels = {{0, 255, "Left"}, {256, 511, "Right"}};
    s.kestKeys = "CountersT1=480\r\nCountersT2=510\r\n";
    ASSERT_TRUE(open(session("compared", s)));
    ASSERT_TRUE(window->backgroundCountRunning());
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    EXPECT_EQ(statusMessage(), "The comparison is ready when the count ends");
    ASSERT_TRUE(waitForWholeCount());
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "recording\tcompared.blb\nframe width\t100 lines\nclasses\tLeft 1 g\tRight 1 g\n"
              "channel\trecorded\treplay\tdifference %\nLeft\t480\t500\t4.2\n"
              "Right\t510\t500\t-2.0\nsum\t990\t1000\t1.0\n");
    EXPECT_EQ(statusMessage(), "The comparison of the whole count is on the clipboard");
}

// A before the mark keeps the mark and says what to do; A there again marks that frame.
TEST_F(TruthWindowTest, ABeforeTheMarkKeepsItAndSaysSo) {
    makeWindow(100);
    Session s;
    s.lineCount = 4000;
    ASSERT_TRUE(open(session("forty", s)));
    window->TrackBar1->setValue(9);
    QTest::keyClick(window.get(), Qt::Key_A);
    ASSERT_TRUE(window->autocountbtn->isChecked());
    window->TrackBar1->setValue(5);
    countReads();
    QTest::keyClick(window.get(), Qt::Key_A);
    EXPECT_TRUE(reads.empty());
    EXPECT_TRUE(window->autocountbtn->isChecked());
    EXPECT_EQ(window->engine().autoCountStart(), 8);
    EXPECT_EQ(window->countedFrames->text().toStdString(),
              "The mark is after this frame: go back to it, or set the mark again");
    // Going on past the mark counts from it.
    window->TrackBar1->setValue(11);
    countReads();
    QTest::keyClick(window.get(), Qt::Key_A);
    EXPECT_EQ(reads, (std::vector<int32_t>{9, 10, 11}));
    // Pressed twice before the mark: the second press marks the frame shown.
    QTest::keyClick(window.get(), Qt::Key_A);  // mark at 11
    window->TrackBar1->setValue(4);
    QTest::keyClick(window.get(), Qt::Key_A);
    EXPECT_EQ(window->engine().autoCountStart(), 10);
    QTest::keyClick(window.get(), Qt::Key_A);
    EXPECT_TRUE(window->autocountbtn->isChecked());
    EXPECT_EQ(window->engine().autoCountStart(), frame() - 1);
    EXPECT_LT(frame(), 11);
}

// Go to a time lands on the first frame that shows it: with frames of 500 lines (0.45 s) frames
// 3 and 4 both show 10:00:01.
TEST_F(TruthWindowTest, GoToATimeLandsOnTheFirstFrameShowingIt) {
    makeWindow(500);
    Session s;
    s.lineCount = 60000;
    ASSERT_TRUE(open(session("timed", s)));
    QString asked;
    window->askGoTo = [&asked] { return std::optional<QString>(asked); };
    std::map<QString, int32_t> firstShowing;
    for (int32_t f = 1; f <= window->engine().frameCount(); ++f) {
        window->engine().goToFrame(f);
        firstShowing.emplace(QString::fromStdString(window->engine().readOuts().timeText), f);
    }
    ASSERT_EQ(firstShowing.at("10:00:01"), 3);
    for (const auto& [time, first] : firstShowing) {
        asked = time;
        window->gotobtnClick();
        EXPECT_EQ(frame(), first) << time.toStdString();
        EXPECT_EQ(window->Label2->text(), time);
    }
}

// The total has a caption; the capacity names its channel.
TEST_F(TruthWindowTest, TheTotalAndTheCapacitySayWhatTheyAre) {
    makeWindow(100);
    Session s;
    s.channels = {{0, 255, "Left"}, {256, 511, "Right"}};
    ASSERT_TRUE(open(session("two", s)));
    auto* caption = window->findChild<QLabel*>("TotalCaption");
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(caption->isVisible());
    EXPECT_EQ(caption->text(), "Total");
    EXPECT_LE(caption->geometry().right(), window->Label1->x());
    EXPECT_TRUE(window->statusBarPanel->capacity->text().startsWith("Left: capacity "))
        << window->statusBarPanel->capacity->text().toStdString();
}

// The frame saved as PNG: a name suggested from the recording and frame, ".png" added to a name
// typed without it, and a caption under the picture.
TEST_F(TruthWindowTest, TheSavedFrameHasANameAndACaption) {
    makeWindow(100);
    Session s;
    s.lineCount = 4000;
    ASSERT_TRUE(open(session("saved", s)));
    window->FarwardbtnClick();
    ASSERT_TRUE(window->PaintBox1->describeFrame);
    const FramePicture::FrameDescription about = window->PaintBox1->describeFrame();
    EXPECT_EQ(about.suggestedName, "saved-frame-2.png");
    EXPECT_EQ(about.caption.toStdString(),
              "saved.blb \u2013 frame 2 \u2013 " + window->Label2->text().toStdString() +
                  " \u2013 Counter 1 " + window->LabeledEdit[1]->text().toStdString() + ", total " +
                  window->Label1->text().toStdString());
    const QString typed = QString::fromStdString(dir.file("typed"));
    window->PaintBox1->chooseFrameFile = [&typed] { return typed; };
    window->PaintBox1->saveFrameAs();
    const QImage image(typed + ".png");
    ASSERT_FALSE(image.isNull());
    const QImage picture = window->PaintBox1->image();
    EXPECT_EQ(image.width(), picture.width());
    EXPECT_GT(image.height(), picture.height());
    int dark = 0;
    for (int y = picture.height(); y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 20);  // the caption's text
}

TEST(PrintDocumentName, HoldsNoCharacterWindowsRefuses) {
    const struct {
        const char* recording;
        const char* name;
    } cases[] = {{"/data/day4.blb", "day4-check"},
                 {"/data/tank 4: 10:00.blb", "tank 4_ 10_00-check"},
                 {"C:/data/a?b*c.blb", "a_b_c-check"}};
    for (const auto& c : cases) EXPECT_EQ(printDocumentName(c.recording), c.name) << c.recording;
}

}  // namespace
}  // namespace velkor::test
