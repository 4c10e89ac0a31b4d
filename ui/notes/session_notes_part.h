// The window's part for a session's notes file: the hand counts dock with a box per channel, the
// keeper that reads and writes the notes beside the recording (or in the user's data folder), and
// what the window says about where they are kept or why a file is left alone. It follows the
// class choosers: a class clicked in a sweep table is chosen there, and the line under a hand
// count gives the count of the class chosen.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "replay/replay_engine.h"
#include "settings/Tsett.h"
#include "settings/session_notes_keeper.h"
#include "ui/counters/counter_panel.h"

class QAction;
class QDockWidget;
class QLabel;
class QMainWindow;
class QTimer;

namespace velkor {

class HandCountBox;
class MessageBoxes;

class SessionNotesPart : public QObject {
    Q_OBJECT
public:
    // `counters` are the counter panel's controls (captions and class choosers); `engine` is the
    // window's engine as it is replaced by each opening; `settings` gives the counter type the
    // sweeps count with. All outlive the part. The dock stays hidden until it is asked for (View,
    // or "Hand count..." on a counter's caption) or a session with hand counts is opened.
    SessionNotesPart(QMainWindow* window, const CounterControls& counters,
                     const std::unique_ptr<ReplayEngine>& engine, const Tsett& settings,
                     MessageBoxes& messages);
    ~SessionNotesPart() override;

    // The engine has just opened a recording: its notes are read, its hand counts shown and swept.
    void open();
    QAction* dockAction() const;
    // The notes of the recording open; null before the first opening.
    const SessionNotesKeeper* keeper() const { return keeper_.get(); }

    // Shows the dock (beside the verdicts, as a tab) with channel `channel`'s field to type in.
    void askHandCount(int channel);
    // Enters or clears a channel's hand count as the user does in its box.
    void enterHandCount(int channel, int64_t count);
    void clearHandCount(int channel);

    std::array<HandCountBox*, 5> handCount{};  // [1]..[4]
    QLabel* whereKept = nullptr;               // where the notes are kept, when not beside
    QDockWidget* dock = nullptr;
    // Where notes go when the recording's folder cannot be written; by default the user's
    // application data folder.
    QString dataFolder;
    // Asks whether a notes file that is not notes may be replaced; by default a question box.
    std::function<bool(const QString& question)> askReplace;

private:
    // Shows what a change came to, asking first to replace a file that is not notes.
    void saved(const std::function<SessionNotesKeeper::Saving()>& change);
    void sweep(int channel);
    // Shows the dock as a tab over the verdicts, where it takes no room from the picture's height.
    void showDock();
    // Sweeps again the hand counts swept at another frame width than the window now reads.
    void followFrameWidth();

    QMainWindow* window_;
    CounterControls counters_;
    const std::unique_ptr<ReplayEngine>& engine_;
    const Tsett& settings_;
    MessageBoxes& messages_;
    std::unique_ptr<SessionNotesKeeper> keeper_;
    QTimer* widthWatch_ = nullptr;
};

}  // namespace velkor
