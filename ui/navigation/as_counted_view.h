// The "As counted" view: while it is on, every frame the window moves to is shown as the session's
// continuous count had it (its marks, the totals from frame 1 up to it, the frame's summary),
// instead of counted afresh from the frame of the jump. The frame is reached from the nearest
// checkpoint of the background count (or from frame 1 when there is none yet) by reading on, with
// a progress dialog that may cancel when that takes longer than a moment. It owns the check
// button (tool bar, View menu, key C) and says in the status bar which count is shown.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "replay/checkpoint_store.h"
#include "replay/replay_engine.h"
#include "replay/seek_as_counted.h"

class QAction;
class QToolBar;
class QToolButton;
class QWidget;

namespace velkor {

// Whether the engine shows its frame as the continuous count from frame 1 had it, with the frames
// it reads now.
bool shownAsCounted(const ReplayEngine& engine);

// ", as counted from the start" or ", counted from frame 57": which count the counters hold.
QString countedAsText(const ReplayEngine& engine);

class AsCountedView : public QObject {
    Q_OBJECT
public:
    // `window` takes the key and parents the progress dialog; the check button goes last on
    // `toolBar`.
    AsCountedView(QWidget* window, QToolBar* toolBar);

    bool on() const;

    // Shows frame `frame` as counted: with the count that fills `store` when it reads frames of
    // the engine's width and classes, else reading on from frame 1. Progress shows after
    // `delayMs`; cancelled, the engine shows the last frame it read on to, as counted. Returns
    // how it ended.
    SeekOutcome showFrame(ReplayEngine& engine, std::shared_ptr<const CheckpointStore> store,
                          int32_t frame, int delayMs);
    // After a move: when the view is on and the frame shown is not as counted, shows it so.
    void follow(ReplayEngine& engine, std::shared_ptr<const CheckpointStore> store, int delayMs);

    QAction* action = nullptr;  // the check button's action, key C
    QToolButton* button = nullptr;

private:
    QWidget* window_;
};

}  // namespace velkor
