// What a user reads at a glance, at the window sizes of a laptop and a desktop screen: every
// number whole at the largest values a day-long four-channel session gives, the session named in
// the title, the frame width and capacity in a status bar that is always visible, empty read-outs
// and an Open command after a failed opening, and the help page.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <chrono>
#include <map>
#include <thread>

#include "tests/support/window_fixture.h"
#include "ui/chart/throughput_chart.h"
#include "ui/window/read_out_report.h"

namespace velkor::test {
namespace {

Session framesOfLines(int lines) {
    Session s;
    s.lineCount = lines;
    return s;
}

// Four channels whose recorded session totals are the largest a day gives.
Session fourChannels(int lines = 4000) {
    Session s;
    s.lineCount = lines;
    s.channels = {{0, 127, "Counter 1"},
                  {128, 255, "Counter 2"},
                  {256, 383, "Counter 3"},
                  {384, 511, "Counter 4"}};
    for (int c = 1; c <= 4; ++c) s.kestKeys += "CountersT" + std::to_string(c) + "=10000000\r\n";
    return s;
}

// A widget lies wholly inside each of its ancestors, so nothing of it is clipped away.
::testing::AssertionResult insideAncestors(const QWidget* w) {
    for (const QWidget* a = w->parentWidget(); a != nullptr; a = a->parentWidget()) {
        const QRect r(w->mapTo(a, QPoint(0, 0)), w->size());
        if (!a->rect().contains(r))
            return ::testing::AssertionFailure()
                   << w->objectName().toStdString() << " sticks out of "
                   << a->objectName().toStdString();
        if (a->isWindow()) break;
    }
    return ::testing::AssertionSuccess();
}

// A label shows its whole text: visible, unclipped, wide (or, wrapped, high) enough for it.
::testing::AssertionResult showsWhole(const QLabel* label) {
    const std::string name = label->objectName().toStdString();
    if (label->text().isEmpty()) return ::testing::AssertionSuccess();
    if (!label->isVisible()) return ::testing::AssertionFailure() << name << " is hidden";
    if (auto inside = insideAncestors(label); !inside) return inside;
    const QRect room = label->contentsRect();
    if (label->wordWrap()) {
        if (label->height() < label->heightForWidth(label->width()))
            return ::testing::AssertionFailure()
                   << name << " is too low (" << label->height() << " for "
                   << label->heightForWidth(label->width()) << " at " << label->width()
                   << ") for \"" << label->text().toStdString() << "\"";
    } else if (label->fontMetrics().horizontalAdvance(label->text()) > room.width()) {
        return ::testing::AssertionFailure() << name << " cuts \"" << label->text().toStdString()
                                             << "\" to " << room.width() << " pixels";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult showsWhole(const QLineEdit* edit) {
    const std::string name = edit->objectName().toStdString();
    if (!edit->isVisible()) return ::testing::AssertionFailure() << name << " is hidden";
    if (auto inside = insideAncestors(edit); !inside) return inside;
    if (edit->fontMetrics().horizontalAdvance(edit->text()) > textRoom(*edit))
        return ::testing::AssertionFailure()
               << name << " cuts \"" << edit->text().toStdString() << "\"";
    return ::testing::AssertionSuccess();
}

class GlanceTest : public WindowTest {
protected:
    // A window of the given size with nothing fixed inside it, as a user sizes it.
    void makeSizedWindow(QSize size) {
        window = std::make_unique<TfrmRecord>(settings, &store, messages);
        window->resize(size);
        window->show();
        window->Timer1->stop();
        settle();
    }
    void settle() {
        for (int pass = 0; pass < 3; ++pass) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QApplication::processEvents();
        }
    }
    bool waitForWholeCount() {
        const bool shown = WindowTest::waitForWholeCount();
        settle();
        return shown;
    }
    QLabel* label(const char* name) const { return window->findChild<QLabel*>(name); }
};

const QSize windowSizes[] = {{1280, 720}, {1600, 1000}, {700, 600}};

TEST_F(GlanceTest, TheWidestNumbersOfADayShowWholeAtEveryWindowSize) {
    for (const QSize size : windowSizes) {
        SCOPED_TRACE(QString("%1 x %2").arg(size.width()).arg(size.height()).toStdString());
        makeSizedWindow(size);
        // A style whose controls are wider (Windows') cannot make the window this narrow: the
        // sizes it can take are checked.
        ASSERT_TRUE(open(session("day", fourChannels())));
        ASSERT_TRUE(waitForWholeCount());
        settle();
        if (window->minimumSizeHint().width() > size.width()) continue;
        EXPECT_EQ(window->width(), size.width());
        // The counters' widest values, as the window sets them after a frame.
        for (int c = 1; c <= 4; ++c) window->LabeledEdit[c]->setText("10000000");
        window->Label1->setText("40000000");
        window->Label1->adjustSize();
        window->Label2->setText("23:59:59");
        window->Label2->adjustSize();
        settle();
        for (int c = 1; c <= 4; ++c) {
            EXPECT_EQ(window->RecordedLabel[c]->text(), "recorded 10000000");
            EXPECT_TRUE(showsWhole(window->RecordedLabel[c]));
            EXPECT_TRUE(showsWhole(window->LabeledEdit[c]));
            EXPECT_TRUE(showsWhole(window->LabeledEditLabel[c]));
        }
        EXPECT_TRUE(showsWhole(window->Label1));
        EXPECT_TRUE(showsWhole(window->Label2));
        // Nor does one read-out of the counter panel lie over another.
        std::vector<QWidget*> readOuts{window->Label1, window->Label2};
        for (int c = 1; c <= 4; ++c)
            readOuts.insert(readOuts.end(), {window->LabeledEdit[c], window->LabeledEditLabel[c],
                                             window->RecordedLabel[c]});
        for (size_t i = 0; i < readOuts.size(); ++i)
            for (size_t j = i + 1; j < readOuts.size(); ++j)
                EXPECT_FALSE(readOuts[i]->geometry().intersects(readOuts[j]->geometry()))
                    << readOuts[i]->objectName().toStdString() << " over "
                    << readOuts[j]->objectName().toStdString();
        EXPECT_TRUE(window->ComparisonLine->text().contains("recorded 10000000"));
        EXPECT_TRUE(showsWhole(window->ComparisonLine));
        for (const char* name : {"countedFrames", "frameWidth", "capacity", "frameSummary"}) {
            ASSERT_NE(label(name), nullptr) << name;
            EXPECT_FALSE(label(name)->text().isEmpty()) << name;
            EXPECT_TRUE(showsWhole(label(name)));
        }
    }
}

TEST_F(GlanceTest, ALongCounterNameIsElidedWithTheWholeNameInItsToolTip) {
    makeSizedWindow({1280, 720});
    Session s = fourChannels();
    s.channels[1].name = "Pond seven, the long north raceway by the old hatchery house";
    ASSERT_TRUE(open(session("named", s)));
    settle();
    QLabel* caption = window->LabeledEditLabel[2];
    EXPECT_TRUE(caption->text().endsWith(QChar(0x2026))) << caption->text().toStdString();
    EXPECT_TRUE(caption->toolTip().contains(QString::fromStdString(s.channels[1].name)));
    EXPECT_TRUE(showsWhole(caption));
}

// The session's name stays in the title at every frame; the capacity has a labelled read-out.
TEST_F(GlanceTest, TheTitleNamesTheSessionAndTheCapacityIsAReadOut) {
    makeWindow(100);
    ASSERT_TRUE(open(session("pond", framesOfLines(4000))));
    const QString title = window->windowTitle();
    EXPECT_EQ(
        title,
        QString::fromUtf8(
            "pond.blb \u2013 Test tank \u2013 "
            "15 Mar 2023 10:00:00\u201310:00:04 \u2013 Velkor"));  // 3.58 s, to the nearest second
    for (int step = 0; step < 3; ++step) {
        click(window->Farwardbtn);
        EXPECT_EQ(window->windowTitle(), title);
        ASSERT_NE(label("capacity"), nullptr);
        EXPECT_EQ(label("capacity")->text(),
                  QString("Counter 1: capacity %1 fish/min at this frame width")
                      .arg(QString::fromStdString(window->engine().readOuts().caption)));
    }
}

TEST_F(GlanceTest, TheStatusBarShowsTheFrameWidthAndStaysVisibleInANarrowWindow) {
    for (const QSize size : windowSizes) {
        SCOPED_TRACE(size.width());
        makeSizedWindow(size);
        // A style whose controls are wider (Windows') cannot make the window this narrow: the
        // sizes it can take are checked.
        ASSERT_TRUE(open(session("narrow", framesOfLines(20000))));
        settle();
        if (window->minimumSizeHint().width() > size.width()) continue;
        click(window->Farwardbtn);
        settle();
        const int W = window->engine().readFrameWidth();
        ASSERT_NE(label("frameWidth"), nullptr);
        EXPECT_EQ(label("frameWidth")->text(),
                  QString("frames of %1 lines = %2 s").arg(W).arg(W / 1116.0, 0, 'f', 2));
        EXPECT_EQ(W, window->PaintBox1->width());
        for (const char* name : {"countedFrames", "frameWidth", "capacity", "frameSummary"}) {
            QLabel* shown = label(name);
            ASSERT_NE(shown, nullptr) << name;
            EXPECT_FALSE(shown->text().isEmpty()) << name;
            EXPECT_TRUE(showsWhole(shown));
            // Nothing of the status hides behind the tool bar's overflow button.
            EXPECT_FALSE(window->ToolBar1->isAncestorOf(shown)) << name;
        }
        EXPECT_EQ(label("countedFrames")->text(), "Counted: frames 1 to 2");
    }
}

// The note on a changed width keeps its last word at every window size.
TEST_F(GlanceTest, TheFrameWidthNoteShowsWhole) {
    for (const QSize size : {QSize(1600, 1000), QSize(1280, 720), QSize(700, 600)}) {
        SCOPED_TRACE(size.width());
        makeSizedWindow(size);
        ASSERT_TRUE(open(session("note", framesOfLines(20000))));
        window->resize(size.width() - 127, size.height());
        settle();
        QLabel* note = label("frameWidthNote");
        ASSERT_NE(note, nullptr);
        EXPECT_TRUE(note->text().endsWith("lines.")) << note->text().toStdString();
        EXPECT_TRUE(showsWhole(note));
    }
}

// Four channels with the comparison line shown fit a 1280 x 720 screen and narrower ones.
TEST_F(GlanceTest, FourChannelsFitASmallScreen) {
    makeSizedWindow({1280, 720});
    ASSERT_TRUE(open(session("fits", fourChannels())));
    ASSERT_TRUE(waitForWholeCount());
    ASSERT_TRUE(window->ComparisonLine->isVisible());
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    // Well inside a 1280-wide screen in every style (Windows' tool buttons and the verdicts dock
    // make it about 800 px there, 700 px with Linux's style).
    EXPECT_LE(least.width(), 1024);
    EXPECT_LE(least.height(), 720 - 40);  // room for a title bar
    EXPECT_EQ(window->width(), 1280);
    EXPECT_TRUE(showsWhole(window->ComparisonLine));
}

TEST_F(GlanceTest, AFailedOpeningNamesTheFileAndShowsEmptyReadOuts) {
    makeSizedWindow({1280, 720});
    Session s = framesOfLines(4000);
    s.withReport = false;
    EXPECT_FALSE(open(session("alone", s)));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second,
              "Cant find corresponding reportfile (.mse)\n" +
                  QDir::toNativeSeparators(QString::fromStdString(dir.file("alone.mse"))));
    const QStringList designCaptions{"Label1",   "Label2",   "Label3",   "Counter 1",
                                     "Counter2", "Counter3", "Counter4", "0"};
    for (const QLabel* shown : window->findChildren<QLabel*>())
        EXPECT_FALSE(designCaptions.contains(shown->text())) << shown->objectName().toStdString();
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(window->LabeledEdit[c]->text(), "") << c;
}

// Opening another recording leaves the window as a new start with that recording would.
TEST_F(GlanceTest, OpenAnotherRecordingResetsEverythingTheOldOneSet) {
    const std::string first = session("first", fourChannels(20000));
    Session one = framesOfLines(9000);
    one.channels[0].name = "Only";
    const std::string second = session("second", one);

    // What a window started with the second recording shows.
    makeSizedWindow({1280, 720});
    ASSERT_TRUE(open(second));
    ASSERT_TRUE(waitForWholeCount());
    struct Shown {
        QString title, time, total, comparison, counted;
        std::array<QString, 5> counters, captions, recorded;
        std::array<int, 5> tops;
        bool autocount;
        int maximum;
        bool operator==(const Shown&) const = default;
    };
    const auto shown = [this] {
        Shown s{window->windowTitle(),
                window->Label2->text(),
                window->Label1->text(),
                window->ComparisonLine->text(),
                window->countedFrames->text(),
                {},
                {},
                {},
                {},
                window->autocountbtn->isChecked(),
                window->TrackBar1->maximum()};
        for (int c = 1; c <= 4; ++c) {
            s.counters[c] = window->LabeledEdit[c]->text();
            s.captions[c] = window->LabeledEditLabel[c]->text();
            s.recorded[c] = window->RecordedLabel[c]->text();
            s.tops[c] = window->LabeledEdit[c]->y();
        }
        return s;
    };
    const Shown fresh = shown();

    makeSizedWindow({1280, 720});
    ASSERT_TRUE(open(first));
    ASSERT_TRUE(waitForWholeCount());
    click(window->Farwardbtn);
    click(window->autocountbtn);  // a mark set
    click(window->Farwardbtn);
    ASSERT_NE(shown(), fresh);

    // Cancelled: nothing changes.
    window->chooseRecording = [] { return std::optional<TfrmRecord::ChosenRecording>(); };
    const Shown before = shown();
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(window->isVisible());

    window->chooseRecording = [&second] {
        return std::optional<TfrmRecord::ChosenRecording>({QString::fromStdString(second), false});
    };
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(window->engine().isOpen());
    ASSERT_TRUE(waitForWholeCount());
    EXPECT_EQ(shown(), fresh);
    EXPECT_EQ(window->engine().report().channelCount, 1);
    EXPECT_TRUE(messages.shown.empty());

    // The tool bar has the command too.
    QToolButton* openbtn = window->findChild<QToolButton*>("openbtn");
    ASSERT_NE(openbtn, nullptr);
    EXPECT_TRUE(openbtn->isEnabled());
}

// A failed opening after a good one keeps the good one on show, whole: the window says why and
// nothing of the session shown changes.
TEST_F(GlanceTest, AFailedOpenAfterAGoodOneKeepsTheSessionShown) {
    Session alone = framesOfLines(4000);
    alone.withReport = false;
    const std::string missing = session("alone", alone);
    makeSizedWindow({1280, 720});
    ASSERT_TRUE(open(session("good", fourChannels())));
    ASSERT_TRUE(waitForWholeCount());
    settle();
    const QString title = window->windowTitle();
    std::map<const QLabel*, QString> texts;
    for (const QLabel* shown : window->findChildren<QLabel*>())
        if (shown->isVisible()) texts[shown] = shown->text();
    const ChartContent before = window->Chart1->content();
    window->chooseRecording = [&missing] {
        return std::optional<TfrmRecord::ChosenRecording>({QString::fromStdString(missing), false});
    };
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    settle();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].second.contains("alone.mse"));
    EXPECT_TRUE(window->engine().isOpen());
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_TRUE(window->ComparisonLine->isVisible());
    for (const QLabel* shown : window->findChildren<QLabel*>()) {
        if (shown->isVisible()) {
            EXPECT_EQ(shown->text(), texts[shown]) << shown->objectName().toStdString();
        }
    }
    EXPECT_TRUE(window->endbtn->isEnabled());
    EXPECT_TRUE(window->TrackBar1->isEnabled());
    const ChartContent chart = window->Chart1->content();
    EXPECT_EQ(chart.recorded.size(), before.recorded.size());
    EXPECT_EQ(chart.replay.size(), before.replay.size());
    EXPECT_EQ(chart.marker, before.marker);
    EXPECT_EQ(chart.channelName, before.channelName);
}

TEST_F(GlanceTest, F1ShowsTheHelpPageInTheWindowAndGoesBack) {
    makeSizedWindow({1280, 720});
    ASSERT_TRUE(open(session("help", framesOfLines(4000))));
    QTest::keyClick(window.get(), Qt::Key_F1);
    auto* page = window->findChild<QTextBrowser*>("helpPage");
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isVisible());
    EXPECT_FALSE(window->PaintBox1->isVisible());
    const QString text = page->toPlainText();
    for (const char* topic : {"picture", "Marks", "colour", "recorded", "Home", "stroke",
                              "Automatic count", "Go to", "Ctrl+O", "velkor-count --frame-width"})
        EXPECT_TRUE(text.contains(topic)) << topic;
    QTest::keyClick(page, Qt::Key_Escape);
    EXPECT_TRUE(window->PaintBox1->isVisible());
    QToolButton* helpbtn = window->findChild<QToolButton*>("helpbtn");
    ASSERT_NE(helpbtn, nullptr);
    helpbtn->click();
    EXPECT_TRUE(page->isVisible());
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_TRUE(window->PaintBox1->isVisible());
}

}  // namespace
}  // namespace velkor::test
