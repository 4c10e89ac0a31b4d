// The start of the opening, held until the window has the size it is shown at. A window shown
// maximized first appears at its design size and reaches the maximized size only when the window
// manager has handled it, which on a busy machine can take a while; a frame read before then
// would be as wide as the design size. The gate lets the opening start on the first resize, move
// or state change that finds the window covering its screen's available area, at once for a
// window not shown maximized, and after a fallback time for window systems that never maximize.
#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>

class QWidget;

namespace velkor {

// Whether a window whose frame (decorations included) is `frame` covers `available`: as wide, and
// as high but for room for a title bar whose height the window system has not reported yet.
bool coversAvailableArea(const QRect& frame, const QRect& available);

class OpeningGate : public QObject {
    Q_OBJECT
public:
    static constexpr int fallbackMs = 3000;

    // `start` runs once, when the gate opens. `availableArea` gives the area a maximized window
    // covers (by default the available geometry of the window's screen).
    OpeningGate(QWidget* window, std::function<void()> start, int fallback = fallbackMs,
                std::function<QRect()> availableArea = {});

    // The window has been shown: open now, or wait for the maximized size.
    void windowShown();
    bool isOpen() const { return open_; }
    // Whether the gate opened because the fallback time ran out.
    bool timedOut() const { return timedOut_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool reachedShownSize() const;
    void openGate();

    QWidget* window_;
    std::function<void()> start_;
    std::function<QRect()> availableArea_;
    QTimer fallback_;
    bool waiting_ = false;
    bool open_ = false;
    bool timedOut_ = false;
};

}  // namespace velkor
