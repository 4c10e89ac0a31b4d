// TfrmRecord, the View Record window: the picture of the frame, the counters and time beside it,
// the throughput chart, the track bar and the tool bar. It composes those parts, each a class of
// its own, and keeps the design's handlers: a thin layer over the replay engine that gives the
// engine the picture's width W, calls its operations from the handlers and shows what the engine
// reports. Errors raised in a handler are shown in a message box; the window goes on.
#pragma once

#include <QMainWindow>
#include <QStackedWidget>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "replay/background_count.h"
#include "replay/replay_engine.h"
#include "settings/Tsett.h"
#include "ui/chart/chart_panel.h"
#include "ui/comparison/session_comparison.h"
#include "ui/counters/counter_panel.h"
#include "ui/navigation/navigation_bar.h"
#include "ui/notes/session_notes_part.h"
#include "ui/picture/stroke_recognizer.h"
#include "ui/window/help_page.h"
#include "ui/window/recording_opening.h"
#include "ui/window/status_bar_panel.h"
#include "ui/window/window_menus.h"

class QLabel;
class QTimer;

namespace velkor {

class ClassChoices;
class FramePicture;
class KeyboardFocus;
class MessageBoxes;
class OpeningGate;
class PicturePanel;

// The window's controls are those of its parts, by their names in the window's design: the
// chart panel's, the navigation bar's and the counter panel's, and the window's own below.
class TfrmRecord : public QMainWindow,
                   public ChartControls,
                   public NavigationControls,
                   public CounterControls,
                   public StatusControls {
    Q_OBJECT
public:
    // `settings` and `store` are the program's settings set and store (the store may be null);
    // `messages` shows the message boxes. All three outlive the window.
    TfrmRecord(Tsett& settings, SettingsBackend* store, MessageBoxes& messages,
               QWidget* parent = nullptr);
    ~TfrmRecord() override;

    // Start-up: the first command-line argument (empty: ask with the open dialog).
    void setRecordingArgument(const QString& name) { recordingArgument_ = name; }
    using ChosenRecording = velkor::ChosenRecording;
    // How Timer1Timer asks for a recording; by default it shows OpenDialog1. Empty: cancelled.
    std::function<std::optional<ChosenRecording>()> chooseRecording;
    // How Go to asks for a time or frame; by default it shows the Go to dialog. Empty: cancelled.
    std::function<std::optional<QString>()> askGoTo;

    // Opens the recording (with a busy cursor) and shows frame 1, or the reason it cannot; a
    // session already shown then stays. Returns whether this recording opened.
    bool OpenBlbFile(const QString& imagefile, bool chosenAsCompressed);
    void Timer1Timer();

    // The handlers of the window's controls; with the "As counted" view on, a move shows its
    // frame as the continuous count had it.
    void beginbtnClick() {
        move([this] { engine_->beginbtnClick(); });
    }
    void backwardbtnClick() {
        move([this] { engine_->backwardbtnClick(); });
    }
    void FarwardbtnClick() {
        move([this] { engine_->FarwardbtnClick(); });
    }
    void endbtnClick() {
        move([this] { engine_->endbtnClick(); });
    }
    void AutocountbtnClick();
    // Go to (Ctrl+G): asks for a time hh:mm:ss or a frame number and jumps there.
    void gotobtnClick();
    // Open (Ctrl+O): asks for another recording and opens it as a new start of the program would,
    // with a new engine (a reference from engine() does not outlive it); cancelled, or the
    // recording not opened, the window stays as it was.
    void openbtnClick();
    // Help (F1): shows the help page in place of the picture, or the picture again.
    void helpbtnClick();
    bool helpShown() const { return pageStack->currentWidget() == helpPage; }
    // While the thumb is dragged, positions are read after the events that are already waiting
    // have been handled: of the positions that pile up meanwhile only the latest is read.
    void TrackBar1Change(int position) { navigationBar->trackBarChanged(position); }
    void PaintBox1Gesture(StrokeGesture gesture);
    void Chart1Click();
    // The chart's plot was clicked at a time of day (day fraction): go there.
    void chartTimeClicked(double dayFraction);
    // The chart's channel selector chose channel c (1..count): show its curve.
    void showChartChannel(int c);
    void SpeedButton2Click() { close(); }
    // Places the counter fields beside their channels.
    void stillaafteljara();

    // The whole count of the open recording on a worker thread, for the comparison with the
    // counter's record; started by every opening, cancelled when the window closes. Running:
    // started and its result not yet shown.
    void startBackgroundCount() { comparison->start(); }
    // Ctrl+C: the comparison as tab-separated text on the clipboard, once the count has ended.
    void copyComparison();
    void stopBackgroundCount() { comparison->stop(); }
    bool backgroundCountRunning() const { return comparison->running(); }
    // What the last finished whole count found.
    const std::optional<BackgroundCount::Result>& wholeCount() const {
        return comparison->wholeCount();
    }

    ReplayEngine& engine() { return *engine_; }
    const ReplayEngine& engine() const { return *engine_; }
    // Where the picture stands in the window, in the window's coordinates.
    QRect pictureArea() const;

    // The parts of the window.
    ChartPanel* chartPanel = nullptr;          // the chart, its channel selector, the comparison
    NavigationBar* navigationBar = nullptr;    // the track bar and the tool bar
    SessionComparison* comparison = nullptr;   // the whole count beside the counter's record
    class AsCountedView* asCounted = nullptr;  // the "As counted" check button and its moves

    // The window's own controls, by their names in the window's design.
    QWidget* Panel1 = nullptr;
    PicturePanel* Panel2 = nullptr;  // the counter panel and the picture
    CounterPanel* Panel3 = nullptr;
    FramePicture* PaintBox1 = nullptr;
    // Under the picture, always visible: counted frames, frame width, capacity, summary, notes.
    StatusBarPanel* statusBarPanel = nullptr;
    class VerdictPanel* verdictPanel = nullptr;  // a dock: the session's verdicts, with links
    // The picture with its counters, or the help page in their place.
    QStackedWidget* pageStack = nullptr;
    HelpPage* helpPage = nullptr;
    // Above the status bar while a class differs from the report's, with "Report settings".
    ClassChoices* classChoices = nullptr;
    QTimer* Timer1 = nullptr;
    // Starts Timer1 once the window has the size it is shown at (maximized and laid out).
    OpeningGate* openingGate = nullptr;
    // File: export or print the session check.
    class SessionCheckExport* sessionCheck = nullptr;
    // The session's notes file: the hand counts dock and its class sweeps.
    SessionNotesPart* notes = nullptr;

    // How long opening or an automatic count runs before its progress dialog shows.
    int progressDelayMs = 500;

signals:
    // Timer1Timer has finished: a recording is open (true), or the opening failed (false).
    void openingFinished(bool opened);
    // A background count has ended and what it found (or why it failed) is shown.
    void wholeCountFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The verdict a link of the verdict dock went to, highlighted while its frame is shown; a
    // link shows its frame as counted, where the count ended that verdict's object.
    struct VerdictShown {
        int32_t frame = 0, channel = 0;
        EndingVerdict verdict = EndingVerdict::counted;
    } verdictShown_;
    void connectNavigation();
    void connectPicture();
    void buildDocksAndMenus();
    // Tab goes through the tool bar, the track bar, the class choosers, the chart's channel
    // buttons and the verdict dock, in that order (the chart's buttons come with each session).
    void orderTabs();
    void giveFrameWidth();
    // Runs one handler's work; an error it raises is shown in a message box.
    void runHandler(const std::function<void()>& work);
    // runHandler for a move: with the "As counted" view on, its frame is then shown so.
    void move(const std::function<void()>& work);
    void showError(const QString& text);
    // Shows what the engine reports: read-outs, buttons, track bar, marker, automatic count.
    void showEngineState();
    void showSessionReport();
    // Shows the engine of a recording just opened in place of the one shown before.
    void installEngine(std::unique_ptr<ReplayEngine> next);
    void drawCurrentFrame();
    void marksToggled(bool on);
    void readThumbPosition(int position);
    // chooseRecording, or else the open dialog.
    std::optional<ChosenRecording> askRecording();
    // Another size class was chosen (or the report's again): the frame shown is read again with
    // the classes chosen and the whole recording counted again.
    void classesChosen();

    Tsett& settings_;
    SettingsBackend* store_;
    MessageBoxes& messages_;
    std::unique_ptr<ReplayEngine> engine_;
    QString recordingArgument_;
    bool shownOnce_ = false;
    WindowActions menuActions_;  // what the menus hold
    KeyboardFocus* keyboard_ = nullptr;
    // The frame at which A was pressed before the mark and the mark kept; 0: none. Another
    // press there marks that frame.
    int32_t markWarnedAt_ = 0;
    QString recordingFile_;  // the recording open, for the title
};

}  // namespace velkor
