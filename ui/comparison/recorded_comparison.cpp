// The window's comparison of the replay with the counter's record: the texts, and the whole count
// in the background that the comparison needs (started after a recording opens, followed by a
// timer on the window's thread, cancelled when the window closes).
#include "ui/comparison/recorded_comparison.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <array>

#include "core/fish_classes.h"
#include "ui/chart/throughput_chart.h"
#include "ui/comparison/verdict_panel.h"
#include "ui/counters/class_chooser.h"
#include "ui/window/TfrmRecord.h"
#include "ui/window/message_boxes.h"
#include "ui/window/status_bar_panel.h"

namespace velkor {

QString recordedTotalText(const std::optional<int32_t>& recorded) {
    return recorded ? QObject::tr("recorded %1").arg(*recorded) : QString();
}

QString comparisonText(const ChannelArray<std::string>& names, const ChannelArray<int32_t>& totals,
                       int32_t channels, const RecordedFigures& recorded) {
    QStringList parts;
    for (int32_t c = 1; c <= channels && c <= maxChannels; ++c) {
        const QString name = QString::fromStdString(names[c]);
        const std::optional<int32_t>& mark = recorded.sessionTotals[c];
        if (!mark) {
            parts << QObject::tr("%1: replay %2, not recorded").arg(name).arg(totals[c]);
            continue;
        }
        const std::string difference = formatDifference(differencePercent(totals[c], mark));
        parts
            << (difference.empty()
                    ? QObject::tr("%1: replay %2, recorded %3").arg(name).arg(totals[c]).arg(*mark)
                    : QObject::tr("%1: replay %2, recorded %3 (%4)")
                          .arg(name)
                          .arg(totals[c])
                          .arg(*mark)
                          .arg(QString::fromStdString(difference)));
    }
    return parts.join(QStringLiteral("      "));
}

QString comparisonTable(const ChannelArray<std::string>& names, const ChannelArray<int32_t>& totals,
                        int32_t channels, const RecordedFigures& recorded) {
    QString text = QStringLiteral("channel\trecorded\treplay\tdifference %\n");
    for (int32_t c = 1; c <= channels && c <= maxChannels; ++c) {
        const std::optional<int32_t>& mark = recorded.sessionTotals[c];
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(QString::fromStdString(names[c]),
                         mark ? QString::number(*mark) : QString(), QString::number(totals[c]),
                         QString::fromStdString(
                             formatPerCentNumber(differencePercent(totals[c], mark))));
    }
    return text;
}

QString comparisonClipboardText(const QString& recording, int32_t frameWidth,
                                const ChannelArray<int32_t>& classes,
                                const ChannelArray<std::string>& names,
                                const ChannelArray<int32_t>& totals, int32_t channels,
                                const RecordedFigures& recorded) {
    const int32_t shown = std::min(channels, maxChannels);
    QString text = QStringLiteral("recording\t%1\n").arg(recording);
    text += QStringLiteral("frame width\t%1 lines\n").arg(frameWidth);
    QStringList used;
    for (int32_t c = 1; c <= shown; ++c)
        used << QStringLiteral("%1 %2").arg(
            QString::fromStdString(names[c]),
            QString::fromUtf8(fishClassName(classes[c]).data(),
                              qsizetype(fishClassName(classes[c]).size())));
    text += QStringLiteral("classes\t%1\n").arg(used.join('\t'));
    text += comparisonTable(names, totals, channels, recorded);
    int64_t replaySum = 0, recordedSum = 0;
    bool everyRecorded = shown > 0;
    for (int32_t c = 1; c <= shown; ++c) {
        replaySum += totals[c];
        if (recorded.sessionTotals[c])
            recordedSum += *recorded.sessionTotals[c];
        else
            everyRecorded = false;
    }
    // The sum's difference in per cent of the recorded sum, as a channel's is.
    const std::optional<double> difference =
        everyRecorded && recordedSum <= INT32_MAX
            ? differencePercent(replaySum, std::optional<int32_t>(int32_t(recordedSum)))
            : std::nullopt;
    text += QStringLiteral("sum\t%1\t%2\t%3\n")
                .arg(everyRecorded ? QString::number(recordedSum) : QString(),
                     QString::number(replaySum),
                     QString::fromStdString(formatPerCentNumber(difference)));
    return text;
}

void TfrmRecord::copyComparison() {
    if (!engine_->isOpen()) {
        statusBarPanel->showMessage(tr("Nothing to copy: no recording is open"));
        return;
    }
    // Nothing to compare until the whole recording is counted with the frames and classes shown.
    if (!wholeCount_ || backgroundCountRunning()) {
        statusBarPanel->showMessage(tr("The comparison is ready when the count ends"));
        return;
    }
    const SessionReport& report = engine_->report();
    ChannelArray<int32_t> classes = report.sizeGroup;
    for (int c = 1; c <= maxChannels; ++c)
        if (engine_->classOverrides()[c] >= 0) classes[c] = engine_->classOverrides()[c];
    QGuiApplication::clipboard()->setText(comparisonClipboardText(
        QFileInfo(recordingFile_).fileName(), wholeCountWidth_, classes, report.counterNames,
        wholeCount_->totals, wholeCount_->channelCount, report.recorded));
    statusBarPanel->showMessage(tr("The comparison of the whole count is on the clipboard"));
}

void TfrmRecord::startBackgroundCount() {
    stopBackgroundCount();
    if (!engine_->isOpen()) return;
    // The width of the frames the window reads now: the count is the one stepping would give.
    wholeCountWidth_ =
        engine_->readFrameWidth() > 0 ? engine_->readFrameWidth() : engine_->frameWidth();
    // With the size classes chosen in the window, as the picture's engine counts.
    backgroundCount_ =
        std::make_unique<BackgroundCount>(engine_->recordingName(), wholeCountWidth_,
                                          settings_.countertype, engine_->classOverrides());
    backgroundCount_->onFrameCounted = onBackgroundFrame;
    backgroundCount_->start();
    Chart1->showCountProgress(0, engine_->frameCount());
    classChoices->countStarted();
    stillaafteljara();
    backgroundPoll_->start();
}

void TfrmRecord::stopBackgroundCount() {
    if (backgroundPoll_ != nullptr) backgroundPoll_->stop();
    backgroundCount_.reset();  // cancels the count and waits for its thread
    if (Chart1 != nullptr) Chart1->hideCountProgress();
}

bool TfrmRecord::backgroundCountRunning() const {
    return backgroundCount_ != nullptr;
}

void TfrmRecord::followFrameWidth() {
    if (wholeCountWidth_ == 0 || !engine_->isOpen()) return;
    const int32_t read = engine_->readFrameWidth();
    if (read > 0 && read != wholeCountWidth_) startBackgroundCount();
}

void TfrmRecord::pollBackgroundCount() {
    if (backgroundCount_ == nullptr) {
        backgroundPoll_->stop();
        return;
    }
    if (!backgroundCount_->finished()) {
        Chart1->showCountProgress(backgroundCount_->framesDone(), backgroundCount_->frameCount());
        return;
    }
    backgroundPoll_->stop();
    Chart1->hideCountProgress();
    const BackgroundCount::Result result = backgroundCount_->result();
    backgroundCount_.reset();
    if (!result.counted) {
        classChoices->countFailed();
        if (!result.error.empty()) {
            showError(tr("The whole recording could not be counted for the comparison with the "
                         "counter's record:\n%1")
                          .arg(QString::fromUtf8(result.error.c_str())));
        }
        emit wholeCountFinished();
        return;
    }
    wholeCount_ = result;
    for (int c = 1; c <= 4; ++c)
        Chart1->setReplayCurve(c, c <= result.channelCount ? result.curves[c] : ThroughputCurve{});
    ComparisonLine->setText(comparisonText(engine_->report().counterNames, result.totals,
                                           result.channelCount, engine_->report().recorded));
    ComparisonLine->setToolTip(
        tr("The whole recording counted as stepping forward from the first frame to the last, "
           "beside the session totals the counter recorded; the difference is in per cent of "
           "the recorded total"));
    ComparisonLine->show();
    std::array<QString, 5> names;
    for (int c = 1; c <= result.channelCount; ++c)
        names[c] = QString::fromStdString(engine_->report().counterNames[c]);
    verdictPanel->setSession(result, names);
    classChoices->showWholeCount(result.totals, engine_->report().recorded.sessionTotals);
    stillaafteljara();
    emit wholeCountFinished();
}

void TfrmRecord::showRecordedTotals() {
    const SessionReport& report = engine_->report();
    for (int c = 1; c <= 4; ++c) {
        RecordedLabel[c]->setText(c <= report.channelCount
                                      ? recordedTotalText(report.recorded.sessionTotals[c])
                                      : QString());
        RecordedLabel[c]->adjustSize();
    }
    wholeCount_.reset();
    wholeCountWidth_ = 0;
    Chart1->clearReplayCurves();
    ComparisonLine->clear();
    ComparisonLine->hide();
    verdictPanel->clear();
}

}  // namespace velkor
