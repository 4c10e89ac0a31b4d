// The chart panel: the chart and its channel selector in a row, the comparison line under them.
#include "ui/chart/chart_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/chart/chart_channel_selector.h"
#include "ui/chart/throughput_chart.h"
#include "ui/comparison/recorded_comparison.h"

namespace velkor {
namespace {

constexpr int chartHeight = 88;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

ChartPanel::ChartPanel(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    Chart1 = new ThroughputChart(this);
    Chart1->setObjectName("Chart1");
    Chart1->setFixedHeight(chartHeight);
    Label3 = Chart1->Label3;
    Chart1->setChannelName(QString());  // no channel to name before a recording is open
    ChartChannels = new ChartChannelSelector(this);
    ChartChannels->setObjectName("ChartChannels");
    ChartChannels->setFixedHeight(chartHeight);
    ChartChannels->setChannels({});
    auto* chartRow = new QHBoxLayout;
    chartRow->setSpacing(0);
    chartRow->addWidget(Chart1, 1);
    chartRow->addWidget(ChartChannels);
    column->addLayout(chartRow);
    ComparisonLine = new QLabel(this);
    ComparisonLine->setObjectName("ComparisonLine");
    ComparisonLine->setContentsMargins(30, 1, 8, 1);
    // Four channels' comparisons are wider than a small screen: the line wraps instead.
    ComparisonLine->setWordWrap(true);
    ComparisonLine->hide();
    column->addWidget(ComparisonLine);
}

void ChartPanel::showSession(const SessionReport& report, double sessionStart, double sessionEnd) {
    for (int c = 1; c <= 4; ++c)
        Chart1->setCurve(c, c <= report.channelCount ? report.curves[c]
                                                     : std::vector<std::pair<double, double>>{});
    Chart1->setSessionSpan(sessionStart, sessionEnd);
    QStringList names;
    for (int c = 1; c <= report.channelCount; ++c) names << fromUtf8(report.counterNames[c]);
    ChartChannels->setChannels(names);
}

void ChartPanel::showChannel(const SessionReport& report, int c) {
    Chart1->showOnly(c);
    Chart1->setChannelName(fromUtf8(report.counterNames[c]));
    ChartChannels->setCurrent(c);
}

void ChartPanel::showNextChannel(const SessionReport& report) {
    const int channels = report.channelCount;
    if (channels <= 1) return;
    int k = Chart1->firstShown(channels);
    if (k < 0) k = channels - 1;
    Chart1->setShown(k, false);
    k = k + 1;
    if (k > channels - 1) k = 0;
    Chart1->setShown(k, true);
    Chart1->setChannelName(fromUtf8(report.counterNames[k + 1]));
    ChartChannels->setCurrent(k + 1);
}

void ChartPanel::showWholeCount(const BackgroundCount::Result& count, const SessionReport& report) {
    for (int c = 1; c <= 4; ++c)
        Chart1->setReplayCurve(c, c <= count.channelCount ? count.curves[c] : ThroughputCurve{});
    ComparisonLine->setText(
        comparisonText(report.counterNames, count.totals, count.channelCount, report.recorded));
    ComparisonLine->setToolTip(
        tr("The whole recording counted as stepping forward from the first frame to the last, "
           "beside the session totals the counter recorded; the difference is in per cent of "
           "the recorded total"));
    ComparisonLine->show();
}

void ChartPanel::clearWholeCount() {
    Chart1->clearReplayCurves();
    ComparisonLine->clear();
    ComparisonLine->hide();
}

void ChartPanel::clear() {
    for (int c = 1; c <= 4; ++c) Chart1->setCurve(c, {});
    Chart1->clearReplayCurves();
    Chart1->hideCountProgress();
    Chart1->showOnly(1);
    Chart1->setChannelName(QString());
    ChartChannels->setChannels({});
    Chart1->clearMarker();
    Chart1->setSessionSpan(0, 0);
    ComparisonLine->clear();
    ComparisonLine->hide();
}

}  // namespace velkor
