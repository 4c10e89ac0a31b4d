// The window's menu bar, as desktop programs have it: File (Open, the session check as PDF or on
// paper, Quit), Edit (Copy), View (the marks and every dock, so that a closed dock comes back),
// Go (the moves through the recording) and Help (the help page, About with the version). The
// menus hold the window's own actions: a key works the same from the menu, the tool bar or the
// keyboard.
#pragma once

#include <QList>
#include <QString>
#include <array>

class QAction;
class QMenuBar;
class QWidget;

namespace velkor {

class MessageBoxes;

struct WindowActions {
    QAction* open = nullptr;
    QAction* exportCheck = nullptr;
    QAction* printCheck = nullptr;
    QAction* quit = nullptr;
    QAction* copy = nullptr;
    QAction* marks = nullptr;
    QAction* asCounted = nullptr;          // the "As counted" view
    QList<QAction*> docks;                 // each dock's show/hide action
    std::array<QAction*, 5> navigation{};  // first, previous, next, last, automatic count
    QAction* goTo = nullptr;
    QAction* help = nullptr;
    QAction* about = nullptr;
};

// "Velkor 1.2.3" and what it does, for About.
QString aboutText(const QString& version);

// The About action of `window`: shows aboutText with the application's version.
QAction* makeAboutAction(QWidget* window, MessageBoxes& messages);

void buildMenus(QMenuBar* bar, const WindowActions& actions);

}  // namespace velkor
