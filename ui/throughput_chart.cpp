// The throughput chart and its marker.
#include "ui/throughput_chart.h"

#include <QDateTime>
#include <QGraphicsLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QtCharts/QChart>
#include <QtCharts/QLegendMarker>
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
        area->setObjectName(QString("Series%1").arg(c));
        area->setName(tr("recorded"));
        area->setColor(grey);
        area->setBorderColor(grey.darker(120));
        chart->addSeries(area);
        area->attachAxis(axisX_);
        area->attachAxis(axisY_);
        area->setVisible(c == 1);
        Series[c] = area;
    }
    // The replay's curves: a line in a colour that stands out from the grey recorded area.
    for (int c = 1; c <= 4; ++c) {
        auto* line = new QLineSeries;
        line->setName(tr("replay"));
        line->setObjectName(QString("ReplaySeries%1").arg(c));
        line->setPen(QPen(QColor(0xD0, 0x40, 0x00), 2));
        chart->addSeries(line);
        line->attachAxis(axisX_);
        line->attachAxis(axisY_);
        line->setVisible(false);
        ReplaySeries[c] = line;
    }
    Series5 = new QLineSeries;
    Series5->setName("Series5");
    Series5->setObjectName("Series5");
    Series5->setPen(QPen(Qt::black, 2));
    chart->addSeries(Series5);
    Series5->attachAxis(axisX_);
    Series5->attachAxis(axisY_);

    QFont legendFont = font();
    legendFont.setPointSizeF(std::max(6.0, legendFont.pointSizeF() - 1));
    chart->legend()->setFont(legendFont);
    chart->legend()->setAlignment(Qt::AlignRight);

    CountProgress = new QProgressBar(this);
    CountProgress->setObjectName("CountProgress");
    CountProgress->setFixedSize(130, 14);
    CountProgress->setFont(legendFont);
    CountProgress->setFormat(tr("counting %p %"));
    CountProgress->setToolTip(tr("The whole recording is being counted, to draw its curve"));
    CountProgress->setAttribute(Qt::WA_TransparentForMouseEvents);
    CountProgress->hide();

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
    for (int k = 1; k <= 4; ++k) {
        Series[k]->setVisible(k == c);
        ReplaySeries[k]->setVisible(k == c && replayShown(k));
    }
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
    ReplaySeries[index + 1]->setVisible(shown && replayShown(index + 1));
    rescale();
}

void ThroughputChart::setMarker(double x) {
    markerSet_ = true;
    markerX_ = x;
    rescale();
}

// The vertical axis runs from 0 to the largest value of the curves shown; the time axis spans
// those curves and the marker.
void ThroughputChart::rescale() {
    double xMin = std::numeric_limits<double>::max();
    double xMax = std::numeric_limits<double>::lowest();
    double yMax = 0;
    for (int c = 1; c <= 4; ++c) {
        for (const QXYSeries* series :
             {static_cast<QXYSeries*>(curveLines_[c]), static_cast<QXYSeries*>(ReplaySeries[c])}) {
            if (!Series[c]->isVisible()) continue;
            for (const QPointF& p : series->points()) {
                xMin = std::min(xMin, p.x());
                xMax = std::max(xMax, p.x());
                yMax = std::max(yMax, p.y());
            }
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
    showLegendMarkers();
}

// The legend names the recorded and the replay curve of the channel shown, and only while a
// replay curve is there to compare.
void ThroughputChart::showLegendMarkers() {
    QLegend* legend = chart()->legend();
    bool anyReplay = false;
    for (int c = 1; c <= 4; ++c) anyReplay = anyReplay || ReplaySeries[c]->isVisible();
    legend->setVisible(anyReplay);
    for (QLegendMarker* marker : legend->markers()) {
        QAbstractSeries* series = marker->series();
        marker->setVisible(series != Series5 && series->isVisible());
    }
}

void ThroughputChart::setReplayCurve(int c, const std::vector<std::pair<double, double>>& points) {
    if (c < 1 || c > 4) return;
    QList<QPointF> converted;
    converted.reserve(qsizetype(points.size()));
    for (const auto& [x, y] : points) converted.append(QPointF(axisValue(x), y));
    ReplaySeries[c]->replace(converted);
    ReplaySeries[c]->setVisible(Series[c]->isVisible() && !converted.isEmpty());
    rescale();
}

void ThroughputChart::clearReplayCurves() {
    for (int c = 1; c <= 4; ++c) setReplayCurve(c, {});
}

bool ThroughputChart::replayShown(int c) const {
    return c >= 1 && c <= 4 && ReplaySeries[c]->count() > 0;
}

void ThroughputChart::showCountProgress(int done, int total) {
    CountProgress->setRange(0, std::max(1, total));
    CountProgress->setValue(std::clamp(done, 0, std::max(1, total)));
    placeCountProgress();
    CountProgress->show();
    CountProgress->raise();
}

void ThroughputChart::hideCountProgress() {
    CountProgress->hide();
}

// The progress bar sits in the upper right corner, clear of the axes' labels.
void ThroughputChart::placeCountProgress() {
    CountProgress->move(width() - CountProgress->width() - 10, 2);
}

void ThroughputChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QChartView::mousePressEvent(event);
}

void ThroughputChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    axisX_->setTickCount(std::clamp(width() / 150, 2, 12));
    placeLabel3();
    placeCountProgress();
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
