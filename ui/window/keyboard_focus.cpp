// Keyboard focus of the window: the Tab chain and Esc.
#include "ui/window/keyboard_focus.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace velkor {

KeyboardFocus::KeyboardFocus(QWidget* window, QWidget* home)
    : QObject(window), window_(window), home_(home) {
    home->setFocusPolicy(Qt::ClickFocus);
    // Esc reaches a control before the control itself sees it, whichever control has the focus.
    qApp->installEventFilter(this);
}

KeyboardFocus::~KeyboardFocus() {
    qApp->removeEventFilter(this);
}

void KeyboardFocus::setOrder(const std::vector<QWidget*>& controls) {
    QWidget* previous = nullptr;
    for (QWidget* w : controls) {
        if (w == nullptr) continue;
        w->setFocusPolicy(qobject_cast<QAbstractButton*>(w) != nullptr ? Qt::TabFocus
                                                                       : Qt::StrongFocus);
        if (previous != nullptr) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

bool KeyboardFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || home_ == nullptr) return false;
    if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    // Only a control of this window (a popup, such as an open chooser's list, closes itself
    // first); the help page has its own Esc.
    if (w == nullptr || w != QApplication::focusWidget() || w == home_ ||
        !window_->isAncestorOf(w) || w->window() != window_ || !home_->isVisible())
        return false;
    home_->setFocus(Qt::OtherFocusReason);
    return true;
}

}  // namespace velkor
