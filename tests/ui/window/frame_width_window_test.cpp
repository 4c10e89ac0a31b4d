// The window when its picture changes width: a resize reads nothing and says which frame width the
// counts shown were made with; the next move uses frames of the new width, so End and the track
// bar reach the recording's last line. Go to by key and button, and the opening's wait for the
// maximized window.
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTest>

#include "replay/replay_engine.h"
#include "tests/support/window_fixture.h"
#include "ui/navigation/go_to_dialog.h"
#include "ui/window/opening_gate.h"

namespace velkor::test {
namespace {

class FrameWidthTest : public WindowTest {
protected:
    // 3950 lines starting at 10:00:00: 40 frames of 100 lines.
    std::string forty() {
        Session s;
        s.lineCount = 3950;
        return session("forty", s);
    }
    void resizePicture(int width) {
        window->PaintBox1->setFixedWidth(width);
        QApplication::processEvents();
        ASSERT_EQ(window->PaintBox1->width(), width);
    }
    bool noteShown() const { return !window->frameWidthNote->text().isEmpty(); }
    // Channel 1's count of `frame` read as a jump in frames of W lines.
    int freshCount(const std::string& recording, int W, int frame) {
        Tsett otherSettings;
        ReplayEngine reference(otherSettings, nullptr);
        reference.setFrameWidth(W);
        EXPECT_TRUE(reference.OpenBlbFile(recording));
        reference.goToFrame(frame);
        return reference.channelTotal(1);
    }
};

TEST_F(FrameWidthTest, AfterAResizeEndAndTheThumbReachTheLastLine) {
    const std::string recording = forty();
    makeWindow(100);
    ASSERT_TRUE(open(recording));
    for (const int width : {137, 330}) {  // frames of 137 lines: 29; of 330 lines: 12
        SCOPED_TRACE(width);
        click(window->beginbtn);
        for (int step = 0; step < 3; ++step) click(window->Farwardbtn);
        EXPECT_FALSE(noteShown());
        countReads();
        const QString counted = window->LabeledEdit[1]->text();
        resizePicture(width);
        EXPECT_TRUE(reads.empty());  // a resize alone reads nothing
        EXPECT_EQ(window->LabeledEdit[1]->text(), counted);
        EXPECT_TRUE(noteShown());
        EXPECT_TRUE(window->frameWidthNote->text().contains(
            QString::number(window->engine().readFrameWidth())));
        // End and the track bar already offer the frames of the new width.
        EXPECT_TRUE(window->endbtn->isEnabled());
        EXPECT_EQ(window->TrackBar1->maximum(), std::min(3950 / width + 1, 100));

        click(window->endbtn);
        const ReplayEngine& e = window->engine();
        EXPECT_EQ(e.frameCount(), 3950 / width + 1);
        EXPECT_EQ(e.frameFirstLine() + e.frameColumn() - 1, 3950);  // the last line is shown
        EXPECT_FALSE(window->Farwardbtn->isEnabled());
        EXPECT_FALSE(window->endbtn->isEnabled());
        EXPECT_FALSE(noteShown());
        EXPECT_EQ(window->TrackBar1->maximum(), e.frameCount());
        EXPECT_EQ(window->LabeledEdit[1]->text(),
                  QString::number(freshCount(recording, width, e.frameCount())));

        click(window->beginbtn);
        drag(window->TrackBar1->maximum());
        EXPECT_EQ(frame(), e.frameCount());
    }
}

TEST_F(FrameWidthTest, GoToATimeOrAFrame) {
    makeWindow(100);
    ASSERT_TRUE(open(forty()));
    std::optional<QString> typed;
    int asked = 0;
    window->askGoTo = [&] {
        ++asked;
        return typed;
    };
    countReads();
    // 10:00:02 shows from 1.5 s on (line 1674): the first frame showing it is frame 18, from
    // line 1701 (frame 17, from line 1601, shows 10:00:01).
    typed = "10:00:02";
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(frame(), 18);
    EXPECT_EQ(window->Label2->text(), "10:00:02");
    EXPECT_EQ(window->TrackBar1->selStart(), window->TrackBar1->selEnd());

    typed = "25";  // the next frame, read as a jump: its count alone
    click(window->gotobtn);
    EXPECT_EQ(frame(), 25);
    EXPECT_EQ(window->LabeledEdit[1]->text(),
              QString::number(freshCount(window->engine().recordingName(), 100, 25)));

    typed = "09:00:00";  // before the start
    click(window->gotobtn);
    EXPECT_EQ(frame(), 1);
    typed = "12:00:00";  // after the end
    click(window->gotobtn);
    EXPECT_EQ(frame(), 40);
    EXPECT_EQ(reads, (std::vector<int32_t>{18, 25, 1, 40}));

    typed = std::nullopt;  // cancelled
    click(window->gotobtn);
    typed = "half past ten";
    click(window->gotobtn);
    EXPECT_EQ(reads.size(), 4u);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].second.contains("half past ten"));
}

TEST_F(FrameWidthTest, TheGoToDialogAcceptsOnlyATimeOrAFrame) {
    GoToDialog dialog(nullptr, "span", "10:00:00");
    auto* edit = dialog.findChild<QLineEdit*>("goToText");
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    for (const auto& [text, accepted] : {std::pair{"10:00:00", true},
                                         {"12", true},
                                         {"25:00:00", false},
                                         {"", false},
                                         {"10:0", false}}) {
        edit->setText(text);
        EXPECT_EQ(ok->isEnabled(), accepted) << text;
    }
}

// The opening's gate on a window shown maximized, with the area a maximized window covers given.
class OpeningGateTest : public ::testing::Test {
protected:
    void show(bool maximized) {
        widget.setWindowState(maximized ? Qt::WindowMaximized : Qt::WindowNoState);
        widget.show();
        gate.windowShown();
    }
    QWidget widget;
    QRect available{0, 0, 20000, 20000};  // larger than any window the tests show
    int opened = 0;
    OpeningGate gate{&widget, [this] { ++opened; }, 100, [this] { return available; }};
};

TEST_F(OpeningGateTest, AWindowNotShownMaximizedOpensAtOnce) {
    show(false);
    EXPECT_EQ(opened, 1);
}

TEST_F(OpeningGateTest, AMaximizedWindowOpensWhenItCoversTheAvailableArea) {
    show(true);
    QApplication::processEvents();
    EXPECT_EQ(opened, 0);
    available = widget.frameGeometry();  // the window manager has maximized it
    QResizeEvent resized(widget.size(), widget.size());
    QApplication::sendEvent(&widget, &resized);
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(gate.timedOut());
    QTest::qWait(150);
    EXPECT_EQ(opened, 1);  // once
}

TEST_F(OpeningGateTest, AWindowThatIsNeverMaximizedOpensAfterTheFallbackTime) {
    show(true);
    QTRY_COMPARE_WITH_TIMEOUT(opened, 1, 2000);
    EXPECT_TRUE(gate.timedOut());
}

TEST(CoversAvailableArea, WidthInFullAndHeightButForATitleBar) {
    const QRect screen(0, 0, 1600, 900);
    EXPECT_TRUE(coversAvailableArea(QRect(0, 0, 1600, 900), screen));
    EXPECT_TRUE(coversAvailableArea(QRect(0, 19, 1600, 881), screen));  // title bar not known
    EXPECT_FALSE(coversAvailableArea(QRect(0, 0, 1599, 900), screen));
    EXPECT_FALSE(coversAvailableArea(QRect(0, 0, 684, 644), screen));
}

}  // namespace
}  // namespace velkor::test
