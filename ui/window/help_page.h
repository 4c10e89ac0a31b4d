// The help page shown in the window (F1): what the picture, the marks, the numbers, the chart and
// the verdicts mean, a line for every key and every action of the menus, and how to get the same
// numbers from velkor-count.
#pragma once

#include <QTextBrowser>

namespace velkor {

class HelpPage : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpPage(QWidget* parent = nullptr);
    // The page's text as HTML.
    static QString html();

signals:
    // The user asked to go back to the picture (Esc).
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace velkor
