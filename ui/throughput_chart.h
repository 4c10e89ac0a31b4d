// Chart1, the session's throughput chart: one grey area curve per channel (Series1..Series4, one
// shown at a time) on a time-of-day axis, the current frame's marker (Series5, a thin black bar
// as tall as the vertical axis) and Label3 at the lower left naming the channel shown. Once the
// whole recording has been counted, the replay's own curve of the channel shown is drawn over the
// recorded one, with a legend; while that count runs, a small progress bar sits in the corner.
#pragma once

#include <QtCharts/QAreaSeries>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <array>
#include <utility>
#include <vector>

class QLabel;
class QProgressBar;

namespace velkor {

class ThroughputChart : public QChartView {
    Q_OBJECT
public:
    explicit ThroughputChart(QWidget* parent = nullptr);

    // Replaces the curve of channel c (1..4); x: time of day in days, y: fish per minute.
    void setCurve(int c, const std::vector<std::pair<double, double>>& points);
    // Shows the curve of channel c alone (Series c active, the others not) and rescales.
    void showOnly(int c);
    // Index from 0 of the first shown curve among the first `limit` series, or -1.
    int firstShown(int limit) const;
    void setShown(int index, bool shown);
    // Moves the marker to time of day x (days).
    void setMarker(double x);
    bool hasMarker() const { return markerSet_; }
    double markerX() const { return markerX_; }
    double verticalMaximum() const { return axisY_->max(); }
    // Label3: the name of the channel whose curve is shown.
    void setChannelName(const QString& name);

    // The replay's curve of channel c (1..4), drawn over the recorded one while channel c is
    // shown; the legend names the two. An empty curve removes it.
    void setReplayCurve(int c, const std::vector<std::pair<double, double>>& points);
    void clearReplayCurves();
    bool replayShown(int c) const;
    // The progress of the whole count in the chart's corner: `done` of `total`; hidden by
    // hideCountProgress.
    void showCountProgress(int done, int total);
    void hideCountProgress();

    // Chart time of a day fraction and back: the axis shows times of day of a fixed day.
    static double axisValue(double dayFraction);
    static double dayFraction(double axisValue);

    std::array<QAreaSeries*, 5> Series{};  // Series[1]..Series[4]: the curves
    QLineSeries* Series5 = nullptr;        // the marker
    QLabel* Label3 = nullptr;
    std::array<QLineSeries*, 5> ReplaySeries{};  // [1]..[4]: the replay's curves
    QProgressBar* CountProgress = nullptr;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rescale();
    void placeLabel3();
    void placeCountProgress();
    void showLegendMarkers();

    std::array<QLineSeries*, 5> curveLines_{};
    QDateTimeAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    bool markerSet_ = false;
    double markerX_ = 0;
};

}  // namespace velkor
