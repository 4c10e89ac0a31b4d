// Holding the opening until the window is maximized and laid out.
#include "ui/window/opening_gate.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace velkor {
namespace {

constexpr int titleBarRoom = 64;  // pixels

}  // namespace

bool coversAvailableArea(const QRect& frame, const QRect& available) {
    return frame.width() >= available.width() &&
           frame.height() >= available.height() - titleBarRoom;
}

OpeningGate::OpeningGate(QWidget* window, std::function<void()> start, int fallback,
                         std::function<QRect()> availableArea)
    : QObject(window),
      window_(window),
      start_(std::move(start)),
      availableArea_(std::move(availableArea)) {
    fallback_.setSingleShot(true);
    fallback_.setInterval(fallback);
    connect(&fallback_, &QTimer::timeout, this, [this] {
        timedOut_ = true;
        openGate();
    });
}

bool OpeningGate::reachedShownSize() const {
    if (!(window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) return true;
    const QRect available = availableArea_      ? availableArea_()
                            : window_->screen() ? window_->screen()->availableGeometry()
                                                : QRect();
    return coversAvailableArea(window_->frameGeometry(), available);
}

void OpeningGate::windowShown() {
    if (open_ || waiting_) return;
    if (reachedShownSize()) {
        openGate();
        return;
    }
    waiting_ = true;
    window_->installEventFilter(this);
    fallback_.start();
}

bool OpeningGate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && waiting_) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Resize || type == QEvent::Move || type == QEvent::WindowStateChange) &&
            reachedShownSize()) {
            openGate();
        }
    }
    return QObject::eventFilter(watched, event);
}

void OpeningGate::openGate() {
    if (open_) return;
    open_ = true;
    waiting_ = false;
    fallback_.stop();
    window_->removeEventFilter(this);
    if (start_) start_();
}

}  // namespace velkor
