// The channel selector beside the throughput chart: one button per channel of the session,
// named by its counter, the one whose curve the chart shows held down. A press asks for that
// channel's curve; the window keeps the buttons in step when the chart's legend cycles instead.
#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

class QButtonGroup;
class QToolButton;
class QVBoxLayout;

namespace velkor {

class ChartChannelSelector : public QWidget {
    Q_OBJECT
public:
    explicit ChartChannelSelector(QWidget* parent = nullptr);

    // One button per name, channel 1 first; no names, no buttons (no session open).
    void setChannels(const QStringList& counterNames);
    int channelCount() const { return int(buttons_.size()); }
    // Holds down channel c's button (1..count) without asking for anything.
    void setCurrent(int c);
    // The channel whose button is down, or 0.
    int current() const;
    QToolButton* button(int c) const;

signals:
    // The user pressed channel c's button (1..count).
    void channelChosen(int c);

private:
    QVBoxLayout* column_ = nullptr;
    QButtonGroup* group_ = nullptr;
    std::vector<QToolButton*> buttons_;
};

}  // namespace velkor
