// The track bar: a horizontal slider that also shows a selection range, the stretch of frames
// counted without a break since the last jump, as a highlighted band in its groove. A click in the
// groove moves the thumb to the point clicked.
#pragma once

#include <QSlider>

namespace velkor {

class SelectionTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit SelectionTrackBar(QWidget* parent = nullptr);

    // An empty or reversed range (end before start) shows no band.
    void setSelection(int selStart, int selEnd);
    int selStart() const { return selStart_; }
    int selEnd() const { return selEnd_; }

    // Horizontal pixel centre of the thumb at `value`, within the groove.
    int pixelOfValue(int value) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int selStart_ = 0;
    int selEnd_ = 0;
};

}  // namespace velkor
