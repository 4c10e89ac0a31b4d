// The window under a real window manager on a virtual display, resized and maximized by it as a
// user's desktop does: the buttons after a maximize follow the frame shown, a move after the
// window was narrowed never goes back in time, and a narrowed picture says which of the frame's
// lines it hides. The window runs in this process, on the display the runner starts first.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <functional>

#include "replay/replay_engine.h"
#include "tests/support/virtual_display.h"
#include "tests/support/window_fixture.h"

namespace velkor::test {
namespace {

bool displayStarted = false;

class WindowManagerMoves : public WindowTest {
protected:
    void SetUp() override {
        if (!displayStarted) GTEST_SKIP() << "no virtual display with a window manager";
    }
    // A window `width` pixels wide as the window manager places it, with a recording of frames
    // enough at any width open in it.
    void openWindow(int width) {
        window = std::make_unique<TfrmRecord>(settings, &store, messages);
        Session s;
        s.lineCount = 40000;
        s.fishEvery = 60;
        window->setRecordingArgument(QString::fromStdString(session("moves", s)));
        window->resize(width, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(waitFor([this] { return window->engine().isOpen(); }));
        ASSERT_TRUE(waitFor([this, width] { return window->width() == width; }));
        settle();
    }
    // Lets the window manager and the window handle what is pending.
    bool waitFor(const std::function<bool()>& done, int ms = 10000) {
        for (int waited = 0; waited < ms; waited += 20) {
            QApplication::processEvents();
            if (done()) return true;
            QTest::qWait(20);
        }
        return done();
    }
    void settle() { QTest::qWait(300); }
    void key(Qt::Key k) {
        QTest::keyClick(window.get(), k);
        QApplication::processEvents();
    }
    int32_t firstLine() const { return window->engine().frameFirstLine(); }
    int pictureWidth() const { return window->PaintBox1->width(); }
    // The window manager maximizes the window; true once its picture is as wide as it gets.
    bool maximize() {
        window->showMaximized();
        const int screen = window->screen()->availableGeometry().width();
        const bool done = waitFor([&] { return window->frameGeometry().width() >= screen; });
        settle();
        return done;
    }
    bool restoreTo(int width) {
        window->showNormal();
        window->resize(width, 600);
        const bool done = waitFor([&] {
            return !(window->windowState() & Qt::WindowMaximized) && window->width() == width;
        });
        settle();
        return done;
    }
};

// 700 pixels wide, Home, Right, Right: frame 3. Maximized, its first line lies in the new frame 1,
// yet the frame shown is not the recording's start: Begin and Backward stay enabled, and Home
// goes to line 1.
TEST_F(WindowManagerMoves, AfterAMaximizeBeginAndBackwardFollowTheFrameShown) {
    ASSERT_NO_FATAL_FAILURE(openWindow(700));
    key(Qt::Key_Home);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    ASSERT_EQ(frame(), 3);
    const int narrow = pictureWidth();
    const int32_t shown = firstLine();
    ASSERT_EQ(shown, 2 * narrow + 1);
    ASSERT_TRUE(maximize());
    // The case the window manager makes: the maximized frames hold the frame shown in frame 1.
    ASSERT_GT(pictureWidth(), shown - 1) << "the screen is too narrow for this case";
    EXPECT_EQ(firstLine(), shown);  // a resize reads nothing
    EXPECT_TRUE(window->beginbtn->isEnabled());
    EXPECT_TRUE(window->backwardbtn->isEnabled());
    key(Qt::Key_Home);
    EXPECT_EQ(frame(), 1);
    EXPECT_EQ(firstLine(), 1);
    EXPECT_FALSE(window->beginbtn->isEnabled());
    EXPECT_FALSE(window->backwardbtn->isEnabled());
}

// Maximized at the last frame, then narrowed by the window manager through several widths:
// Forward shows a frame that starts after the one shown, never one before it; and so on.
TEST_F(WindowManagerMoves, AfterNarrowingAtTheLastFrameForwardNeverGoesBack) {
    ASSERT_NO_FATAL_FAILURE(openWindow(900));
    ASSERT_TRUE(maximize());
    key(Qt::Key_End);
    const int32_t last = firstLine();
    ASSERT_EQ(frame(), window->engine().frameCount());
    // Narrowed as a border is dragged: the window passes several widths before the next move.
    for (const int width : {1300, 1111, 917, 700}) ASSERT_TRUE(restoreTo(width));
    ASSERT_LT(pictureWidth(), window->engine().readFrameWidth());
    EXPECT_EQ(firstLine(), last);  // a resize reads nothing
    int32_t shown = last;
    for (int step = 0; step < 4 && window->Farwardbtn->isEnabled(); ++step) {
        key(Qt::Key_Right);
        EXPECT_GT(firstLine(), shown) << "step " << step;
        shown = firstLine();
    }
    EXPECT_GE(shown, last);
}

// Narrowed by the window manager after the frame was read, the picture keeps that frame and its
// counts, and says plainly how many of its lines are hidden; the next move reads frames of the
// new width and hides nothing.
TEST_F(WindowManagerMoves, ANarrowedPictureSaysWhatItHides) {
    ASSERT_NO_FATAL_FAILURE(openWindow(900));
    ASSERT_TRUE(maximize());
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    const int read = window->engine().readFrameWidth();
    const QString counted = window->LabeledEdit[1]->text();
    EXPECT_FALSE(window->frameSummary->text().contains("hidden"));
    ASSERT_TRUE(restoreTo(700));
    const int hidden = window->engine().frameColumn() - pictureWidth();
    ASSERT_GT(hidden, 0);
    EXPECT_EQ(window->engine().readFrameWidth(), read);
    EXPECT_EQ(window->LabeledEdit[1]->text(), counted);
    EXPECT_TRUE(window->frameSummary->text().endsWith(
        QString("; the last %1 lines of this frame are hidden until the next move").arg(hidden)))
        << window->frameSummary->text().toStdString();
    EXPECT_EQ(window->PaintBox1->image().width(), pictureWidth());
    key(Qt::Key_Right);
    EXPECT_EQ(window->engine().readFrameWidth(), pictureWidth());
    EXPECT_FALSE(window->frameSummary->text().contains("hidden"));
}

}  // namespace
}  // namespace velkor::test

// The virtual display and its window manager start before the application object, which connects
// to them; without Xvfb or openbox the tests are skipped.
int main(int argc, char** argv) {
    using namespace velkor::test;
    // Listing the tests needs no display.
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing = listing || QByteArray(argv[i]) == "--gtest_list_tests";
    ::testing::InitGoogleTest(&argc, argv);
    TempDir dir;
    Children children;
    if (!listing && haveDisplay()) {
        if (const auto environment = startDisplay(children, QSize(1600, 1000), dir)) {
            qputenv("DISPLAY", environment->value("DISPLAY").toLocal8Bit());
            qputenv("XDG_CONFIG_HOME", environment->value("XDG_CONFIG_HOME").toLocal8Bit());
            qputenv("QT_QPA_PLATFORM", "xcb");
            displayStarted = true;
        }
    }
    if (!displayStarted) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velkor");
    return RUN_ALL_TESTS();
}
