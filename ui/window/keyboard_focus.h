// The window by keyboard: Tab goes through the controls in the order of the window (tool bar,
// track bar, class choosers, the chart's channel buttons, the verdict dock's links) and round
// again, and Esc in any control hands the keys back to the picture, where the arrow keys, Page
// Up/Down, Home and End move through the recording. The navigation keys are the window's own
// shortcuts, so they step frames wherever the focus is, except in a control that takes them
// itself (a class chooser takes Up and Down).
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

namespace velkor {

class KeyboardFocus : public QObject {
    Q_OBJECT
public:
    // `window`: the controls inside it; `home`: where Esc puts the focus.
    KeyboardFocus(QWidget* window, QWidget* home);
    ~KeyboardFocus() override;

    // The controls in their Tab order; null entries are skipped. Every one takes the focus by Tab
    // (and buttons not by a click, which keeps the keys where they were).
    void setOrder(const std::vector<QWidget*>& controls);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QPointer<QWidget> home_;
};

}  // namespace velkor
