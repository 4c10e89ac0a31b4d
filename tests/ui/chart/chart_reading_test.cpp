// Reading the window's throughput chart: the progress of the whole count never covers the legend
// or the channel's name, at any width, and the left axis has its unit and at least one labelled
// step between 0 and its top.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QProgressBar>
#include <set>

#include "ui/chart/chart_painter.h"
#include "ui/chart/throughput_chart.h"
#include "ui/chart/value_axis.h"

namespace velkor::test {
namespace {

constexpr double start = 45000 + 10.0 / 24;

std::vector<std::pair<double, double>> curve(double peak) {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i <= 30; ++i)
        points.push_back({10.0 / 24 + i * 10 / 86400.0, peak * (i % 7) / 6.0});
    return points;
}

TEST(ChartReading, TheCountsProgressNeverCoversTheLegendOrTheName) {
    ThroughputChart chart;
    chart.setSessionSpan(start, start + 300 / 86400.0);
    chart.setCurve(1, curve(250));
    chart.setReplayCurve(1, curve(240));
    chart.setChannelName("A rather long counter name");
    chart.showCountProgress(3, 10);
    for (const int width : {300, 420, 557, 800, 1116, 1600}) {
        for (const int height : {88, 120}) {
            SCOPED_TRACE(::testing::Message() << width << " x " << height);
            chart.resize(width, height);
            chart.showCountProgress(4, 10);
            ASSERT_TRUE(chart.legendVisible());
            const ChartLayout layout =
                chartLayout(QRectF(chart.rect()), chart.content(), chart.font());
            const QRectF bar(chart.CountProgress->geometry());
            EXPECT_FALSE(bar.intersects(layout.legend)) << "over the legend";
            EXPECT_FALSE(bar.intersects(layout.name)) << "over the name";
            EXPECT_TRUE(QRectF(chart.rect()).contains(bar));
        }
    }
}

// Tick marks of the left axis, found in a drawn chart as the short dark lines just left of it
// (within the plot's height: the time labels below may reach that far left).
std::set<int> leftAxisTicks(const ChartContent& content, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintThroughputChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), content);
    }
    const QRectF plot = chartLayout(QRectF(QPointF(0, 0), QSizeF(size)), content, QFont()).plot;
    std::set<int> rows;
    const int x = int(plot.left()) - 2;
    for (int y = int(plot.top()) - 1; y <= int(plot.bottom()) + 1; ++y)
        if (qGray(image.pixel(x, y)) < 100) rows.insert(y);
    return rows;
}

// Five minutes of recorded throughput rising to `top` and back to 0.
ChartContent fiveMinutesPeakingAt(double top) {
    ChartContent content;
    content.first = start;
    content.last = start + 300 / 86400.0;
    content.recorded = {{start, 0}, {start + 100 / 86400.0, top}, {content.last, 0}};
    content.verticalMaximum = top;
    return content;
}

TEST(ChartReading, TheLeftAxisHasAStepBetweenZeroAndItsTop) {
    for (const double top : {1.0, 7.0, 38.0, 250.0, 4999.0}) {
        for (const int height : {88, 140}) {
            SCOPED_TRACE(::testing::Message() << top << " " << height);
            const ChartContent content = fiveMinutesPeakingAt(top);
            const std::set<int> ticks = leftAxisTicks(content, QSize(600, height));
            std::string rows;
            for (int r : ticks) rows += std::to_string(r) + " ";
            EXPECT_GE(ticks.size(), 3u) << rows;
        }
    }
}

// A reader sees a value between 0 and the top, not only a tick: ink in the labels' column between
// the top's label and 0's, also in a chart as low as the window's (624 there gave a tick at 500,
// too near the top for its label, and nothing else).
TEST(ChartReading, TheLeftAxisLabelsAValueBetweenZeroAndItsTop) {
    for (const double top : {1.0, 7.0, 38.0, 250.0, 624.0, 4999.0}) {
        for (const int height : {88, 140}) {
            SCOPED_TRACE(::testing::Message() << top << " " << height);
            const ChartContent content = fiveMinutesPeakingAt(top);
            const QSize size(600, height);
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                paintThroughputChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), content);
            }
            const ChartLayout layout =
                chartLayout(QRectF(QPointF(0, 0), QSizeF(size)), content, QFont());
            const double half = QFontMetricsF(QFont()).height() / 2;
            int ink = 0;
            for (int y = int(layout.plot.top() + half) + 1; y < int(layout.plot.bottom() - half);
                 ++y)
                for (int x = int(layout.unit.right()) + 1; x < int(layout.plot.left()) - 4; ++x)
                    ink += qGray(image.pixel(x, y)) < 128;
            EXPECT_GT(ink, 0);
        }
    }
}

TEST(ChartReading, TheLeftAxisNamesItsUnit) {
    ChartContent content;
    content.first = start;
    content.last = start + 300 / 86400.0;
    content.verticalMaximum = 120;
    const QRectF area(0, 0, 600, 88);
    const ChartLayout layout = chartLayout(area, content, QFont());
    EXPECT_EQ(valueAxisUnit(), "fish/min");
    EXPECT_FALSE(layout.unit.isEmpty());
    EXPECT_TRUE(area.contains(layout.unit));
    EXPECT_FALSE(layout.unit.intersects(layout.plot));
}

// The steps are round numbers strictly between 0 and the top, as many as the room allows and at
// least one.
TEST(ChartReading, ValueStepsAreRound) {
    const struct {
        double top;
        int most;
        std::vector<double> steps;
    } cases[] = {
        {250, 3, {100, 200}}, {250, 6, {50, 100, 150, 200}}, {100, 3, {50}}, {1, 3, {0.5}},
        {7, 2, {5}},          {38, 4, {10, 20, 30}},         {3, 1, {2}},  // no room: still one
                                                                           // step
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.top);
        EXPECT_EQ(valueAxisSteps(c.top, c.most), c.steps);
    }
}

// The channel's name stands whole at the upper right, clear of the plot, with and without the
// legend beside it.
TEST(ChartReading, TheChannelsNameHasRoomForAllOfItRightOfThePlot) {
    QFont bold;
    bold.setBold(true);
    const QFontMetricsF fmBold(bold);
    for (const QString name : {QStringLiteral("Counter 1"), QStringLiteral("Kví 4 – north bank")}) {
        for (const bool legend : {false, true}) {
            SCOPED_TRACE(::testing::Message() << name.toStdString() << " " << legend);
            ChartContent content = fiveMinutesPeakingAt(120);
            content.channelName = name;
            if (legend) content.replay = content.recorded;
            const ChartLayout layout = chartLayout(QRectF(0, 0, 600, 140), content, QFont());
            EXPECT_GE(layout.name.width(), fmBold.horizontalAdvance(name));
            EXPECT_GE(layout.name.left(), layout.plot.right());
            EXPECT_LE(layout.name.right(), 600);
        }
    }
}

}  // namespace
}  // namespace velkor::test
