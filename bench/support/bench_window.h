// A View Record window for the window benchmarks: off screen unless QT_QPA_PLATFORM says
// otherwise, its picture a given number of pixels wide, a recording open and message boxes
// printed instead of shown; one timed move of it; and the main program of a window benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/replay/navigation_recording.h"
#include "ui/picture/frame_picture.h"
#include "ui/window/TfrmRecord.h"
#include "ui/window/message_boxes.h"

namespace velkor::bench {

class SilentMessages : public MessageBoxes {
public:
    void show(QWidget*, MessageKind, const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
};

struct BenchWindow {
    Tsett settings;
    SilentMessages messages;
    std::unique_ptr<TfrmRecord> window;
    BenchWindow(const std::string& recording, int pictureWidth) {
        window = std::make_unique<TfrmRecord>(settings, nullptr, messages);
        window->PaintBox1->setFixedWidth(pictureWidth);
        window->resize(pictureWidth + 200, 800);
        window->show();
        window->Timer1->stop();
        QApplication::processEvents();
        if (!window->OpenBlbFile(QString::fromStdString(recording), false))
            throw std::runtime_error("the recording did not open");
        QApplication::processEvents();
    }
};

// One timed move: the handler, then the picture painted before anything else happens.
template <typename Handler>
void navigateAndPaint(TfrmRecord& w, Handler handler) {
    handler();
    w.PaintBox1->repaint();
}

// Times `move` (and the picture painted after it) once per iteration, `setUp` run untimed before
// each.
template <typename SetUp, typename Move>
void timeMoves(benchmark::State& state, TfrmRecord& w, SetUp setUp, Move move) {
    for (auto _ : state) {
        state.PauseTiming();
        setUp();
        state.ResumeTiming();
        navigateAndPaint(w, move);
    }
}

// A window benchmark: its name and what it runs.
struct WindowBenchmark {
    const char* name;
    void (*run)(benchmark::State&);
};

// Registers `benchmarks` in that order, each timed in milliseconds for at least `minSeconds`.
inline void registerWindowBenchmarks(std::initializer_list<WindowBenchmark> benchmarks,
                                     double minSeconds) {
    for (const WindowBenchmark& b : benchmarks)
        benchmark::RegisterBenchmark(b.name, b.run)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(minSeconds);
}

// Runs a window benchmark program: the application off screen, `describe` printing what is
// measured, the window opened by `openWindow` before the first benchmark and closed after the
// last, while the application still exists.
inline int runWindowBenchmarks(int argc, char** argv, void (*describe)(),
                               BenchWindow& (*openWindow)()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    describe();
    openWindow();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    openWindow().window.reset();
    return 0;
}

// The same, for the benchmarks on the engine's long navigation recording (navigation_recording.h):
// `benchmarks`, each timed for at least a second.
inline int runNavigationWindowBenchmarks(int argc, char** argv, BenchWindow& (*openWindow)(),
                                         std::initializer_list<WindowBenchmark> benchmarks) {
    registerWindowBenchmarks(benchmarks, 1.0);
    return runWindowBenchmarks(
        argc, argv,
        [] {
            std::printf("recording: %s, %.2f GB, picture %d pixels wide\n",
                        navigationRecording().blb.c_str(),
                        static_cast<double>(navigationRecording().bytes) / 1e9,
                        navigationFrameWidth);
        },
        openWindow);
}

}  // namespace velkor::bench
