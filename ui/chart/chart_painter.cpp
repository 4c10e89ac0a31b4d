// The chart's drawing.
#include "ui/chart/chart_painter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/chart/chart_axis.h"
#include "ui/chart/value_axis.h"

namespace velkor {
namespace {

QString recordedText() {
    return QCoreApplication::translate("ThroughputChart", "recorded");
}
QString replayText() {
    return QCoreApplication::translate("ThroughputChart", "replay");
}

bool passesMidnight(double first, double last) {
    return std::floor(first) != std::floor(last - 1e-9);
}

// The most round steps the left axis labels; the layout makes room for the widest of them.
constexpr int finestValueSteps = 12;

// A value of the left axis as labelled: the top whole, a step with one decimal where it has one.
QString valueLabel(double y, bool top) {
    return QString::number(y, 'f', top || y == std::floor(y) ? 0 : 1);
}

}  // namespace

std::vector<QPointF> curveOnAxis(const std::vector<std::pair<double, double>>& curve,
                                 double sessionStart) {
    std::vector<QPointF> out;
    out.reserve(curve.size());
    for (const auto& [x, y] : curve) out.emplace_back(continuousTime(x, sessionStart), y);
    std::stable_sort(out.begin(), out.end(),
                     [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    return out;
}

double curvesMaximum(const std::vector<QPointF>& a, const std::vector<QPointF>& b) {
    double most = 0;
    for (const auto* curve : {&a, &b})
        for (const QPointF& p : *curve) most = std::max(most, p.y());
    return most > 0 ? most : 1;
}

ChartLayout chartLayout(const QRectF& area, const ChartContent& c, const QFont& font) {
    const QFontMetricsF fm(font);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF fmBold(bold);
    const double line = fm.height();
    const double labelRows = passesMidnight(c.first, c.last) ? 2 : 1;
    // The unit stands upwards left of the values' labels, one line wide.
    // As wide as the widest label the axis may show: its top, and the finest steps it may take.
    double widest = std::max(fm.horizontalAdvance(valueLabel(c.verticalMaximum, true)),
                             fm.horizontalAdvance("0"));
    if (c.verticalMaximum > 0)
        for (double y : valueAxisSteps(c.verticalMaximum, finestValueSteps))
            widest = std::max(widest, fm.horizontalAdvance(valueLabel(y, false)));
    const double yLabelWidth = widest + 6 + line;
    // At the right: the channel's name, and below it the legend while there are two curves.
    double sideWidth = c.channelName.isEmpty() ? 0 : fmBold.horizontalAdvance(c.channelName) + 8;
    if (!c.replay.empty()) {
        sideWidth = std::max(sideWidth, 26 +
                                            std::max(fm.horizontalAdvance(recordedText()),
                                                     fm.horizontalAdvance(replayText())) +
                                            8);
    }
    const double halfLabel =
        fm.horizontalAdvance(labelRows > 1 ? "0000-00-00" : "00:00:00") / 2 + 2;
    ChartLayout layout;
    const double left = area.left() + std::max(yLabelWidth, halfLabel);
    const double right = area.right() - std::max(sideWidth, halfLabel);
    const double top = area.top() + line / 2 + 2;
    const double bottom = area.bottom() - labelRows * line - 4;
    layout.plot =
        QRectF(QPointF(left, top), QPointF(std::max(left + 1, right), std::max(top + 1, bottom)));
    layout.unit = QRectF(area.left() + 1, layout.plot.top(), line, layout.plot.height());
    if (!c.channelName.isEmpty())
        layout.name = QRectF(area.right() - sideWidth + 4, area.top() + 2, sideWidth - 4, line);
    if (!c.replay.empty())
        layout.legend =
            QRectF(area.right() - sideWidth + 4, area.top() + 4 + line, sideWidth - 4, 2 * line);
    return layout;
}

void paintThroughputChart(QPainter& painter, const QRectF& area, const ChartContent& c) {
    painter.save();
    const QFont font = painter.font();
    const QFontMetricsF fm(font);
    const ChartLayout layout = chartLayout(area, c, font);
    const QRectF& plot = layout.plot;
    const auto xOf = [&](double t) {
        return columnOfTime(t, c.first, c.last, plot.left(), plot.width());
    };
    const double yMax = c.verticalMaximum > 0 ? c.verticalMaximum : 1;
    const auto yOf = [&](double y) { return plot.bottom() - y / yMax * plot.height(); };

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(plot.adjusted(-1, -1, 1, 1));
    if (!c.recorded.empty()) {
        QPainterPath area;
        area.moveTo(xOf(c.recorded.front().x()), plot.bottom());
        for (const QPointF& p : c.recorded) area.lineTo(xOf(p.x()), yOf(p.y()));
        area.lineTo(xOf(c.recorded.back().x()), plot.bottom());
        area.closeSubpath();
        painter.setPen(QPen(recordedCurveColour.darker(120), 1));
        painter.setBrush(recordedCurveColour);
        painter.drawPath(area);
    }
    if (!c.replay.empty()) {
        QPainterPath line;
        line.moveTo(xOf(c.replay.front().x()), yOf(c.replay.front().y()));
        for (const QPointF& p : c.replay) line.lineTo(xOf(p.x()), yOf(p.y()));
        painter.setPen(QPen(replayCurveColour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(line);
    }
    if (c.marker) {
        const double x = xOf(*c.marker);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setClipping(false);

    // Axes and their labels.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    const double line = fm.height();
    // 0, the top, and round steps between as many as leave a line between their labels; a step
    // too near the top for its label keeps its tick.
    std::vector<double> values{0.0};
    const auto hasRoom = [&](double y) {
        const double row = std::round(yOf(y));
        return row - yOf(yMax) >= line && yOf(0) - row >= line;
    };
    // In a low chart the coarsest steps may all sit too near the top for a label: finer ones
    // then, so that a reader has at least one value between 0 and the top where there is room.
    std::vector<double> steps;
    for (int most = std::max(1, int(plot.height() / (1.5 * line)) - 1); most <= finestValueSteps;
         ++most) {
        steps = valueAxisSteps(yMax, most);
        if (std::any_of(steps.begin(), steps.end(), hasRoom)) break;
    }
    for (double y : steps) values.push_back(y);
    values.push_back(yMax);
    for (double y : values) {
        const double row = std::round(yOf(y));
        painter.drawLine(QPointF(plot.left() - 3, row), QPointF(plot.left(), row));
        const bool labelled = y == 0.0 || y == yMax || hasRoom(y);
        if (!labelled) continue;
        const QRectF box(layout.unit.right(), row - line / 2, plot.left() - layout.unit.right() - 4,
                         line);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, valueLabel(y, y == yMax));
    }
    painter.save();
    painter.translate(layout.unit.left(), layout.unit.bottom());
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, layout.unit.height(), layout.unit.width()),
                     Qt::AlignHCenter | Qt::AlignTop, valueAxisUnit());
    painter.restore();
    const double labelWidth = fm.horizontalAdvance("00:00:00") + 12;
    const int most = std::max(2, int(plot.width() / labelWidth));
    const bool dates = passesMidnight(c.first, c.last);
    double lastDay = -1;
    for (double t : timeLabels(c.first, c.last, most)) {
        const double x = xOf(t);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        const QRectF box(x - labelWidth / 2, plot.bottom() + 3, labelWidth, line);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop,
                         QString::fromStdString(timeLabel(t)));
        const double day = std::floor(t + 0.5 / secondsPerDay);
        if (dates && day != lastDay) {
            painter.drawText(box.translated(0, line), Qt::AlignHCenter | Qt::AlignTop,
                             QString::fromStdString(dateLabel(t)));
            lastDay = day;
        }
    }
    if (!c.channelName.isEmpty()) {
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(layout.name, Qt::AlignLeft | Qt::AlignVCenter, c.channelName);
        painter.setFont(font);
    }

    if (!layout.legend.isEmpty()) {
        const QRectF& lg = layout.legend;
        const double y1 = lg.top() + line / 2, y2 = y1 + line;
        painter.fillRect(QRectF(lg.left(), y1 - 4, 18, 8), recordedCurveColour);
        painter.setPen(QPen(replayCurveColour, 2));
        painter.drawLine(QPointF(lg.left(), y2), QPointF(lg.left() + 18, y2));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(lg.left() + 24, y1 - line / 2, lg.width() - 24, line),
                         Qt::AlignLeft | Qt::AlignVCenter, recordedText());
        painter.drawText(QRectF(lg.left() + 24, y2 - line / 2, lg.width() - 24, line),
                         Qt::AlignLeft | Qt::AlignVCenter, replayText());
    }
    painter.restore();
}

}  // namespace velkor
