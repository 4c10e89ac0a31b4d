// velkor: the program. Starts the application "Velkor", opens the settings store, shows the View
// Record window maximized and lets its start-up timer open the recording named on the command
// line (or ask for one). With --screenshot it opens the recording in a window of fixed size,
// saves the window with frame 1 (or the frame --go-to names) as a PNG picture and exits. With
// --check-pdf it writes the session check of a recording (or of a folder of them) as a PDF, without
// a window.
#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "io/counter_constants.h"
#include "io/errors.h"
#include "io/program_start.h"
#include "io/replacing_file.h"
#include "replay/go_to.h"
#include "settings/Tsett.h"
#include "settings_store/qt_settings_backend.h"
#include "ui/chart/throughput_chart.h"
#include "ui/check/session_check_command.h"
#include "ui/navigation/as_counted_view.h"
#include "ui/picture/frame_picture.h"
#include "ui/window/TfrmRecord.h"
#include "ui/window/console_message_boxes.h"
#include "ui/window/dialog_message_boxes.h"
#include "ui/window/read_out_report.h"

namespace {

struct Options {
    QString recording;
    QString screenshot;
    bool maximized = false;
    QString goTo;  // a frame number or a time hh:mm:ss; empty: frame 1
    bool asCounted = false;
    QString checkPdf;
    int frameWidth = velkor::linesPerSecond;
};

// Reads the command line before any window system is touched, so --help and --version work
// without a display. Exits after help, version or a mistake.
Options parseCommandLine(int argc, char** argv) {
    QStringList arguments;
#ifdef Q_OS_WIN
    // argv is in the ANSI code page there; the wide command line holds every name as typed.
    velkor::Utf8Arguments utf8(argc, argv);
    for (int i = 0; i < utf8.argc(); ++i) arguments << QString::fromUtf8(utf8.argv()[i]);
#else
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
#endif
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Replays recordings of a line-scan fish counter frame by frame through the counter's own "
        "counting.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption screenshot(
        "screenshot",
        "Open RECORDING, draw its first frame (or the one --go-to names), save the window as the "
        "PNG picture FILE and exit.",
        "FILE");
    parser.addOption(screenshot);
    const QCommandLineOption maximized(
        "maximized",
        "With --screenshot: show the window maximized, as it is shown normally, "
        "instead of 1280 x 800 pixels.");
    parser.addOption(maximized);
    const QCommandLineOption goTo(
        "go-to",
        "With --screenshot: go to frame N (or the time hh:mm:ss) once the whole count has ended, "
        "as Go to does: the counts start afresh at that frame.",
        "N");
    parser.addOption(goTo);
    const QCommandLineOption asCounted(
        "as-counted",
        "With --go-to: show the frame as the continuous count from frame 1 had it (its marks, "
        "the totals of frames 1 to N), as the window's \"As counted\" view does.");
    parser.addOption(asCounted);
    const QCommandLineOption checkPdf(
        "check-pdf",
        "Write the session check of RECORDING, or of every recording in the folder RECORDING (a "
        "page each), as the PDF FILE and exit; no display is needed.",
        "FILE");
    parser.addOption(checkPdf);
    const QCommandLineOption frameWidth(
        "frame-width", "With --check-pdf: lines per frame of the count (1116: one second).", "W",
        QString::number(velkor::linesPerSecond));
    parser.addOption(frameWidth);
    parser.addPositionalArgument("recording",
                                 "The recording to open (.blb, or .blc to unpack first). "
                                 "Without it an open dialog asks for one.",
                                 "[RECORDING]");
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "velkor: %s\n", parser.errorText().toLocal8Bit().constData());
        std::exit(2);
    }
    if (parser.isSet(help) || parser.isSet("help-all")) {
        QString text = parser.helpText();
        text.replace("<executable_name>", "velkor");
        std::fputs(text.toLocal8Bit().constData(), stdout);
        std::exit(0);
    }
    if (parser.isSet(version)) {
        std::printf("velkor %s\n", VELKOR_VERSION);
        std::exit(0);
    }
    Options options;
    if (!parser.positionalArguments().isEmpty()) {
        options.recording = parser.positionalArguments().front();
    }
    options.screenshot = parser.value(screenshot);
    options.maximized = parser.isSet(maximized);
    options.goTo = parser.value(goTo);
    options.asCounted = parser.isSet(asCounted);
    options.checkPdf = parser.value(checkPdf);
    bool widthRead = false;
    options.frameWidth = parser.value(frameWidth).toInt(&widthRead);
    if (!widthRead || options.frameWidth < 1 || options.frameWidth > velkor::maxFrameWidth) {
        std::fprintf(stderr, "velkor: --frame-width takes 1..%d\n", velkor::maxFrameWidth);
        std::exit(2);
    }
    if (parser.isSet(checkPdf) && options.recording.isEmpty()) {
        std::fprintf(stderr, "velkor: --check-pdf needs a recording or a folder\n");
        std::exit(2);
    }
    if (parser.isSet(goTo) &&
        (!parser.isSet(screenshot) || !velkor::parseGoToTarget(options.goTo.toStdString()))) {
        std::fprintf(stderr,
                     "velkor: --go-to takes a frame number or a time hh:mm:ss, with "
                     "--screenshot\n");
        std::exit(2);
    }
    if (options.asCounted && !parser.isSet(goTo)) {
        std::fprintf(stderr, "velkor: --as-counted needs --go-to\n");
        std::exit(2);
    }
    if (parser.isSet(screenshot) && options.recording.isEmpty()) {
        std::fprintf(stderr, "velkor: --screenshot needs a recording to open\n");
        std::exit(2);
    }
    return options;
}

// Opens the recording in a 1280 x 800 window (or maximized), saves the window once frame 1 (or
// the frame of --go-to) is drawn and the whole count is shown, and returns the exit status: 0
// when the picture was saved from an opened recording. It prints where the picture lies, the
// frame shown and the frame width it was read with, the window title, and every read-out's text
// with the room it has.
int takeScreenshot(QApplication& app, velkor::Tsett& settings, velkor::SettingsBackend& store,
                   const Options& options) {
    velkor::ConsoleMessageBoxes messages;
    velkor::TfrmRecord window(settings, &store, messages);
    window.setRecordingArgument(options.recording);
    if (!options.maximized) window.resize(1280, 800);
    // The picture is taken once the whole recording has been counted too, so that the chart
    // shows the replay's curve over the recorded one.
    auto save = [&] {
        if (!options.goTo.isEmpty()) {
            // The view set first, so that the move shows its frame as the view says.
            window.asCounted->action->setChecked(options.asCounted);
            window.askGoTo = [&] { return std::optional<QString>(options.goTo); };
            window.gotobtnClick();
        }
        // Labels whose text the opening or the count set (the tool bar's counted frames, the
        // comparison line) are laid out only when their layout requests are handled; handle them
        // before the picture is taken.
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        window.grab().toImage().save(&buffer, "PNG");
        try {
            velkor::replaceFileContent(options.screenshot.toStdString(), png.toStdString());
        } catch (const velkor::FileAccessError& e) {
            std::fprintf(stderr, "velkor: %s\n", e.what());
            app.exit(1);
            return;
        }
        const QRect picture = window.pictureArea();
        const QRect chart(window.Chart1->mapTo(&window, QPoint(0, 0)), window.Chart1->size());
        std::printf(
            "velkor: saved %s: window %dx%d, picture at %d,%d size %dx%d, chart at %d,%d "
            "size %dx%d\n",
            options.screenshot.toLocal8Bit().constData(), window.width(), window.height(),
            picture.x(), picture.y(), picture.width(), picture.height(), chart.x(), chart.y(),
            chart.width(), chart.height());
        std::printf("velkor: frame %d read with frames of %d lines; title \"%s\"\n",
                    window.engine().currentFrame(), window.engine().readFrameWidth(),
                    window.windowTitle().toUtf8().constData());
        for (const QString& line : velkor::readOutReport(window))
            std::printf("velkor: %s\n", line.toUtf8().constData());
        // The counts shown, and those of the whole count, for comparison with velkor-count.
        const velkor::ReadOuts& shown = window.engine().readOuts();
        std::printf("velkor: counters");
        for (int c = 1; c <= window.engine().core().channelCount; ++c)
            std::printf(" %d", shown.counters[c]);
        std::printf("\n");
        if (window.wholeCount()) {
            std::printf("velkor: whole count");
            for (int c = 1; c <= window.engine().core().channelCount; ++c)
                std::printf(" %d", window.wholeCount()->totals[c]);
            std::printf("\n");
        }
        std::fflush(stdout);
        app.exit(0);
    };
    QObject::connect(&window, &velkor::TfrmRecord::wholeCountFinished, &app, save);
    QObject::connect(&window, &velkor::TfrmRecord::openingFinished, &app, [&](bool opened) {
        if (!opened) {
            app.exit(1);
            return;
        }
        if (!window.backgroundCountRunning()) save();
    });
    if (options.maximized) {
        window.showMaximized();
    } else {
        window.show();
    }
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("Velkor");
    QCoreApplication::setApplicationVersion(VELKOR_VERSION);
    const Options options = parseCommandLine(argc, argv);
    if (!options.checkPdf.isEmpty()) {
        // Pages need fonts but no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        velkor::SessionCheckOptions check;
        check.frameWidth = options.frameWidth;
        check.version = VELKOR_VERSION;
        return velkor::writeSessionCheck(options.checkPdf.toStdString(),
                                         options.recording.toStdString(), check, stderr);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velkor");
    QApplication::setApplicationDisplayName("Velkor");
    QApplication::setApplicationVersion(VELKOR_VERSION);
    QApplication::setDesktopFileName("velkor");

    // The settings set holds its built-in values; the store is read back when the window closes.
    velkor::Tsett settings;
    velkor::QtSettingsBackend store;
    if (!options.screenshot.isEmpty()) return takeScreenshot(app, settings, store, options);

    velkor::DialogMessageBoxes messages;
    if (!store.usable()) {
        messages.show(nullptr, velkor::MessageKind::warning,
                      QApplication::translate("main",
                                              "The settings in %1 cannot be read (%2). "
                                              "They are left as they are.")
                          .arg(QString::fromStdString(store.location()),
                               QString::fromStdString(store.problem())));
    }
    velkor::TfrmRecord window(settings, &store, messages);
    window.setRecordingArgument(options.recording);
    window.showMaximized();
    const int status = app.exec();
    store.sync();
    return status;
}
