// The real program under a virtual display: `velkor --screenshot` on a generated two-channel
// session saves a picture of the window in which frame 1's strokes and the divider between the
// channels stand where the channel table puts them; with --go-to the frame named is shown, as
// counted or afresh, with velkor-count's figures.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <filesystem>
#include <regex>

#include "replay/checkpoint_store.h"
#include "replay/replay_engine.h"
#include "tests/engine/count_cli.h"
#include "tests/support/crowded_session.h"
#include "tests/support/session_fixture.h"
#include "tests/support/touching_session.h"
#include "tools/velkor-synth/session_writer.h"
#include "ui/picture/ending_marks.h"
#include "ui/picture/frame_painter.h"
#include "ui/picture/picture_geometry.h"

namespace velkor::test {
namespace {

TEST(Screenshot, ShowsFrameOneWithItsDividerAndMarks) {
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";

    TempDir dir;
    Session s;
    s.lineCount = 3000;
    s.fishEvery = 30;
    s.channels = {{0, 250, "Left"}, {261, 511, "Right"}};
    const std::string recording = writeSession(dir.file("session"), s);
    const QString shot = QString::fromStdString(dir.file("shot.png"));

    QProcess velkor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");  // the virtual display, not the offscreen platform
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
    velkor.setProcessEnvironment(environment);
    velkor.start(xvfbRun,
                 {"-a", VELKOR_EXE, "--screenshot", shot, QString::fromStdString(recording)});
    ASSERT_TRUE(velkor.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(velkor.readAllStandardOutput());
    ASSERT_EQ(velkor.exitCode(), 0)
        << output.toStdString() << velkor.readAllStandardError().toStdString();

    const QRegularExpressionMatch where =
        QRegularExpression(R"(picture at (\d+),(\d+) size (\d+)x(\d+))").match(output);
    ASSERT_TRUE(where.hasMatch()) << output.toStdString();
    const int left = where.captured(1).toInt(), top = where.captured(2).toInt();
    const int width = where.captured(3).toInt(), H = where.captured(4).toInt();
    QImage picture(shot);
    ASSERT_FALSE(picture.isNull());
    picture = picture.convertToFormat(QImage::Format_RGB32).copy(left, top, width, H);

    int navy = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < width; ++x) navy += picture.pixel(x, y) == strokeColour;
    }
    EXPECT_GT(navy, 1000);
    // The marks show as the window shows them: counted fish framed in each channel's colour.
    for (int channel : {1, 2}) {
        int marked = 0;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < width; ++x)
                marked += picture.pixel(x, y) == channelMarkColour(channel);
        }
        EXPECT_GT(marked, 200) << channel;
    }

    const int a = skal(250, 0, 511, H);
    const int b = skal(261, 0, 511, H);
    for (int x : {0, width / 2, width - 1}) {
        EXPECT_EQ(picture.pixel(x, a), dividerLight) << x;
        EXPECT_EQ(picture.pixel(x, b), dividerShadow) << x;
        EXPECT_EQ(picture.pixel(x, b + 1), dividerDark) << x;
        EXPECT_EQ(picture.pixel(x, a - 1), picture.pixel(x, (a + b) / 2)) << x;  // button face
        EXPECT_NE(picture.pixel(x, (a + b) / 2), pictureBackground) << x;
    }
}

// The live counter's stored counter type does not reach the window: the whole count of the
// screenshot is velkor-count's default count at the frame width frame 1 was read with.
TEST(Screenshot, AStoredCounterTypeAddsNoOverloadCorrection) {
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
    TempDir dir;
    const std::string recording = writeCrowdedSession(dir.file("crowded"));
    std::filesystem::create_directories(dir.file("config"));
    for (const char* stored : {"5", "1"}) {
        SCOPED_TRACE(stored);
        writeBytes(dir.file("config/Kest Registry.ini"),
                   std::string("[Kest]\nCountertype=") + stored + "\n");
        QProcess velkor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
        velkor.setProcessEnvironment(environment);
        velkor.start(xvfbRun, {"-a", VELKOR_EXE, "--screenshot",
                               QString::fromStdString(dir.file("shot.png")),
                               QString::fromStdString(recording)});
        ASSERT_TRUE(velkor.waitForFinished(120000));
        const QString output = QString::fromLocal8Bit(velkor.readAllStandardOutput());
        ASSERT_EQ(velkor.exitCode(), 0) << output.toStdString();
        const QRegularExpressionMatch width =
            QRegularExpression(R"(read with frames of (\d+) lines)").match(output);
        const QRegularExpressionMatch whole =
            QRegularExpression(R"(whole count (\d+))").match(output);
        ASSERT_TRUE(width.hasMatch() && whole.hasMatch()) << output.toStdString();
        auto total = [&](const std::string& options) {
            const CliRun cli = runCount("--json --frame-width " + width.captured(1).toStdString() +
                                        options + " " + shellQuoted(recording));
            EXPECT_EQ(cli.status, 0) << cli.err;
            const std::smatch m = [&] {
                std::smatch found;
                std::regex_search(cli.out, found, std::regex(R"("totals": \[(\d+)\])"));
                return found;
            }();
            return m.size() > 1 ? std::stoi(m[1]) : -1;
        };
        ASSERT_NE(total(""), total(" --counter-type 5"));  // the correction would show
        EXPECT_EQ(whole.captured(1).toInt(), total(""));
    }
}

// `velkor --screenshot --go-to N [--as-counted]`: the frame shown, its counters and its summary are
// velkor-count's for frame N, as the continuous count had it or counted afresh from N; at the
// first frame, a checkpoint's frame of the window's count, the frame after it and the last frame.
TEST(Screenshot, GoToShowsTheFrameAsCountedOrAfresh) {
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
    TempDir dir;
    const std::string recording = writeTouchingSession(dir, "three", 5);

    struct Shown {
        int frame = 0, width = 0, countedInFrame = -1;
        std::string counters;
    };
    auto screenshot = [&](int frame, bool asCounted) {
        QProcess velkor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
        velkor.setProcessEnvironment(environment);
        QStringList arguments{"-a",           VELKOR_EXE,
                              "--screenshot", QString::fromStdString(dir.file("shot.png")),
                              "--go-to",      QString::number(frame)};
        if (asCounted) arguments << "--as-counted";
        velkor.start(xvfbRun, arguments << QString::fromStdString(recording));
        EXPECT_TRUE(velkor.waitForFinished(120000));
        const QString output = QString::fromLocal8Bit(velkor.readAllStandardOutput());
        EXPECT_EQ(velkor.exitCode(), 0) << output.toStdString();
        Shown shown;
        const QRegularExpressionMatch read =
            QRegularExpression(R"(frame (\d+) read with frames of (\d+) lines)").match(output);
        const QRegularExpressionMatch summary =
            QRegularExpression(R"(read-out frameSummary "Counted (\d+),)").match(output);
        const QRegularExpressionMatch counters =
            QRegularExpression(R"(velkor: counters ([\d ]+)\n)").match(output);
        EXPECT_TRUE(read.hasMatch() && summary.hasMatch() && counters.hasMatch())
            << output.toStdString();
        shown.frame = read.captured(1).toInt();
        shown.width = read.captured(2).toInt();
        shown.countedInFrame = summary.captured(1).toInt();
        shown.counters = counters.captured(1).toStdString();
        return shown;
    };
    // velkor-count's totals ("a b c") after frame N and the objects it counted in frame N.
    auto count = [&](const Shown& shown, bool asCounted) {
        const CliRun cli =
            runCount("--trace --frame-width " + std::to_string(shown.width) + " --from " +
                     std::to_string(shown.frame) + " --to " + std::to_string(shown.frame) +
                     (asCounted ? " --as-counted " : " ") + shellQuoted(recording));
        EXPECT_EQ(cli.status, 0) << cli.err;
        Shown counted{shown.frame, shown.width, 0, ""};
        for (const std::string& line : linesOf(cli.out)) {
            const std::string closed =
                "{\"closed\": {\"frame\": " + std::to_string(shown.frame) + ",";
            counted.countedInFrame += line.rfind(closed, 0) == 0;
            std::smatch totals;
            if (line.rfind("{\"summary\"", 0) == 0 &&
                std::regex_search(line, totals,
                                  std::regex(R"("totals": \[(\d+), (\d+), (\d+)\])"))) {
                counted.counters = totals[1].str() + " " + totals[2].str() + " " + totals[3].str();
                // Counted afresh from frame N, the totals are the objects counted in frame N (the
                // trace holds that frame's records twice: read, then counted from the mark).
                if (!asCounted)
                    counted.countedInFrame =
                        std::stoi(totals[1]) + std::stoi(totals[2]) + std::stoi(totals[3]);
            }
        }
        return counted;
    };

    const Shown first = screenshot(1, true);
    ASSERT_GT(first.width, 0);
    const int frames = (80000 + first.width - 1) / first.width;
    const int spacing = CheckpointStore(first.width, noClassOverrides).spacingFrames();
    ASSERT_LT(spacing + 2, frames);
    for (const int n : {1, spacing + 1, spacing + 2, frames}) {
        SCOPED_TRACE("frame " + std::to_string(n));
        const Shown asCounted = n == 1 ? first : screenshot(n, true);
        ASSERT_EQ(asCounted.frame, n);
        const Shown expected = count(asCounted, true);
        EXPECT_EQ(asCounted.counters, expected.counters);
        EXPECT_EQ(asCounted.countedInFrame, expected.countedInFrame);
    }
    // Without --as-counted the jump counts afresh from its frame.
    const Shown afresh = screenshot(spacing + 2, false);
    const Shown expected = count(afresh, false);
    EXPECT_EQ(afresh.counters, expected.counters);
    EXPECT_EQ(afresh.countedInFrame, expected.countedInFrame);
    EXPECT_NE(afresh.counters, count(afresh, true).counters);
}

// --go-to and --as-counted asked for without what they need: a usage error naming the option, and
// no picture written.
TEST(Screenshot, GoToWithoutWhatItNeedsIsAUsageError) {
    TempDir dir;
    const std::string shot = shellQuoted(dir.file("shot.png"));
    const std::string recording = shellQuoted(dir.file("none.blb"));
    const struct {
        std::string arguments, named;
    } cases[] = {
        {"--go-to 5 " + recording, "--go-to"},
        {"--screenshot " + shot + " --go-to 12:99 " + recording, "--go-to"},
        {"--screenshot " + shot + " --go-to five " + recording, "--go-to"},
        {"--screenshot " + shot + " --as-counted " + recording, "--as-counted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ProgramRun run = runProgram(VELKOR_EXE, c.arguments, 60);
        EXPECT_EQ(run.exit, 2) << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("shot.png")));
    }
}

}  // namespace
}  // namespace velkor::test
