// The whole count behind the comparison with the counter's record, on a worker thread: started,
// followed by a timer on the window's thread, counted again with a new frame width, copied.
#include "ui/comparison/session_comparison.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>

#include "ui/chart/chart_panel.h"
#include "ui/chart/throughput_chart.h"
#include "ui/comparison/recorded_comparison.h"
#include "ui/comparison/verdict_panel.h"
#include "ui/counters/class_choices.h"

namespace velkor {

SessionComparison::SessionComparison(const Tsett& settings, const Views& views, QObject* parent)
    : QObject(parent), settings_(settings), views_(views) {
    poll_ = new QTimer(this);
    poll_->setInterval(100);
    connect(poll_, &QTimer::timeout, this, &SessionComparison::poll);
}

SessionComparison::~SessionComparison() = default;

void SessionComparison::start() {
    stop();
    if (engine_ == nullptr || !engine_->isOpen()) return;
    // The width of the frames the window reads now: the count is the one stepping would give.
    width_ = engine_->readFrameWidth() > 0 ? engine_->readFrameWidth() : engine_->frameWidth();
    // With the size classes chosen in the window, as the picture's engine counts.
    count_ = std::make_unique<BackgroundCount>(engine_->recordingName(), width_,
                                               settings_.countertype, engine_->classOverrides());
    count_->onFrameCounted = onBackgroundFrame;
    checkpoints_ = count_->checkpoints();
    count_->start();
    // The links of a count with other frames or classes would show frames where their objects
    // no longer end: the dock waits for this count.
    views_.verdicts->clear();
    views_.chart->Chart1->showCountProgress(0, engine_->frameCount());
    views_.classChoices->countStarted();
    emit whatIfChanged();
    poll_->start();
}

void SessionComparison::stop() {
    poll_->stop();
    count_.reset();  // cancels the count and waits for its thread
    views_.chart->Chart1->hideCountProgress();
}

void SessionComparison::followFrameWidth() {
    if (width_ == 0 || engine_ == nullptr || !engine_->isOpen()) return;
    const int32_t read = engine_->readFrameWidth();
    if (read > 0 && read != width_) start();
}

void SessionComparison::forget() {
    wholeCount_.reset();
    checkpoints_.reset();
    width_ = 0;
    views_.chart->clearWholeCount();
    views_.verdicts->clear();
}

QString SessionComparison::copy(const QString& recordingFile) const {
    if (engine_ == nullptr || !engine_->isOpen())
        return tr("Nothing to copy: no recording is open");
    // Nothing to compare until the whole recording is counted with the frames and classes shown.
    if (!wholeCount_ || running()) return tr("The comparison is ready when the count ends");
    const SessionReport& report = engine_->report();
    ChannelArray<int32_t> classes = report.sizeGroup;
    for (int c = 1; c <= maxChannels; ++c)
        if (engine_->classOverrides()[c] >= 0) classes[c] = engine_->classOverrides()[c];
    QGuiApplication::clipboard()->setText(comparisonClipboardText(
        QFileInfo(recordingFile).fileName(), width_, classes, report.counterNames,
        wholeCount_->totals, wholeCount_->channelCount, report.recorded));
    return tr("The comparison of the whole count is on the clipboard");
}

void SessionComparison::poll() {
    if (count_ == nullptr) {
        poll_->stop();
        return;
    }
    if (!count_->finished()) {
        views_.chart->Chart1->showCountProgress(count_->framesDone(), count_->frameCount());
        return;
    }
    poll_->stop();
    views_.chart->Chart1->hideCountProgress();
    const BackgroundCount::Result result = count_->result();
    count_.reset();
    if (result.counted) {
        wholeCount_ = result;
        show(result);
    } else {
        views_.classChoices->countFailed();
        if (!result.error.empty())
            emit failed(tr("The whole recording could not be counted for the comparison with the "
                           "counter's record:\n%1")
                            .arg(QString::fromUtf8(result.error.c_str())));
    }
    emit finished();
}

// The replay's curves and totals on the chart, the verdicts in their dock, and beside each field
// the count with the class chosen.
void SessionComparison::show(const BackgroundCount::Result& result) {
    const SessionReport& report = engine_->report();
    views_.chart->showWholeCount(result, report);
    std::array<QString, 5> names;
    for (int c = 1; c <= result.channelCount; ++c)
        names[c] = QString::fromStdString(report.counterNames[c]);
    views_.verdicts->setSession(result, names);
    views_.classChoices->showWholeCount(result.totals, report.recorded.sessionTotals);
    emit whatIfChanged();
}

}  // namespace velkor
