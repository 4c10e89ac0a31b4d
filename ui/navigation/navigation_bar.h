// The navigation bar under the chart: the track bar (Panel4) with the frames counted without a
// break as its selection, and the tool bar (ToolBar1) with the moves, Go to, Open, the marks,
// Quit and Help. It owns their actions and keys; the window connects the actions to its handlers.
// Positions of a dragged thumb are coalesced: of the positions that pile up while the window
// reads a frame only the latest is read.
#pragma once

#include <QList>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "replay/replay_engine.h"
#include "ui/picture/stroke_recognizer.h"
#include "ui/window/window_menus.h"

class QAction;
class QToolBar;
class QToolButton;

namespace velkor {

class SelectionTrackBar;

// The bar's controls, by their names in the window's design; the window holds the same.
struct NavigationControls {
    QWidget* Panel4 = nullptr;
    QWidget* Panel5 = nullptr;
    SelectionTrackBar* TrackBar1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* beginbtn = nullptr;
    QToolButton* backwardbtn = nullptr;
    QToolButton* Farwardbtn = nullptr;
    QToolButton* endbtn = nullptr;
    QToolButton* autocountbtn = nullptr;
    QToolButton* gotobtn = nullptr;
    QToolButton* openbtn = nullptr;
    QToolButton* marksbtn = nullptr;  // check button: marks on the picture (key E)
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* helpbtn = nullptr;
};

class NavigationBar : public QWidget, public NavigationControls {
    Q_OBJECT
public:
    enum Move { begin, backward, forward, end, autocount };

    explicit NavigationBar(QWidget* parent);

    // The move a stroke on the picture asks for: left is forward, right backward, the chevrons
    // go to either end and up or down presses A; nothing for no gesture.
    static std::optional<Move> moveFor(StrokeGesture gesture);

    // Shows what the engine reports: which moves can be made, the automatic count's mark, and
    // the track bar's range, thumb and selection (program moves of the thumb read nothing).
    void showState(const ReplayEngine& engine);
    // A new position of the track bar: read at once, or, while the thumb is dragged, after the
    // events already waiting (positionChosen).
    void trackBarChanged(int position);
    // A move supersedes a dragged position not read yet.
    void forgetPendingPosition() { pendingPosition_.reset(); }
    // The bar's actions in the window's menus.
    void addTo(WindowActions& menuActions) const;
    // The bar's controls in the order Tab goes through them.
    std::vector<QWidget*> tabOrder() const;

    // The actions, each with its keys; the window adds them so that the keys work wherever it has
    // the focus.
    std::array<QAction*, 5> navigation{};  // begin, backward, forward, end, automatic count
    QAction* goTo = nullptr;
    QAction* copy = nullptr;
    QAction* open = nullptr;
    QAction* marks = nullptr;
    QAction* quit = nullptr;
    QAction* help = nullptr;
    QList<QAction*> windowActions;

signals:
    // The track bar's position to read (not a program move).
    void positionChosen(int position);

private:
    void buildTrackBar();
    void buildToolBar();
    // An action of the window with its tool tip; `keys` name its keys in the tool tip.
    QAction* makeAction(const QIcon& icon, const QString& text);
    // A tool button of the tool bar, 43 pixels high, that shows and triggers `action`.
    QToolButton* addToolButton(const char* name, QAction* action, int width);
    void readPendingPosition();

    bool thumbSetByProgram_ = false;      // the thumb moves because a frame was reached
    std::optional<int> pendingPosition_;  // a dragged position not read yet
};

}  // namespace velkor
