// Panel3, the counter panel beside the picture: the frame's time, the bold total with its caption,
// and per channel the counter field with its caption, the class chooser beside the caption, the
// recorded session total under the field (or, in its place, the count with another class). The
// fields stand beside their channels as far as the panel's height allows (stillaafteljara).
#pragma once

#include <QWidget>
#include <array>

#include "replay/replay_engine.h"

class QLabel;
class QLineEdit;

namespace velkor {

class ClassChooser;

// The panel's controls, by their names in the window's design; the window holds the same.
struct CounterControls {
    QLabel* Label1 = nullptr;                   // the total of all channels, bold
    QLabel* TotalCaption = nullptr;             // "Total", before Label1
    QLabel* Label2 = nullptr;                   // the time of the frame's first line
    std::array<QLineEdit*, 5> LabeledEdit{};    // LabeledEdit[1]..[4]
    std::array<QLabel*, 5> LabeledEditLabel{};  // their caption labels
    std::array<QLabel*, 5> RecordedLabel{};     // under each field: the recorded session total
    // Beside each caption the channel's size class; under the field, the count with another.
    std::array<ClassChooser*, 5> classChooser{};
};

class CounterPanel : public QWidget, public CounterControls {
    Q_OBJECT
public:
    explicit CounterPanel(QWidget* parent);

    // Places the fields beside the first `channels` channels (4 when nothing is open); the panel
    // places them again with the same count whenever its height changes.
    void placeFields(int channels);
    // The read-outs of the frame shown; with nothing open, empty fields without captions.
    void showReadOuts(bool open, const ReadOuts& readOuts);
    // A session opened: the counters' names as captions and the recorded totals under the fields.
    void showSession(const SessionReport& report);
    // Nothing open: no captions, no recorded totals.
    void clearSession();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int channels_ = 4;
};

}  // namespace velkor
