// Chart1, the session's throughput chart: the recorded curve of one channel at a time (a grey
// area), the current frame's marker (a black bar as tall as the vertical axis) and Label3 at the
// upper right naming the channel shown. Once the whole recording has been counted, the replay's
// own curve of the channel shown is drawn over the recorded one, with a legend; while that count
// runs, a small progress bar sits in the corner. A click on the plot at a time asks to go there;
// a click on the legend or the channel's name shows the next channel. Drawn by chart_painter.
#pragma once

#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "ui/chart/chart_painter.h"

class QLabel;
class QProgressBar;

namespace velkor {

class ThroughputChart : public QWidget {
    Q_OBJECT
public:
    explicit ThroughputChart(QWidget* parent = nullptr);

    // The session's first and last moment (day numbers): the time axis runs between them, and
    // curve times of day before the start belong to the day after it (a session that passes
    // midnight). Without it the axis spans the curves and the marker.
    void setSessionSpan(double start, double end);
    // Replaces the curve of channel c (1..4); x: time of day in days, y: fish per minute.
    void setCurve(int c, const std::vector<std::pair<double, double>>& points);
    // Shows the curve of channel c alone and rescales.
    void showOnly(int c);
    // Index from 0 of the first shown curve among the first `limit` curves, or -1.
    int firstShown(int limit) const;
    void setShown(int index, bool shown);
    bool curveShown(int c) const;
    // Moves the marker to time of day x (days).
    void setMarker(double x);
    void clearMarker();
    bool hasMarker() const { return markerSet_; }
    double markerX() const { return markerX_; }
    // The marker's place on the continuous time axis (day number).
    double markerTime() const;
    // The readable left-axis maximum: the largest value of the curves shown.
    double verticalMaximum() const { return content().verticalMaximum; }
    // Label3: the name of the channel whose curve is shown.
    void setChannelName(const QString& name);

    // The replay's curve of channel c (1..4), drawn over the recorded one while channel c is
    // shown; the legend names the two. An empty curve removes it.
    void setReplayCurve(int c, const std::vector<std::pair<double, double>>& points);
    void clearReplayCurves();
    bool replayShown(int c) const;
    // The replay's curve is drawn: there is one, and its channel is shown.
    bool replayVisible(int c) const;
    bool legendVisible() const;
    const std::vector<QPointF>& replayPoints(int c) const { return replay_[size_t(clampC(c))]; }
    // The progress of the whole count in the chart's corner: `done` of `total`.
    void showCountProgress(int done, int total);
    void hideCountProgress();

    // What is drawn now, and where the plot lies in the widget.
    ChartContent content() const;
    QRectF plotArea() const;
    // The time of day (day fraction) at column x of the plot.
    double timeOfDayAt(double x) const;

    QLabel* Label3 = nullptr;  // holds the channel's name (drawn by the chart)
    QProgressBar* CountProgress = nullptr;

signals:
    // The legend or the channel's name was clicked: show the next channel.
    void clicked();
    // The plot was clicked at a time of day (day fraction).
    void timeClicked(double dayFraction);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static int clampC(int c) { return c < 1 ? 0 : (c > 4 ? 0 : c); }
    int shownChannel() const;
    void placeCountProgress();

    // Keeps channel c's curve as given and on the time axis, and redraws.
    void setPoints(std::array<std::vector<std::pair<double, double>>, 5>& sources,
                   std::array<std::vector<QPointF>, 5>& onAxis, int c,
                   const std::vector<std::pair<double, double>>& points);
    std::array<std::vector<std::pair<double, double>>, 5> recordedSource_{};
    std::array<std::vector<std::pair<double, double>>, 5> replaySource_{};
    std::array<std::vector<QPointF>, 5> recorded_{};
    std::array<std::vector<QPointF>, 5> replay_{};
    std::array<bool, 5> shown_{false, true, false, false, false};
    double sessionStart_ = 0, sessionEnd_ = 0;
    bool markerSet_ = false;
    double markerX_ = 0;
};

}  // namespace velkor
