// The real program under a real window manager on a virtual display, on a machine made busy by
// processes the test starts and stops itself: every opening reads frame 1 with the width of the
// maximized picture. Channel 1's capacity per minute depends on that width and is checked against
// the engine's own figure for it. More than a million fish in four channels show every number whole
// on a laptop's screen and on a desktop's.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSize>
#include <QStandardPaths>
#include <QThread>
#include <memory>
#include <optional>
#include <vector>

#include "replay/replay_engine.h"
#include "tests/support/session_fixture.h"
#include "tests/support/virtual_display.h"

namespace velkor::test {
namespace {

constexpr int screenWidth = 1280;
constexpr int openings = 5;

TEST(WindowManager, EveryOpeningOnABusyMachineUsesTheMaximizedWidth) {
    if (!haveDisplay()) GTEST_SKIP() << "Xvfb or openbox is not installed";

    TempDir dir;
    Session s;
    s.lineCount = 20000;
    s.fishEvery = 25;
    const std::string recording = writeSession(dir.file("session"), s);

    Children children;
    const std::optional<QProcessEnvironment> shown =
        startDisplay(children, QSize(screenWidth, 720), dir);
    ASSERT_TRUE(shown);
    const QProcessEnvironment& environment = *shown;

    const size_t busyFrom = children.all.size();
    for (int i = 0; i < 2 * QThread::idealThreadCount(); ++i)
        children.start("sh", {"-c", "while :; do :; done"});

    struct Opening {
        int windowWidth = 0, pictureWidth = 0, W = 0;
        std::string capacity, output;
    };
    std::vector<Opening> seen;
    for (int i = 0; i < openings; ++i) {
        QProcess velkor;
        velkor.setProcessEnvironment(environment);
        const QString shot = QString::fromStdString(dir.file("shot.png"));
        velkor.start(VELKOR_EXE,
                     {"--screenshot", shot, "--maximized", QString::fromStdString(recording)});
        ASSERT_TRUE(velkor.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(velkor.readAllStandardOutput());
        ASSERT_EQ(velkor.exitCode(), 0)
            << output.toStdString() << velkor.readAllStandardError().toStdString();
        const auto window = QRegularExpression(R"(window (\d+)x)").match(output);
        const auto picture = QRegularExpression(R"(picture at \d+,\d+ size (\d+)x)").match(output);
        const auto read = QRegularExpression(R"(frames of (\d+) lines;)").match(output);
        const auto capacity =
            QRegularExpression(R"re(read-out capacity "[^"]*capacity (\d+) fish/min)re")
                .match(output);
        ASSERT_TRUE(window.hasMatch() && picture.hasMatch() && read.hasMatch() &&
                    capacity.hasMatch())
            << output.toStdString();
        seen.push_back({window.captured(1).toInt(), picture.captured(1).toInt(),
                        read.captured(1).toInt(), capacity.captured(1).toStdString(),
                        output.toStdString()});
    }
    children.stop(busyFrom);

    // The engine's capacity for frame 1 at a frame width, and at the design width for contrast.
    const auto caption = [&recording](int W) {
        Tsett settings;
        ReplayEngine engine(settings, nullptr);
        engine.setFrameWidth(W);
        EXPECT_TRUE(engine.OpenBlbFile(recording));
        return engine.readOuts().caption;
    };
    for (const Opening& o : seen) {
        SCOPED_TRACE(o.output);
        EXPECT_EQ(o.windowWidth, screenWidth);  // maximized when frame 1 was read
        EXPECT_EQ(o.W, o.pictureWidth);
        EXPECT_EQ(o.capacity, caption(o.W));
    }
    EXPECT_NE(caption(seen.front().W), caption(557));  // the read-out tells the two widths apart
}

// 50 minutes of four channels at the highest density velkor-synth makes: more than a million fish
// recorded, six-digit totals per channel.
TEST(WindowManager, AMillionFishInFourChannelsShowEveryNumberWholeOnSmallAndLargeScreens) {
    if (!haveDisplay()) GTEST_SKIP() << "Xvfb or openbox is not installed";
    TempDir dir;
    const std::string base = dir.file("crowded");
    QProcess synth;
    synth.start(VELKOR_SYNTH_EXE,
                {"--out", QString::fromStdString(base), "--minutes", "50", "--density", "100",
                 "--channel", "10:127:1", "--channel", "138:255:1", "--channel", "266:383:1",
                 "--channel", "394:500:1", "--tank", "North raceway 7"});
    ASSERT_TRUE(synth.waitForFinished(300000));
    ASSERT_EQ(synth.exitCode(), 0) << synth.readAllStandardError().toStdString();

    for (const QSize screen : {QSize(1280, 720), QSize(1600, 1000)}) {
        SCOPED_TRACE(screen.width());
        Children children;
        const std::optional<QProcessEnvironment> environment = startDisplay(children, screen, dir);
        ASSERT_TRUE(environment);
        QProcess velkor;
        velkor.setProcessEnvironment(*environment);
        const QString shot = QString::fromStdString(dir.file("crowded.png"));
        velkor.start(VELKOR_EXE,
                     {"--screenshot", shot, "--maximized", QString::fromStdString(base + ".blb")});
        ASSERT_TRUE(velkor.waitForFinished(300000));
        const QString output = QString::fromUtf8(velkor.readAllStandardOutput());
        ASSERT_EQ(velkor.exitCode(), 0) << output.toStdString();
        SCOPED_TRACE(output.toStdString());

        const auto window = QRegularExpression(R"(window (\d+)x(\d+))").match(output);
        ASSERT_TRUE(window.hasMatch());
        EXPECT_EQ(window.captured(1).toInt(), screen.width());
        EXPECT_LE(window.captured(2).toInt(), screen.height());

        // Every read-out has the room its text needs and lies inside what holds it.
        const QRegularExpression readOut(
            R"re(read-out (\w+) "([^"]*)" room (-?\d+) needs (\d+) inside (\d))re");
        int64_t recorded = 0;
        int readOuts = 0;
        for (auto it = readOut.globalMatch(output); it.hasNext();) {
            const auto m = it.next();
            ++readOuts;
            EXPECT_GE(m.captured(3).toInt(), m.captured(4).toInt()) << m.captured(0).toStdString();
            EXPECT_EQ(m.captured(5), "1") << m.captured(0).toStdString();
            if (m.captured(1).startsWith("RecordedLabel")) {
                EXPECT_GE(m.captured(2).size(), QString("recorded 100000").size());
                recorded += m.captured(2).section(' ', 1).toLongLong();
            }
        }
        EXPECT_GT(readOuts, 10);
        EXPECT_GT(recorded, 1000000);
        EXPECT_TRUE(output.contains(R"(read-out ComparisonLine ")")) << "no comparison shown";
        EXPECT_TRUE(output.contains("crowded.blb \u2013 North raceway 7"));
    }
}

}  // namespace
}  // namespace velkor::test
