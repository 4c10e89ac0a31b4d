// The throughput chart widget: keeps the curves, the marker and the channel shown, and draws
// them with paintThroughputChart.
#include "ui/chart/throughput_chart.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <algorithm>

#include "ui/chart/chart_axis.h"

namespace velkor {

ThroughputChart::ThroughputChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    setFont(small);

    CountProgress = new QProgressBar(this);
    CountProgress->setObjectName("CountProgress");
    CountProgress->setFixedSize(130, 14);
    CountProgress->setFont(small);
    CountProgress->setFormat(tr("counting %p %"));
    CountProgress->setToolTip(tr("The whole recording is being counted, to draw its curve"));
    CountProgress->setAttribute(Qt::WA_TransparentForMouseEvents);
    CountProgress->hide();

    // The name is drawn with the chart; the label holds it for those who read it.
    Label3 = new QLabel(tr("Counter 1"), this);
    Label3->setObjectName("Label3");
    Label3->hide();
    setToolTip(
        tr("Throughput of the session, fish per minute. Click at a time to go there; "
           "click the channel's name or the legend to show the next channel."));
    setMouseTracking(false);
}

void ThroughputChart::setSessionSpan(double start, double end) {
    sessionStart_ = start;
    sessionEnd_ = end;
    for (int c = 1; c <= 4; ++c) {
        recorded_[c] = curveOnAxis(recordedSource_[c], sessionStart_);
        replay_[c] = curveOnAxis(replaySource_[c], sessionStart_);
    }
    update();
}

void ThroughputChart::setCurve(int c, const std::vector<std::pair<double, double>>& points) {
    setPoints(recordedSource_, recorded_, c, points);
}

void ThroughputChart::setPoints(std::array<std::vector<std::pair<double, double>>, 5>& sources,
                                std::array<std::vector<QPointF>, 5>& onAxis, int c,
                                const std::vector<std::pair<double, double>>& points) {
    if (clampC(c) == 0) return;
    sources[c] = points;
    onAxis[c] = curveOnAxis(points, sessionStart_);
    update();
}

void ThroughputChart::showOnly(int c) {
    for (int k = 1; k <= 4; ++k) shown_[k] = k == c;
    update();
}

int ThroughputChart::firstShown(int limit) const {
    for (int k = 0; k < std::min(limit, 4); ++k) {
        if (shown_[k + 1]) return k;
    }
    return -1;
}

void ThroughputChart::setShown(int index, bool shown) {
    if (index < 0 || index > 3) return;
    shown_[index + 1] = shown;
    update();
}

bool ThroughputChart::curveShown(int c) const {
    return clampC(c) != 0 && shown_[c];
}

int ThroughputChart::shownChannel() const {
    for (int c = 1; c <= 4; ++c)
        if (shown_[c]) return c;
    return 0;
}

void ThroughputChart::setMarker(double x) {
    markerSet_ = true;
    markerX_ = x;
    update();
}

void ThroughputChart::clearMarker() {
    markerSet_ = false;
    update();
}

double ThroughputChart::markerTime() const {
    return continuousTime(markerX_, sessionStart_);
}

void ThroughputChart::setChannelName(const QString& name) {
    Label3->setText(name);
    update();
}

void ThroughputChart::setReplayCurve(int c, const std::vector<std::pair<double, double>>& points) {
    setPoints(replaySource_, replay_, c, points);
}

void ThroughputChart::clearReplayCurves() {
    for (int c = 1; c <= 4; ++c) setReplayCurve(c, {});
}

bool ThroughputChart::replayShown(int c) const {
    return clampC(c) != 0 && !replay_[c].empty();
}

bool ThroughputChart::replayVisible(int c) const {
    return replayShown(c) && shown_[c];
}

bool ThroughputChart::legendVisible() const {
    const int c = shownChannel();
    return c != 0 && replayShown(c);
}

ChartContent ThroughputChart::content() const {
    ChartContent content;
    const int c = shownChannel();
    std::vector<double> times;
    if (c != 0) {
        content.recorded = recorded_[c];
        content.replay = replay_[c];
        for (const QPointF& p : content.recorded) times.push_back(p.x());
        for (const QPointF& p : content.replay) times.push_back(p.x());
    }
    if (markerSet_) {
        content.marker = markerTime();
        times.push_back(*content.marker);
    }
    const TimeSpan span = chartTimeSpan(sessionStart_, sessionEnd_, times);
    content.first = span.first;
    content.last = span.last;
    content.verticalMaximum = curvesMaximum(content.recorded, content.replay);
    content.channelName = Label3->text();
    return content;
}

QRectF ThroughputChart::plotArea() const {
    return chartLayout(QRectF(rect()), content(), font()).plot;
}

double ThroughputChart::timeOfDayAt(double x) const {
    const ChartContent c = content();
    const QRectF plot = chartLayout(QRectF(rect()), c, font()).plot;
    const double t = timeOfColumn(x, c.first, c.last, plot.left(), plot.width());
    return t - std::floor(t);
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

// The progress bar sits at the top of the plot, left of the channel's name and the legend, so
// that it never covers them; in a narrow chart it narrows too.
void ThroughputChart::placeCountProgress() {
    const ChartLayout layout = chartLayout(QRectF(rect()), content(), font());
    double right = layout.plot.right();
    for (const QRectF& side : {layout.name, layout.legend})
        if (!side.isEmpty()) right = std::min(right, side.left() - 6);
    const int wide = std::clamp(int(right - layout.plot.left()) - 4, 30, 130);
    CountProgress->setFixedWidth(wide);
    CountProgress->move(std::max(0, int(right) - wide), 2);
}

void ThroughputChart::paintEvent(QPaintEvent*) {
    // The name and the legend may have changed their room since the bar was placed.
    if (CountProgress->isVisible()) placeCountProgress();
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setFont(font());
    paintThroughputChart(painter, QRectF(rect()), content());
}

void ThroughputChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const ChartLayout layout = chartLayout(QRectF(rect()), content(), font());
    const QPointF at = event->position();
    if (layout.plot.contains(at)) {
        emit timeClicked(timeOfDayAt(at.x()));
    } else {
        emit clicked();
    }
}

void ThroughputChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeCountProgress();
}

}  // namespace velkor
