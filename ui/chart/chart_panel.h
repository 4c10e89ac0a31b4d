// The chart panel above the track bar: Chart1 with the channel selector beside it, and under them
// the comparison line of the replay with the counter's record. It shows one channel's curves at a
// time, named, with the selector holding that channel down.
#pragma once

#include <QWidget>

#include "replay/background_count.h"
#include "settings/session_report.h"

class QLabel;

namespace velkor {

class ChartChannelSelector;
class ThroughputChart;

// The panel's controls, by their names in the window's design; the window holds the same.
struct ChartControls {
    ThroughputChart* Chart1 = nullptr;
    QLabel* Label3 = nullptr;                       // on the chart: the channel shown
    ChartChannelSelector* ChartChannels = nullptr;  // beside the chart: one button per channel
    QLabel* ComparisonLine = nullptr;               // under the chart: replay vs recorded totals
};

class ChartPanel : public QWidget, public ChartControls {
    Q_OBJECT
public:
    explicit ChartPanel(QWidget* parent);

    // A session opened: its recorded curves over its span, a selector button per channel.
    void showSession(const SessionReport& report, double sessionStart, double sessionEnd);
    // Channel c (1..the session's channels) alone, named, its selector button down.
    void showChannel(const SessionReport& report, int c);
    // The legend was clicked: the next channel's curve, round again after the last (a session
    // of one channel keeps it).
    void showNextChannel(const SessionReport& report);
    // The whole count's curves beside the recorded ones, and the comparison line.
    void showWholeCount(const BackgroundCount::Result& count, const SessionReport& report);
    // No whole count to compare with (yet).
    void clearWholeCount();
    // Nothing open.
    void clear();
};

}  // namespace velkor
