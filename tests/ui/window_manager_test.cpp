// The real program under a real window manager on a virtual display, on a machine made busy by
// processes the test starts and stops itself: every opening reads frame 1 with the width of the
// maximized picture. The window title, channel 1's capacity per minute, depends on that width and
// is checked against the engine's own caption for it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <memory>
#include <vector>

#include "replay/replay_engine.h"
#include "session_fixture.h"

namespace velkor::test {
namespace {

constexpr int screenWidth = 1280;
constexpr int openings = 5;

// Child processes that end with the test: the virtual display, the window manager, busy loops.
struct Children {
    std::vector<std::unique_ptr<QProcess>> all;
    QProcess& start(
        const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        all.push_back(std::make_unique<QProcess>());
        QProcess& p = *all.back();
        p.setProcessEnvironment(environment);
        p.start(program, arguments);
        return p;
    }
    void stop(size_t from = 0) {
        for (size_t i = all.size(); i-- > from;) {
            all[i]->kill();
            all[i]->waitForFinished(5000);
        }
        all.resize(from);
    }
    ~Children() { stop(); }
};

TEST(WindowManager, EveryOpeningOnABusyMachineUsesTheMaximizedWidth) {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString openbox = QStandardPaths::findExecutable("openbox");
    if (xvfb.isEmpty() || openbox.isEmpty()) GTEST_SKIP() << "Xvfb or openbox is not installed";

    TempDir dir;
    Session s;
    s.lineCount = 20000;
    s.fishEvery = 25;
    const std::string recording = writeSession(dir.file("session"), s);

    Children children;
    // The display tells its number on standard output once it accepts connections.
    QProcess& display =
        children.start(xvfb, {"-displayfd", "1", "-screen", "0",
                              QString("%1x720x24").arg(screenWidth), "-nolisten", "tcp"});
    QString number;
    while (number.isEmpty() || !number.endsWith('\n')) {
        ASSERT_TRUE(display.waitForReadyRead(30000)) << "Xvfb did not start";
        number += QString::fromLocal8Bit(display.readAllStandardOutput());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("DISPLAY", ":" + number.trimmed());
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));

    const QString ready = QString::fromStdString(dir.file("window-manager-ready"));
    children.start(openbox, {"--startup", "touch " + ready}, environment);
    for (int waited = 0; !QFileInfo::exists(ready); waited += 50) {
        ASSERT_LT(waited, 30000) << "openbox did not start";
        QThread::msleep(50);
    }

    const size_t busyFrom = children.all.size();
    for (int i = 0; i < 2 * QThread::idealThreadCount(); ++i)
        children.start("sh", {"-c", "while :; do :; done"});

    struct Opening {
        int windowWidth = 0, pictureWidth = 0, W = 0;
        std::string title, output;
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
        const auto read =
            QRegularExpression(R"re(frames of (\d+) lines; title "([^"]*)")re").match(output);
        ASSERT_TRUE(window.hasMatch() && picture.hasMatch() && read.hasMatch())
            << output.toStdString();
        seen.push_back({window.captured(1).toInt(), picture.captured(1).toInt(),
                        read.captured(1).toInt(), read.captured(2).toStdString(),
                        output.toStdString()});
    }
    children.stop(busyFrom);

    // The engine's caption for frame 1 at a frame width, and at the design width for contrast.
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
        EXPECT_EQ(o.title, caption(o.W));
    }
    EXPECT_NE(caption(seen.front().W), caption(557));  // the title tells the two widths apart
}

}  // namespace
}  // namespace velkor::test
