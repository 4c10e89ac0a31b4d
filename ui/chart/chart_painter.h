// Drawing the throughput chart with QPainter into any rectangle of any paint device: the window's
// chart widget draws itself with it, and a page or a picture of the chart can be drawn the same
// way. The recorded curve is a grey area, the replay's curve an orange line over it, the marker a
// black bar at the frame's time; the time axis shows times of day ("hh:mm:ss", with the date where
// the chart passes midnight), the left axis runs from 0 to the largest value shown, with round
// steps between and its unit beside it.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class QPainter;

namespace velkor {

inline const QColor recordedCurveColour{0x80, 0x80, 0x80};
inline const QColor replayCurveColour{0xD0, 0x40, 0x00};

// What one chart shows. Times are day numbers on one continuous axis (see chart_axis.h).
struct ChartContent {
    std::vector<QPointF> recorded;  // x: day number, y: fish per minute
    std::vector<QPointF> replay;    // empty: no replay curve (and no legend)
    std::optional<double> marker;   // the frame's time
    double first = 0, last = 0;     // the time axis
    double verticalMaximum = 1;     // the left axis runs from 0 to this
    QString channelName;            // drawn at the upper right, above the legend
};

// A curve's points (x: time of day in days, y: fish per minute) on the chart's continuous time
// axis of a session that started at `sessionStart` (chart_axis.h), in the order of that axis.
std::vector<QPointF> curveOnAxis(const std::vector<std::pair<double, double>>& curve,
                                 double sessionStart);

// Where the parts of a chart drawn into `area` lie: the plot itself and the legend.
struct ChartLayout {
    QRectF plot;
    QRectF legend;  // empty when there is no legend
    QRectF name;    // the channel's name, at the upper right
    QRectF unit;    // the left axis's unit, written upwards at the far left
};
ChartLayout chartLayout(const QRectF& area, const ChartContent& content, const QFont& font);

void paintThroughputChart(QPainter& painter, const QRectF& area, const ChartContent& content);

// The largest y of the curves (1 when there is none above 0), the readable left-axis maximum.
double curvesMaximum(const std::vector<QPointF>& a, const std::vector<QPointF>& b);

}  // namespace velkor
