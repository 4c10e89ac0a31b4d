// TfrmRecord, the View Record window: the picture of the frame, the counters and time beside it,
// the throughput chart, the track bar and the tool bar. A thin layer over the replay engine: it
// gives the engine the picture's width W, calls its operations from the handlers and shows what
// the engine reports. Errors raised in a handler are shown in a message box; the window goes on.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "replay/background_count.h"
#include "replay/replay_engine.h"
#include "settings/Tsett.h"
#include "ui/picture/stroke_recognizer.h"
#include "ui/window/window_menus.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTimer;
class QToolBar;
class QToolButton;

namespace velkor {

class ClassChooser;
class ClassChoices;
class FramePicture;
class HelpPage;
class KeyboardFocus;
class MessageBoxes;
class OpeningGate;
class SelectionTrackBar;
class StatusBarPanel;
class ThroughputChart;
class ChartChannelSelector;

class TfrmRecord : public QMainWindow {
    Q_OBJECT
public:
    // `settings` and `store` are the program's settings set and store (the store may be null);
    // `messages` shows the message boxes. All three outlive the window.
    TfrmRecord(Tsett& settings, SettingsBackend* store, MessageBoxes& messages,
               QWidget* parent = nullptr);
    ~TfrmRecord() override;

    // Start-up: the first command-line argument (empty: ask with the open dialog).
    void setRecordingArgument(const QString& name) { recordingArgument_ = name; }
    // A recording chosen in the open dialog, and whether under "Compressed file".
    struct ChosenRecording {
        QString fileName;
        bool compressed = false;
    };
    // How Timer1Timer asks for a recording; by default it shows OpenDialog1. Empty: cancelled.
    std::function<std::optional<ChosenRecording>()> chooseRecording;
    // How Go to asks for a time or frame; by default it shows the Go to dialog. Empty: cancelled.
    std::function<std::optional<QString>()> askGoTo;

    // Opens the recording (with a busy cursor) and shows frame 1, or the reason it cannot; a
    // session already shown then stays. Returns whether this recording opened.
    bool OpenBlbFile(const QString& imagefile, bool chosenAsCompressed);
    void Timer1Timer();

    // The handlers of the window's controls.
    void beginbtnClick();
    void backwardbtnClick();
    void FarwardbtnClick();
    void endbtnClick();
    void AutocountbtnClick();
    // Go to (Ctrl+G): asks for a time hh:mm:ss or a frame number and jumps there.
    void gotobtnClick();
    // Open (Ctrl+O): asks for another recording and opens it as a new start of the program would,
    // with a new engine (a reference from engine() does not outlive it); cancelled, or the
    // recording not opened, the window stays as it was.
    void openbtnClick();
    // Help (F1): shows the help page in place of the picture, or the picture again.
    void helpbtnClick();
    bool helpShown() const;
    // While the thumb is dragged, positions are read after the events that are already waiting
    // have been handled: of the positions that pile up meanwhile only the latest is read.
    void TrackBar1Change(int position);
    void PaintBox1Gesture(StrokeGesture gesture);
    void Chart1Click();
    // The chart's plot was clicked at a time of day (day fraction): go there.
    void chartTimeClicked(double dayFraction);
    // The chart's channel selector chose channel c (1..count): show its curve.
    void showChartChannel(int c);
    void SpeedButton2Click();
    // Places the counter fields beside their channels.
    void stillaafteljara();

    // The whole count of the open recording on a worker thread, for the comparison with the
    // counter's record; started by every opening, cancelled when the window closes. Running:
    // started and its result not yet shown.
    void startBackgroundCount();
    // Ctrl+C: the comparison as tab-separated text on the clipboard, once the count has ended.
    void copyComparison();
    void stopBackgroundCount();
    bool backgroundCountRunning() const;
    // What the last finished whole count found.
    const std::optional<BackgroundCount::Result>& wholeCount() const { return wholeCount_; }
    // Handed to every background count (called on its thread after each frame); for tests.
    std::function<void(const BackgroundCount&, int32_t, int32_t)> onBackgroundFrame;

    ReplayEngine& engine() { return *engine_; }
    const ReplayEngine& engine() const { return *engine_; }
    // Where the picture stands in the window, in the window's coordinates.
    QRect pictureArea() const;

    // Controls, by their names in the window's design.
    QWidget* Panel1 = nullptr;
    ThroughputChart* Chart1 = nullptr;
    ChartChannelSelector* ChartChannels = nullptr;  // beside the chart: one button per channel
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
    QToolButton* helpbtn = nullptr;
    // Under the picture, always visible: counted frames, frame width, capacity, summary, notes.
    StatusBarPanel* statusBarPanel = nullptr;
    // Says so when the picture's width differs from the frame width the counts were made with.
    QLabel* frameWidthNote = nullptr;
    QToolButton* marksbtn = nullptr;  // check button: marks on the picture (key E)
    QToolButton* SpeedButton2 = nullptr;
    // Which frames the counters hold: those counted since the latest jump.
    QLabel* countedFrames = nullptr;
    QFrame* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* TotalCaption = nullptr;  // "Total", before the bold total Label1
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLineEdit*, 5> LabeledEdit{};     // LabeledEdit[1]..[4]
    std::array<QLabel*, 5> LabeledEditLabel{};   // their caption labels
    std::array<QLabel*, 5> RecordedLabel{};      // under each field: the recorded session total
    class VerdictPanel* verdictPanel = nullptr;  // a dock: the session's verdicts, with links
    QLabel* ComparisonLine = nullptr;            // under the chart: replay vs recorded totals
    FramePicture* PaintBox1 = nullptr;
    QLabel* frameSummary = nullptr;  // in the status bar: counted and rejected in the frame
    // The picture with its counters, or the help page in their place.
    QStackedWidget* pageStack = nullptr;
    HelpPage* helpPage = nullptr;
    // Beside each caption the channel's size class; under the field, the count with another.
    std::array<ClassChooser*, 5> classChooser{};
    // Above the status bar while a class differs from the report's, with "Report settings".
    ClassChoices* classChoices = nullptr;
    QTimer* Timer1 = nullptr;
    // Starts Timer1 once the window has the size it is shown at (maximized and laid out).
    OpeningGate* openingGate = nullptr;
    // File: export or print the session check.
    class SessionCheckExport* sessionCheck = nullptr;

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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The verdict a link of the verdict dock went to, highlighted while its frame is shown.
    struct VerdictShown {
        int32_t frame = 0, channel = 0;
        EndingVerdict verdict = EndingVerdict::counted;
    } verdictShown_;
    bool thumbSetByProgram = false;  // the thumb moves because a frame was reached, not dragged
    void buildLayout();
    void buildToolBar();
    void buildCounterPanel();
    // Tab goes through the tool bar, the track bar, the class choosers, the chart's channel
    // buttons and the verdict dock, in that order (the chart's buttons come with each session).
    void orderTabs();
    // A tool button of the tool bar, 43 pixels high, that shows and triggers `action`.
    QToolButton* addToolButton(const char* name, QAction* action, int width);
    void giveFrameWidth();
    // Runs one handler's work; an error it raises is shown in a message box.
    void runHandler(const std::function<void()>& work);
    void showError(const QString& text);
    // Shows what the engine reports: read-outs, buttons, track bar, marker, automatic count.
    void showEngineState();
    void showSessionReport();
    // Shows the engine of a recording just opened in place of the one shown before.
    void installEngine(std::unique_ptr<ReplayEngine> next);
    void drawCurrentFrame();
    void marksToggled(bool on);
    void readPendingPosition();
    void readThumbPosition(int position);
    void showFrameWidthNote();
    std::optional<ChosenRecording> runOpenDialog();
    void pollBackgroundCount();
    // Counts the whole recording again when frames are read with another width than it was.
    void followFrameWidth();
    void showRecordedTotals();
    // Another size class was chosen (or the report's again): the frame shown is read again with
    // the classes chosen and the whole recording counted again.
    void classesChosen();

    Tsett& settings_;
    SettingsBackend* store_;
    MessageBoxes& messages_;
    std::unique_ptr<ReplayEngine> engine_;
    QString recordingArgument_;
    bool shownOnce_ = false;
    std::array<QAction*, 5> navigation_{};  // begin, backward, forward, end, automatic count
    WindowActions menuActions_;             // what the menus hold
    KeyboardFocus* keyboard_ = nullptr;
    std::optional<int> pendingPosition_;  // a dragged position not read yet
    // The frame at which A was pressed before the mark and the mark kept; 0: none. Another
    // press there marks that frame.
    int32_t markWarnedAt_ = 0;
    QAction* goTo_ = nullptr;
    QAction* help_ = nullptr;
    QString recordingFile_;  // the recording open, for the title
    std::unique_ptr<BackgroundCount> backgroundCount_;
    QTimer* backgroundPoll_ = nullptr;
    std::optional<BackgroundCount::Result> wholeCount_;
    int32_t wholeCountWidth_ = 0;  // the frame width of the whole count shown or running
};

}  // namespace velkor
