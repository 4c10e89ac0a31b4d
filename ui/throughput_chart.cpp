// The throughput chart and its marker.
#include "ui/throughput_chart.h"

#include <QDateTime>
#include <QGraphicsLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QtCharts/QChart>
#include <algorithm>
#include <limits>

namespace velkor {
namespace {

constexpr double msPerDay = 86'400'000.0;

// Midnight of a day without a change of clock, in local time, as the axis's origin.
double axisOrigin() {
    static const double origin =
        double(QDateTime(QDate(2001, 1, 1), QTime(0, 0)).toMSecsSinceEpoch());
    return origin;
}

}  // namespace

double ThroughputChart::axisValue(double dayFraction) {
    return axisOrigin() + dayFraction * msPerDay;
}

double ThroughputChart::dayFraction(double axisValue) {
    return (axisValue - axisOrigin()) / msPerDay;
}

ThroughputChart::ThroughputChart(QWidget* parent) : QChartView(parent) {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 2, 8, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);

    QFont axisFont = font();
    axisFont.setPointSizeF(std::max(6.0, axisFont.pointSizeF() - 1.5));

    axisX_ = new QDateTimeAxis;
    axisX_->setFormat("hh:mm:ss");
    axisX_->setLabelsFont(axisFont);
    axisX_->setGridLineVisible(false);
    axisY_ = new QValueAxis;
    axisY_->setLabelFormat("%.0f");
    axisY_->setLabelsFont(axisFont);
    axisY_->setTickCount(2);
    axisY_->setRange(0, 1);
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);

    const QColor grey(0x80, 0x80, 0x80);
    for (int c = 1; c <= 4; ++c) {
        curveLines_[c] = new QLineSeries(this);
        auto* area = new QAreaSeries(curveLines_[c]);
        area->setName(QString("Series%1").arg(c));
        area->setObjectName(area->name());
        area->setColor(grey);
        area->setBorderColor(grey.darker(120));
        chart->addSeries(area);
        area->attachAxis(axisX_);
        area->attachAxis(axisY_);
        area->setVisible(c == 1);
        Series[c] = area;
    }
    Series5 = new QLineSeries;
    Series5->setName("Series5");
    Series5->setObjectName("Series5");
    Series5->setPen(QPen(Qt::black, 2));
    chart->addSeries(Series5);
    Series5->attachAxis(axisX_);
    Series5->attachAxis(axisY_);

    Label3 = new QLabel(tr("Counter 1"), this);
    Label3->setObjectName("Label3");
    Label3->setAttribute(Qt::WA_TransparentForMouseEvents);
    setToolTip(tr("Throughput of the session, fish per minute. Click to show the next channel."));
    rescale();
}

void ThroughputChart::setCurve(int c, const std::vector<std::pair<double, double>>& points) {
    if (c < 1 || c > 4) return;
    QList<QPointF> converted;
    converted.reserve(qsizetype(points.size()));
    for (const auto& [x, y] : points) converted.append(QPointF(axisValue(x), y));
    std::stable_sort(converted.begin(), converted.end(),
                     [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    curveLines_[c]->replace(converted);
    rescale();
}

void ThroughputChart::showOnly(int c) {
    for (int k = 1; k <= 4; ++k) Series[k]->setVisible(k == c);
    rescale();
}

int ThroughputChart::firstShown(int limit) const {
    for (int k = 0; k < std::min(limit, 4); ++k) {
        if (Series[k + 1]->isVisible()) return k;
    }
    return -1;
}

void ThroughputChart::setShown(int index, bool shown) {
    if (index < 0 || index > 3) return;
    Series[index + 1]->setVisible(shown);
    rescale();
}

void ThroughputChart::setMarker(double x) {
    markerSet_ = true;
    markerX_ = x;
    rescale();
}

// The vertical axis runs from 0 to the largest value of the curve shown; the time axis spans
// that curve and the marker.
void ThroughputChart::rescale() {
    double xMin = std::numeric_limits<double>::max();
    double xMax = std::numeric_limits<double>::lowest();
    double yMax = 0;
    for (int c = 1; c <= 4; ++c) {
        if (!Series[c]->isVisible()) continue;
        for (const QPointF& p : curveLines_[c]->points()) {
            xMin = std::min(xMin, p.x());
            xMax = std::max(xMax, p.x());
            yMax = std::max(yMax, p.y());
        }
    }
    if (markerSet_) {
        xMin = std::min(xMin, axisValue(markerX_));
        xMax = std::max(xMax, axisValue(markerX_));
    }
    if (xMin > xMax) xMin = xMax = axisValue(0);
    if (xMax - xMin < 60'000) xMax = xMin + 60'000;  // at least a minute wide
    if (yMax <= 0) yMax = 1;
    axisX_->setRange(QDateTime::fromMSecsSinceEpoch(qint64(xMin)),
                     QDateTime::fromMSecsSinceEpoch(qint64(xMax)));
    axisY_->setRange(0, yMax);
    if (markerSet_) {
        const double x = axisValue(markerX_);
        Series5->replace(QList<QPointF>{QPointF(x, 0), QPointF(x, yMax)});
    } else {
        Series5->clear();
    }
}

void ThroughputChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QChartView::mousePressEvent(event);
}

void ThroughputChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    axisX_->setTickCount(std::clamp(width() / 150, 2, 12));
    placeLabel3();
}

// Label3 sits at the lower left, in a margin of its own so the first time label stays clear.
void ThroughputChart::placeLabel3() {
    Label3->adjustSize();
    Label3->move(4, height() - Label3->height() - 1);
    QMargins margins = chart()->margins();
    margins.setLeft(Label3->width() + 8);
    chart()->setMargins(margins);
}

void ThroughputChart::setChannelName(const QString& name) {
    Label3->setText(name);
    placeLabel3();
}

}  // namespace velkor
