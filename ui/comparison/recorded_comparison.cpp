// The texts of the comparison of the replay with the counter's record.
#include "ui/comparison/recorded_comparison.h"

#include <QObject>
#include <QStringList>
#include <algorithm>

#include "core/fish_classes.h"

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

}  // namespace velkor
