// The View Record window: composes its parts (chart panel, navigation bar, counter panel and
// picture, verdict dock, session comparison), connects them, and keeps the handlers that call the
// replay engine and show what it reports.
#include "ui/window/TfrmRecord.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "replay/go_to.h"
#include "replay/navigation.h"
#include "ui/chart/chart_channel_selector.h"
#include "ui/chart/throughput_chart.h"
#include "ui/check/session_check_export.h"
#include "ui/comparison/verdict_panel.h"
#include "ui/counters/class_choices.h"
#include "ui/navigation/as_counted_view.h"
#include "ui/navigation/go_to_dialog.h"
#include "ui/navigation/selection_track_bar.h"
#include "ui/picture/engine_picture.h"
#include "ui/picture/frame_picture.h"
#include "ui/picture/picture_panel.h"
#include "ui/window/help_page.h"
#include "ui/window/keyboard_focus.h"
#include "ui/window/long_work.h"
#include "ui/window/message_boxes.h"
#include "ui/window/opening_gate.h"
#include "ui/window/report_notes.h"
#include "ui/window/session_title.h"
#include "ui/window/status_bar_panel.h"

namespace velkor {
namespace {

// The handlers of the moves, in the order of NavigationBar::Move.
constexpr std::array<void (TfrmRecord::*)(), 5> moves{
    &TfrmRecord::beginbtnClick, &TfrmRecord::backwardbtnClick, &TfrmRecord::FarwardbtnClick,
    &TfrmRecord::endbtnClick, &TfrmRecord::AutocountbtnClick};

}  // namespace

TfrmRecord::TfrmRecord(Tsett& settings, SettingsBackend* store, MessageBoxes& messages,
                       QWidget* parent)
    : QMainWindow(parent),
      settings_(settings),
      store_(store),
      messages_(messages),
      engine_(std::make_unique<ReplayEngine>(settings, store)) {
    setObjectName("frmRecord");
    setWindowTitle(sessionTitle(QString(), SessionReport{}, 0, 0));
    engine_->onFrameDrawn = [this] { drawCurrentFrame(); };
    // The marks come from the run that counts: the engine keeps every frame's ended objects.
    engine_->setExplaining(true);

    // From top to bottom: chart, track and tool bar, counters and picture (or the help page),
    // the class choices' bar and the status bar; the verdicts in a dock at the right.
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    chartPanel = new ChartPanel(Panel1);
    static_cast<ChartControls&>(*this) = *chartPanel;
    connect(Chart1, &ThroughputChart::clicked, this, &TfrmRecord::Chart1Click);
    connect(Chart1, &ThroughputChart::timeClicked, this, &TfrmRecord::chartTimeClicked);
    connect(ChartChannels, &ChartChannelSelector::channelChosen, this,
            &TfrmRecord::showChartChannel);
    column->addWidget(chartPanel);
    navigationBar = new NavigationBar(Panel1);
    connectNavigation();
    column->addWidget(navigationBar);
    Panel2 = new PicturePanel(Panel1);
    connectPicture();
    helpPage = new HelpPage(Panel1);
    connect(helpPage, &HelpPage::closeRequested, this, &TfrmRecord::helpbtnClick);
    pageStack = new QStackedWidget(Panel1);
    pageStack->setObjectName("pageStack");
    pageStack->addWidget(Panel2);
    pageStack->addWidget(helpPage);
    column->addWidget(pageStack, 1);
    classChoices = new ClassChoices(classChooser, Panel1);
    connect(classChoices, &ClassChoices::choiceChanged, this, &TfrmRecord::classesChosen);
    column->addWidget(classChoices);
    statusBarPanel = new StatusBarPanel(Panel1);
    static_cast<StatusControls&>(*this) = *statusBarPanel;
    column->addWidget(statusBarPanel);
    setCentralWidget(Panel1);
    buildDocksAndMenus();
    comparison = new SessionComparison(settings_, {chartPanel, verdictPanel, classChoices}, this);
    comparison->setEngine(*engine_);
    connect(comparison, &SessionComparison::whatIfChanged, this, &TfrmRecord::stillaafteljara);
    connect(comparison, &SessionComparison::failed, this, &TfrmRecord::showError);
    connect(comparison, &SessionComparison::finished, this, &TfrmRecord::wholeCountFinished);
    keyboard_ = new KeyboardFocus(this, PaintBox1);
    orderTabs();
    resize(684, 644);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &TfrmRecord::Timer1Timer);
    openingGate = new OpeningGate(this, [this] { Timer1->start(); });
    showEngineState();
    stillaafteljara();
}

TfrmRecord::~TfrmRecord() {
    stopBackgroundCount();
    // The picture's callback must not outlive the window.
    engine_->onFrameDrawn = nullptr;
}

void TfrmRecord::connectNavigation() {
    NavigationBar* bar = navigationBar;
    static_cast<NavigationControls&>(*this) = *bar;
    for (size_t i = 0; i < moves.size(); ++i)
        connect(bar->navigation[i], &QAction::triggered, this, moves[i]);
    connect(bar->goTo, &QAction::triggered, this, &TfrmRecord::gotobtnClick);
    connect(bar->copy, &QAction::triggered, this, &TfrmRecord::copyComparison);
    connect(bar->open, &QAction::triggered, this, &TfrmRecord::openbtnClick);
    connect(bar->marks, &QAction::toggled, this, &TfrmRecord::marksToggled);
    connect(bar->quit, &QAction::triggered, this, &TfrmRecord::SpeedButton2Click);
    connect(bar->help, &QAction::triggered, this, &TfrmRecord::helpbtnClick);
    // The keys work wherever the window has the focus.
    addActions(bar->windowActions);
    bar->addTo(menuActions_);
    connect(bar, &NavigationBar::positionChosen, this, &TfrmRecord::readThumbPosition);
    asCounted = new AsCountedView(this, bar->ToolBar1);
    menuActions_.asCounted = asCounted->action;
    connect(asCounted->action, &QAction::toggled, this, [this] { move([] {}); });
}

// The counter panel beside the picture; the picture's gestures, its description when saved and
// its new sizes.
void TfrmRecord::connectPicture() {
    Panel3 = Panel2->Panel3;
    static_cast<CounterControls&>(*this) = *Panel3;
    PaintBox1 = Panel2->PaintBox1;
    connect(PaintBox1, &FramePicture::gesture, this, &TfrmRecord::PaintBox1Gesture);
    connect(PaintBox1, &FramePicture::frameNotSaved, this, &TfrmRecord::showError);
    PaintBox1->describeFrame = [this] { return frameDescription(*engine_, recordingFile_); };
    connect(PaintBox1, &FramePicture::resized, this, [this] {
        // A resize reads nothing: the frame shown stays until the next move, which uses frames
        // of the new width; the buttons and the track bar show those frames already.
        if (engine_->isOpen() && engine_->drawEnabled()) {
            drawCurrentFrame();
            giveFrameWidth();
            showEngineState();
        }
        statusBarPanel->showFrameWidthNote(*engine_, PaintBox1->width());
    });
}

void TfrmRecord::buildDocksAndMenus() {
    verdictPanel = new VerdictPanel(this);
    notes = new SessionNotesPart(this, *this, engine_, settings_, messages_);
    menuActions_.docks = {addVerdictDock(this, verdictPanel), notes->dockAction()};
    verdictPanel->frameShown = [this] { return engine_->currentFrame(); };
    connect(verdictPanel, &VerdictPanel::frameRequested, this,
            [this](int32_t frame, int32_t channel, EndingVerdict verdict) {
                verdictShown_ = {frame, channel, verdict};
                runHandler([this, frame] {
                    asCounted->showFrame(*engine_, comparison->checkpoints(), frame,
                                         progressDelayMs);
                });
            });
    // File: the session check, as a PDF file or printed.
    sessionCheck = new SessionCheckExport(this, messages_);
    sessionCheck->request = [this] {
        return SessionCheckExport::requestFor(*engine_, settings_.countertype);
    };
    addAction(sessionCheck->printAction);
    menuActions_.exportCheck = sessionCheck->exportAction;
    menuActions_.printCheck = sessionCheck->printAction;
    menuActions_.about = makeAboutAction(this, messages_);
    buildMenus(menuBar(), menuActions_);
}

void TfrmRecord::orderTabs() {
    std::vector<QWidget*> order = navigationBar->tabOrder();
    order.insert(std::find(order.begin(), order.end(), TrackBar1), asCounted->button);
    for (int c = 1; c <= 4; ++c) order.push_back(classChooser[c]);
    for (int c = 1; c <= ChartChannels->channelCount(); ++c)
        order.push_back(ChartChannels->button(c));
    for (QWidget* links : verdictPanel->linkLabels()) order.push_back(links);
    keyboard_->setOrder(order);
}

QRect TfrmRecord::pictureArea() const {
    return QRect(PaintBox1->mapTo(this, QPoint(0, 0)), PaintBox1->size());
}

void TfrmRecord::stillaafteljara() {
    Panel3->placeFields(engine_->isOpen() ? engine_->report().channelCount : 4);
}

void TfrmRecord::giveFrameWidth() {
    engine_->setFrameWidth(std::clamp(PaintBox1->width(), 1, int(maxFrameWidth)));
}

void TfrmRecord::showError(const QString& text) {
    messages_.show(this, MessageKind::error, text);
}

void TfrmRecord::runHandler(const std::function<void()>& work) {
    // Any move supersedes a dragged position still waiting to be read, and a warning that A was
    // pressed before the mark.
    navigationBar->forgetPendingPosition();
    markWarnedAt_ = 0;
    QString failure;
    try {
        giveFrameWidth();
        work();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = tr("An unexpected error ended the operation.");
    }
    showEngineState();
    if (!failure.isEmpty()) showError(failure);
}

void TfrmRecord::move(const std::function<void()>& work) {
    runHandler([this, &work] {
        work();
        asCounted->follow(*engine_, comparison->checkpoints(), progressDelayMs);
    });
}

void TfrmRecord::drawCurrentFrame() {
    const bool highlight = verdictShown_.frame == engine_->currentFrame();
    Panel2->drawFrame(*engine_, navigationBar->marks->isChecked(),
                      highlight ? verdictShown_.channel : 0, verdictShown_.verdict);
    frameSummary->setText(frameSummaryLine(*engine_, PaintBox1->width()));
}

void TfrmRecord::marksToggled(bool) {
    if (engine_->isOpen() && engine_->drawEnabled()) drawCurrentFrame();
}

void TfrmRecord::showEngineState() {
    const ReplayEngine& e = *engine_;
    Panel3->showReadOuts(e.isOpen(), e.readOuts());
    // The title names the session; channel 1's capacity, which follows the frame width, is a
    // read-out of the status bar.
    setWindowTitle(sessionTitle(e, recordingFile_));
    navigationBar->showState(e);
    if (e.isOpen()) Chart1->setMarker(e.readOuts().markerX);
    statusBarPanel->showEngineState(e);
    if (asCounted->on() || (e.isOpen() && verdictShown_.frame == e.currentFrame()))
        statusBarPanel->setCountedFrames(countedFrames->text() + countedAsText(e));
    statusBarPanel->showFrameWidthNote(e, PaintBox1->width());
    comparison->followFrameWidth();
}

void TfrmRecord::showSessionReport() {
    const SessionReport& report = engine_->report();
    chartPanel->showSession(report, engine_->sessionStart(),
                            timeOfLine(engine_->sessionStart(), engine_->lineCount()));
    Panel3->showSession(report);
    orderTabs();
    showChartChannel(1);
    classChoices->setSession(report.sizeGroup, report.counterNames, report.channelCount);
    comparison->forget();
    stillaafteljara();
}

bool TfrmRecord::OpenBlbFile(const QString& imagefile, bool chosenAsCompressed) {
    navigationBar->forgetPendingPosition();
    RecordingOpening opening = openRecording(this, settings_, store_, imagefile, chosenAsCompressed,
                                             std::clamp(PaintBox1->width(), 1, int(maxFrameWidth)),
                                             engine_->onFrameRead, progressDelayMs);
    if (!opening.engine) {
        const QString failure = notOpenedText(opening.failure, imagefile,
                                              engine_->isOpen() ? recordingFile_ : QString());
        if (!failure.isEmpty()) showError(failure);
        if (!engine_->isOpen()) PaintBox1->clearPicture();
        return false;
    }
    installEngine(std::move(opening.engine));
    recordingFile_ = imagefile;
    showSessionReport();
    showEngineState();
    drawCurrentFrame();
    statusBarPanel->setReportNotes(reportNotesText(engine_->report()));
    notes->open();
    startBackgroundCount();
    if (const QString warning = damagedLinesWarning(*engine_); !warning.isEmpty())
        messages_.show(this, MessageKind::warning, warning);
    return true;
}

void TfrmRecord::Timer1Timer() {
    Timer1->stop();
    if (!recordingArgument_.isEmpty()) {
        emit openingFinished(OpenBlbFile(recordingArgument_, false));
        return;
    }
    const std::optional<ChosenRecording> chosen = askRecording();
    if (!chosen) {
        close();
        return;
    }
    emit openingFinished(OpenBlbFile(chosen->fileName, chosen->compressed));
}

void TfrmRecord::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!std::exchange(shownOnce_, true)) openingGate->windowShown();
}

void TfrmRecord::closeEvent(QCloseEvent* event) {
    stopBackgroundCount();
    // The stored settings replace the session's values; nothing is saved.
    try {
        if (store_ != nullptr) settings_.Read_Registry(*store_);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }
    event->accept();
}

void TfrmRecord::AutocountbtnClick() {
    const bool runs = engine_->autocountImage() == 5;
    const bool beforeMark =
        runs && engine_->isOpen() && engine_->currentFrame() <= engine_->autoCountStart();
    if (beforeMark && markWarnedAt_ != engine_->currentFrame()) {
        // The mark stays: the user may go on to it, or press A here again to mark this frame.
        markWarnedAt_ = engine_->currentFrame();
        navigationBar->navigation[NavigationBar::autocount]->setChecked(true);
        countedFrames->setText(
            tr("The mark is after this frame: go back to it, or set the mark again"));
        return;
    }
    runHandler([this, runs, beforeMark] {
        if (beforeMark || !runs) {
            // A second press before the mark: the old mark goes and this frame is marked.
            if (beforeMark) engine_->AutocountbtnClick();
            engine_->AutocountbtnClick();
            return;
        }
        LongWork busy(this, tr("Counting the marked frames ..."), true, progressDelayMs);
        engine_->AutocountbtnClick([this, &busy](int32_t done, int32_t total) {
            busy.progress(done, total);
            if (busy.cancelled()) engine_->stopAutoCount();
        });
    });
}

void TfrmRecord::readThumbPosition(int position) {
    const int shownMaximum = TrackBar1->maximum();
    move([this, position, shownMaximum] {
        // Frames of a new width may give the bar a new maximum: the thumb keeps its share of it.
        const int maximum = engine_->trackBar().maximum;
        engine_->TrackBar1Change(
            maximum == shownMaximum ? position : positionForFrame(position, shownMaximum, maximum));
    });
}

void TfrmRecord::gotobtnClick() {
    if (!engine_->isOpen()) return;
    if (!askGoTo) runHandler([] {});  // the dialog tells the frames of the picture's width now
    const std::optional<QString> text =
        askGoTo ? askGoTo() : GoToDialog::ask(this, *engine_, Label2->text());
    if (!text) return;
    const std::optional<GoToTarget> target = parseGoToTarget(text->toStdString());
    if (!target) {
        showError(tr("\"%1\" is neither a time hh:mm:ss nor a frame number.").arg(*text));
        return;
    }
    move([this, &target] { goTo(*engine_, *target); });
}

void TfrmRecord::openbtnClick() {
    if (const std::optional<ChosenRecording> chosen = askRecording())
        OpenBlbFile(chosen->fileName, chosen->compressed);
}

std::optional<ChosenRecording> TfrmRecord::askRecording() {
    return chooseRecording ? chooseRecording() : runOpenDialog(this, store_);
}

void TfrmRecord::installEngine(std::unique_ptr<ReplayEngine> next) {
    stopBackgroundCount();
    engine_->onFrameDrawn = nullptr;
    engine_ = std::move(next);
    engine_->onFrameDrawn = [this] { drawCurrentFrame(); };
    comparison->setEngine(*engine_);
    comparison->forget();
    navigationBar->forgetPendingPosition();
    recordingFile_.clear();
    Panel3->clearSession();
    chartPanel->clear();
    verdictPanel->clear();
    classChoices->clear();
    statusBarPanel->clear();
    PaintBox1->clearPicture();
}

void TfrmRecord::classesChosen() {
    if (!engine_->isOpen()) return;
    runHandler([this] {
        engine_->setClassOverrides(classChoices->overrides());
        engine_->goToFrame(engine_->currentFrame());
    });
    startBackgroundCount();
    move([] {});  // with the view on, as the recount counts
}

void TfrmRecord::helpbtnClick() {
    const bool show = !helpShown();
    pageStack->setCurrentWidget(show ? static_cast<QWidget*>(helpPage) : Panel2);
    navigationBar->help->setChecked(show);
    if (show) helpPage->setFocus();
}

void TfrmRecord::PaintBox1Gesture(StrokeGesture gesture) {
    if (const auto move = NavigationBar::moveFor(gesture)) (this->*moves[*move])();
}

void TfrmRecord::Chart1Click() {
    if (engine_->isOpen()) chartPanel->showNextChannel(engine_->report());
}

void TfrmRecord::showChartChannel(int c) {
    if (!engine_->isOpen() || c < 1 || c > engine_->report().channelCount) return;
    chartPanel->showChannel(engine_->report(), c);
}

void TfrmRecord::chartTimeClicked(double dayFraction) {
    if (!engine_->isOpen()) return;
    const int32_t seconds = int32_t(std::lround(dayFraction * 86400.0)) % 86400;
    move([this, seconds] { engine_->goToTimeOfDay(seconds); });
}

void TfrmRecord::copyComparison() {
    statusBarPanel->showMessage(comparison->copy(recordingFile_));
}

}  // namespace velkor
