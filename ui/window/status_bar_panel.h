// The window's status bar: which frames the counters hold, the frame width in lines and seconds,
// channel 1's capacity at that width, what ended in the frame, and a line for a passing message.
// It sits under the picture and is always visible: its texts wrap to the window's width instead
// of being cut or hidden, so it needs no width of its own.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

class QLabel;

namespace velkor {

class ReplayEngine;

// "frames of 1116 lines = 1.00 s": a frame width and its duration.
QString frameWidthText(int lines);
// "Counter 1: capacity 1000 fish/min at this frame width" (the channel's name first, when given),
// or nothing when there is no capacity to show.
QString capacityText(const std::optional<int>& fishPerMinute, const QString& channel = QString());

// The read-outs the window names in its design.
struct StatusControls {
    QLabel* countedFrames = nullptr;   // the frames the counters hold: those since the latest jump
    QLabel* frameWidthNote = nullptr;  // the picture's width differs from the frames counted
    QLabel* frameSummary = nullptr;    // counted and rejected in the frame
};

class StatusBarPanel : public QWidget, public StatusControls {
    Q_OBJECT
public:
    explicit StatusBarPanel(QWidget* parent = nullptr);

    void setCountedFrames(const QString& text);
    // The width of the frames the counts shown were made with; 0: no recording open.
    void setFrameWidth(int lines);
    void setCapacity(const std::optional<int>& fishPerMinute, const QString& channel = QString());
    // The report's values that could not be read and what replaced them; empty: none.
    void setReportNotes(const QString& text);
    void setSummary(const QString& text);
    // A note that the picture's width differs from the frames the counts were made with.
    void setFrameWidthNote(const QString& text);
    // A passing message (such as what a key needs first); an empty text clears it.
    void showMessage(const QString& text);
    void clearMessage() { showMessage(QString()); }
    QString message() const;

    // What the engine reports: the frames the counters hold, the width of the frames they were
    // made with and channel 1's capacity at that width.
    void showEngineState(const ReplayEngine& engine);
    // The note when a picture `pictureWidth` pixels wide reads frames of another width than the
    // frame shown was read with.
    void showFrameWidthNote(const ReplayEngine& engine, int pictureWidth);

    // Empties every read-out: nothing is open.
    void clear();

    // The other read-outs, by name, for the window and its tests.
    QLabel* frameWidth = nullptr;
    QLabel* capacity = nullptr;
    QLabel* messageLine = nullptr;
    QLabel* reportNotes = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitHeight();
};

}  // namespace velkor
