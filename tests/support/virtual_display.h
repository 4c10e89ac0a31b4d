// A virtual display with a real window manager on it, for tests of what a window manager does to
// the window (maximizing, resizing): the display and the window manager end with the test.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QStandardPaths>
#include <QThread>
#include <memory>
#include <optional>
#include <vector>

#include "tests/support/session_fixture.h"

namespace velkor::test {

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

// Starts a virtual display of `size` with openbox on it and returns the environment for programs
// that are to show on it; empty when either did not start.
inline std::optional<QProcessEnvironment> startDisplay(Children& children, QSize size,
                                                       TempDir& dir) {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString openbox = QStandardPaths::findExecutable("openbox");
    // The display tells its number on standard output once it accepts connections.
    QProcess& display = children.start(
        xvfb, {"-displayfd", "1", "-screen", "0",
               QString("%1x%2x24").arg(size.width()).arg(size.height()), "-nolisten", "tcp"});
    QString number;
    while (number.isEmpty() || !number.endsWith('\n')) {
        if (!display.waitForReadyRead(30000)) {
            ADD_FAILURE() << "Xvfb did not start";
            return std::nullopt;
        }
        number += QString::fromLocal8Bit(display.readAllStandardOutput());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("DISPLAY", ":" + number.trimmed());
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));

    const QString ready =
        QString::fromStdString(dir.file("window-manager-ready-" + number.trimmed().toStdString()));
    // A display number can come again in one test (a display stopped frees it): the mark of an
    // earlier window manager on it must not pass for this one's.
    QFile::remove(ready);
    children.start(openbox, {"--startup", "touch " + ready}, environment);
    for (int waited = 0; !QFileInfo::exists(ready); waited += 50) {
        if (waited > 30000) {
            ADD_FAILURE() << "openbox did not start";
            return std::nullopt;
        }
        QThread::msleep(50);
    }
    return environment;
}

inline bool haveDisplay() {
    return !QStandardPaths::findExecutable("Xvfb").isEmpty() &&
           !QStandardPaths::findExecutable("openbox").isEmpty();
}

}  // namespace velkor::test
