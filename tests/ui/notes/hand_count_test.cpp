// The hand counts dock: a count entered per channel is kept in the session's notes file and shown
// again on opening; the channel's class sweep against it runs in the background, equals
// velkor-count --class-sweep --reference, and a click on a class chooses it beside the counter
// field. A notes file that is not notes is named and replaced only when the user agrees; a folder
// that cannot be written hands the notes to the data folder, and the dock says where.
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "settings/session_notes.h"
#include "tests/engine/count_cli.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/window_fixture.h"
#include "tools/velkor-count/hand_count_text.h"
#include "ui/counters/class_chooser.h"
#include "ui/notes/hand_count_box.h"
#include "ui/notes/session_notes_part.h"

namespace velkor::test {
namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(HandCountTexts, RowsOfTheSweepTable) {
    struct Case {
        HandCountRow row;
        QStringList texts;
    } cases[] = {
        {{3, 615, -15, -2.38, true, false}, {"3 g", "615", "-15 (-2.4 %)", "*", ""}},
        {{4, 630, 0, 0.0, false, true}, {"10 g", "630", "0 (0.0 %)", "", "<"}},
        {{0, 12, 12, std::nullopt, true, true}, {"0.1 g", "12", "+12", "*", "<"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(handCountRowTexts(c.row), c.texts) << c.texts.join('|').toStdString();
}

TEST(HandCountTexts, WhatTheFieldTakes) {
    struct Case {
        const char* text;
        std::optional<int64_t> count;
    } cases[] = {
        {"630", 630}, {" 0 ", 0},    {"999999999", maxHandCount},
        {"", {}},     {"-3", {}},    {"1000000000", {}},
        {"6.5", {}},  {"1 000", {}}, {"abc", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseHandCount(c.text), c.count) << c.text;
}

class HandCountTest : public WindowTest {
protected:
    SessionNotesPart& part() { return *window->notes; }
    HandCountBox& box(int c) { return *part().handCount[size_t(c)]; }
    // As the user does: "Hand count..." on the counter's caption, then the count and Enter.
    void enter(int c, const QString& text) {
        window->LabeledEditLabel[c]->actions().at(0)->trigger();
        EXPECT_TRUE(part().dock->isVisible());
        box(c).field->setText(text);
        emit box(c).field->returnPressed();
    }
    bool waitForSweep(int c) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (box(c).sweeping() && std::chrono::steady_clock::now() < until) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        QApplication::processEvents();
        return !box(c).sweeping();
    }
};

TEST_F(HandCountTest, SweepEqualsVelkorCountAndAClickChoosesTheClass) {
    makeWindow(100);
    window->notes->dataFolder = QString::fromStdString(dir.file("data"));
    const std::string recording = session("hand", leftAndRight(20000, "CountersT1=480\r\n"));
    ASSERT_TRUE(open(recording));
    EXPECT_FALSE(part().dock->isVisible());  // until asked for: the picture keeps its room
    EXPECT_FALSE(box(1).line->isVisible());
    EXPECT_FALSE(std::filesystem::exists(notesFileBeside(recording)));  // nothing written yet

    enter(1, "470");
    EXPECT_TRUE(box(1).sweeping());
    EXPECT_EQ(box(1).line->text(), "hand count 470: replay counting ...");
    const NotesFileReading kept = readNotesFile(notesFileBeside(recording));
    ASSERT_EQ(kept.state, NotesFileState::read);
    EXPECT_EQ(kept.notes.handCounts, (std::map<int32_t, int64_t>{{1, 470}}));
    ASSERT_TRUE(waitForSweep(1));
    ASSERT_TRUE(box(1).swept());

    const CliRun cli = runCount("--frame-width 100 --class-sweep --reference 1=470 --json " +
                                shellQuoted(recording));
    ASSERT_EQ(cli.status, 0) << cli.err;
    const auto channel = nlohmann::json::parse(cli.out)["sweep"]["channels"][0];
    const int reportClass = channel["reportClass"];
    const int nearest = channel["reference"]["nearest"];
    for (int k = 0; k < fishClassCount; ++k) {
        const int total = channel["classes"][k]["total"];
        const HandCountRow want{
            k, total, total - 470, differencePercent(total, 470), k == reportClass, k == nearest};
        EXPECT_EQ(box(1).swept()->rows[size_t(k)].replay, total) << k;
        for (int column = 0; column < 5; ++column)
            EXPECT_EQ(box(1).table->item(k, column)->text(), handCountRowTexts(want)[column]);
    }
    const int reportTotal = channel["classes"][reportClass]["total"];
    EXPECT_EQ(box(1).line->text().toStdString(), handCountText(470, reportTotal));

    // A click on another class: the chooser beside the field takes it, the line follows.
    const int other = reportClass == 0 ? 1 : reportClass - 1;
    emit box(1).table->cellClicked(other, 0);
    EXPECT_EQ(window->classChooser[1]->chosenClass(), other);
    EXPECT_EQ(box(1).line->text().toStdString(),
              handCountText(470, channel["classes"][other]["total"].get<int>()));

    // Opened again, the session shows its hand count and sweeps it again.
    part().dock->hide();
    ASSERT_TRUE(open(recording));
    EXPECT_TRUE(part().dock->isVisible());
    EXPECT_EQ(box(1).field->text(), "470");
    EXPECT_TRUE(box(1).sweeping() || box(1).swept());
    EXPECT_FALSE(box(2).handCount());
    box(1).cancelSweep();
    EXPECT_EQ(box(1).line->text(), "hand count 470: the class sweep was cancelled");

    // Cleared, the file keeps no hand count of channel 1.
    emit box(1).clearButton->clicked();
    EXPECT_TRUE(readNotesFile(notesFileBeside(recording)).notes.handCounts.empty());
    EXPECT_FALSE(box(1).line->isVisible());
    EXPECT_TRUE(messages.shown.empty());
}

// Like the whole count, the sweep is made at the frame width the window reads: the picture grows,
// the next move reads wider frames, and the hand count is swept again at that width.
TEST_F(HandCountTest, TheSweepFollowsTheFrameWidth) {
    makeWindow(100);
    const std::string recording = session("wider", leftAndRight(6000));
    ASSERT_TRUE(open(recording));
    enter(1, "150");
    ASSERT_TRUE(waitForSweep(1));
    ASSERT_TRUE(box(1).swept());
    EXPECT_EQ(box(1).swept()->frameWidth, 100);
    // At the same width it is not swept again.
    const auto quiet = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < quiet)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(box(1).sweeping());
    EXPECT_EQ(box(1).swept()->frameWidth, 100);

    window->PaintBox1->setFixedWidth(160);
    QApplication::processEvents();
    window->FarwardbtnClick();
    ASSERT_EQ(window->engine().readFrameWidth(), 160);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (box(1).sweepWidth() != 160 && std::chrono::steady_clock::now() < until)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(waitForSweep(1));
    ASSERT_TRUE(box(1).swept());
    EXPECT_EQ(box(1).swept()->frameWidth, 160);
    const CliRun cli = runCount("--frame-width 160 --class-sweep --reference 1=150 --json " +
                                shellQuoted(recording));
    ASSERT_EQ(cli.status, 0) << cli.err;
    const auto classes = nlohmann::json::parse(cli.out)["sweep"]["channels"][0]["classes"];
    for (int k = 0; k < fishClassCount; ++k)
        EXPECT_EQ(box(1).swept()->rows[size_t(k)].replay, classes[k]["total"].get<int>()) << k;
}

TEST_F(HandCountTest, AFieldThatIsNoCountIsRefusedAndNothingWritten) {
    makeWindow(100);
    const std::string recording = session("refused", leftAndRight(2000));
    ASSERT_TRUE(open(recording));
    enter(2, "12.5");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].second.contains("\"12.5\" is not a hand count"));
    EXPECT_FALSE(box(2).sweeping());
    EXPECT_FALSE(std::filesystem::exists(notesFileBeside(recording)));
}

// A file beside the recording that is not notes: named on opening, kept until the user agrees.
TEST_F(HandCountTest, AFileThatIsNotNotesIsReplacedOnlyWhenTheUserAgrees) {
    makeWindow(100);
    const std::string recording = session("foreign", leftAndRight(2000));
    const std::string beside = notesFileBeside(recording);
    std::ofstream(beside) << "{\"unfinished\": ";
    int asked = 0;
    bool agree = false;
    window->notes->askReplace = [&](const QString& question) {
        ++asked;
        EXPECT_TRUE(question.contains(QString::fromStdString(beside)));
        return agree;
    };
    ASSERT_TRUE(open(recording));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, MessageKind::warning);
    EXPECT_TRUE(messages.shown[0].second.contains(QString::fromStdString(beside)));

    box(1).cancelSweep();
    enter(1, "30");
    box(1).cancelSweep();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fileText(beside), "{\"unfinished\": ");
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].second.contains("not written"));

    agree = true;
    enter(1, "31");
    box(1).cancelSweep();
    EXPECT_EQ(asked, 2);
    const NotesFileReading kept = readNotesFile(beside);
    ASSERT_EQ(kept.state, NotesFileState::read);
    EXPECT_EQ(kept.notes.handCounts, (std::map<int32_t, int64_t>{{1, 31}}));
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(HandCountTest, AFolderThatCannotBeWrittenKeepsTheNotesInTheDataFolder) {
    ReadOnlyFolder archive;
    const std::string recording = writeSession(archive.file("archived"), leftAndRight(2000));
    if (!archive.makeReadOnly()) GTEST_SKIP() << "a read-only folder needs root";
    makeWindow(100);
    const std::string data = dir.file("data");
    window->notes->dataFolder = QString::fromStdString(data);
    ASSERT_TRUE(open(recording));
    enter(1, "44");
    box(1).cancelSweep();
    const std::string kept = notesFileInDataFolder(data, recording);
    EXPECT_EQ(readNotesFile(kept).notes.handCounts, (std::map<int32_t, int64_t>{{1, 44}}));
    EXPECT_TRUE(box(1).isVisible());
    EXPECT_TRUE(window->notes->whereKept->isVisibleTo(window->notes->dock->widget()));
    EXPECT_TRUE(window->notes->whereKept->text().contains(QString::fromStdString(kept)));

    // Opened again, the hand count comes from the data folder, and the dock says so.
    ASSERT_TRUE(open(recording));
    EXPECT_EQ(box(1).field->text(), "44");
    EXPECT_TRUE(window->notes->whereKept->text().contains(QString::fromStdString(kept)));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace velkor::test
