// The View Record window: layout, the handlers that call the replay engine, and the read-outs.
#include "ui/window/TfrmRecord.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

#include "replay/go_to.h"
#include "replay/navigation.h"
#include "ui/chart/chart_channel_selector.h"
#include "ui/chart/throughput_chart.h"
#include "ui/check/session_check_export.h"
#include "ui/comparison/verdict_panel.h"
#include "ui/counters/class_chooser.h"
#include "ui/counters/read_out_widths.h"
#include "ui/navigation/button_icons.h"
#include "ui/navigation/go_to_dialog.h"
#include "ui/navigation/selection_track_bar.h"
#include "ui/picture/ending_marks.h"
#include "ui/picture/frame_export.h"
#include "ui/picture/frame_picture.h"
#include "ui/picture/picture_geometry.h"
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

constexpr int chartHeight = 88;
constexpr int stripHeight = 45;
constexpr int counterPanelWidth = 111;
constexpr int fieldLeft = 16;
constexpr int fieldWidth = 80;
constexpr int captionLeft = 6;  // a caption such as "Counter 2   10 g" needs the panel's width
constexpr int timeLeft = 31;
constexpr int totalLeft = 32;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// File names go to the engine in the file system's own encoding, which the program takes as
// UTF-8; on Windows (whose 8-bit encoding is the ANSI code page) that is UTF-8 itself.
std::string fileSystemName(const QString& name) {
#ifdef Q_OS_WIN
    return name.toStdString();
#else
    return QFile::encodeName(name).toStdString();
#endif
}

QString fromFileSystemName(const std::string& name) {
#ifdef Q_OS_WIN
    return fromUtf8(name);
#else
    return QFile::decodeName(QByteArray::fromStdString(name));
#endif
}

enum NavigationAction { beginAction, backwardAction, forwardAction, endAction, autocountAction };

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

    buildLayout();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &TfrmRecord::Timer1Timer);
    openingGate = new OpeningGate(this, [this] { Timer1->start(); });

    backgroundPoll_ = new QTimer(this);
    backgroundPoll_->setInterval(100);
    connect(backgroundPoll_, &QTimer::timeout, this, &TfrmRecord::pollBackgroundCount);

    showEngineState();
    stillaafteljara();
}

TfrmRecord::~TfrmRecord() {
    stopBackgroundCount();
    // The picture's callback must not outlive the window.
    engine_->onFrameDrawn = nullptr;
}

void TfrmRecord::buildLayout() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Chart1 = new ThroughputChart(Panel1);
    Chart1->setObjectName("Chart1");
    Chart1->setFixedHeight(chartHeight);
    Label3 = Chart1->Label3;
    Chart1->setChannelName(QString());  // no channel to name before a recording is open
    connect(Chart1, &ThroughputChart::clicked, this, &TfrmRecord::Chart1Click);
    connect(Chart1, &ThroughputChart::timeClicked, this, &TfrmRecord::chartTimeClicked);
    ChartChannels = new ChartChannelSelector(Panel1);
    ChartChannels->setObjectName("ChartChannels");
    ChartChannels->setFixedHeight(chartHeight);
    ChartChannels->setChannels({});
    connect(ChartChannels, &ChartChannelSelector::channelChosen, this,
            &TfrmRecord::showChartChannel);
    auto* chartRow = new QHBoxLayout;
    chartRow->setSpacing(0);
    chartRow->addWidget(Chart1, 1);
    chartRow->addWidget(ChartChannels);
    column->addLayout(chartRow);
    ComparisonLine = new QLabel(Panel1);
    ComparisonLine->setObjectName("ComparisonLine");
    ComparisonLine->setContentsMargins(30, 1, 8, 1);
    // Four channels' comparisons are wider than a small screen: the line wraps instead.
    ComparisonLine->setWordWrap(true);
    ComparisonLine->hide();
    column->addWidget(ComparisonLine);

    Panel4 = new QWidget(Panel1);
    Panel4->setObjectName("Panel4");
    Panel4->setFixedHeight(stripHeight);
    auto* trackRow = new QHBoxLayout(Panel4);
    trackRow->setContentsMargins(0, 0, 8, 0);
    trackRow->setSpacing(0);
    Panel5 = new QWidget(Panel4);
    Panel5->setObjectName("Panel5");
    Panel5->setFixedWidth(25);
    trackRow->addWidget(Panel5);
    TrackBar1 = new SelectionTrackBar(Panel4);
    TrackBar1->setObjectName("TrackBar1");
    TrackBar1->setFocusPolicy(Qt::NoFocus);
    TrackBar1->setRange(1, 100);
    TrackBar1->setValue(1);
    TrackBar1->setToolTip(
        tr("Drag to move through the recording. The band shows the frames counted without a "
           "break since the last jump."));
    connect(TrackBar1, &QSlider::valueChanged, this, &TfrmRecord::TrackBar1Change);
    trackRow->addWidget(TrackBar1);
    column->addWidget(Panel4);

    buildToolBar();
    column->addWidget(ToolBar1);

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName("Panel2");
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setLineWidth(2);
    auto* inner = new QHBoxLayout(Panel2);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->setSpacing(0);
    buildCounterPanel();
    inner->addWidget(Panel3);
    auto* pictureFrame = new QFrame(Panel2);
    pictureFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pictureFrame->setLineWidth(2);
    auto* pictureLayout = new QVBoxLayout(pictureFrame);
    pictureLayout->setContentsMargins(2, 2, 2, 2);
    pictureLayout->setSpacing(2);
    PaintBox1 = new FramePicture(pictureFrame);
    PaintBox1->setObjectName("PaintBox1");
    PaintBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    pictureLayout->addWidget(PaintBox1, 1);
    inner->addWidget(pictureFrame, 1);
    connect(PaintBox1, &FramePicture::gesture, this, &TfrmRecord::PaintBox1Gesture);
    connect(PaintBox1, &FramePicture::frameNotSaved, this, &TfrmRecord::showError);
    PaintBox1->describeFrame = [this]() -> FramePicture::FrameDescription {
        if (!engine_->isOpen()) return {};
        const ReadOuts& r = engine_->readOuts();
        QStringList counters;
        for (int c = 1; c <= engine_->report().channelCount; ++c)
            counters << QStringLiteral("%1 %2")
                            .arg(fromUtf8(engine_->report().counterNames[c]))
                            .arg(r.counters[c]);
        const int frame = engine_->lastFrameRead();
        return {suggestedFrameFileName(recordingFile_, frame),
                frameCaptionText(recordingFile_, frame, fromUtf8(r.timeText), counters,
                                 fromUtf8(r.totalText))};
    };
    connect(PaintBox1, &FramePicture::resized, this, [this] {
        // A resize reads nothing: the frame shown stays until the next move, which uses frames
        // of the new width; the buttons and the track bar show those frames already.
        if (engine_->isOpen() && engine_->drawEnabled()) {
            drawCurrentFrame();
            giveFrameWidth();
            showEngineState();
        }
        showFrameWidthNote();
    });
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
    countedFrames = statusBarPanel->countedFrames;
    frameWidthNote = statusBarPanel->frameWidthNote;
    frameSummary = statusBarPanel->summary;
    column->addWidget(statusBarPanel);

    setCentralWidget(Panel1);
    verdictPanel = new VerdictPanel(this);
    verdictPanel->frameShown = [this] { return engine_->currentFrame(); };
    connect(verdictPanel, &VerdictPanel::frameRequested, this,
            [this](int32_t frame, int32_t channel, EndingVerdict verdict) {
                verdictShown_ = {frame, channel, verdict};
                runHandler([this, frame] { engine_->goToFrame(frame); });
            });
    auto* verdictDock = new QDockWidget(tr("Verdicts"), this);
    verdictDock->setObjectName(QStringLiteral("verdictDock"));
    verdictDock->setWidget(verdictPanel);
    addDockWidget(Qt::RightDockWidgetArea, verdictDock);

    // File: the session check, as a PDF file or printed.
    sessionCheck = new SessionCheckExport(this, messages_);
    sessionCheck->request = [this]() -> std::optional<SessionCheckExport::Request> {
        if (!engine_->isOpen()) return std::nullopt;
        SessionCheckExport::Request r{QString::fromUtf8(engine_->recordingName().c_str()), {}};
        // The width of the frames read now, as the whole count behind the comparison takes it.
        r.options.frameWidth =
            engine_->readFrameWidth() > 0 ? engine_->readFrameWidth() : engine_->frameWidth();
        r.options.counterType = settings_.countertype;
        r.options.classes = engine_->classOverrides();
        r.options.version = QApplication::applicationVersion().toStdString();
        return r;
    };
    addAction(sessionCheck->printAction);
    menuActions_.exportCheck = sessionCheck->exportAction;
    menuActions_.printCheck = sessionCheck->printAction;
    menuActions_.docks = {verdictDock->toggleViewAction()};
    menuActions_.about = makeAboutAction(this, messages_);
    buildMenus(menuBar(), menuActions_);
    keyboard_ = new KeyboardFocus(this, PaintBox1);
    orderTabs();
    resize(684, 644);
}

void TfrmRecord::buildToolBar() {
    ToolBar1 = new QToolBar(Panel1);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setFixedHeight(stripHeight);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);

    struct ButtonDesign {
        const char* name;
        QIcon icon;
        QString text;
        QList<QKeySequence> keys;
        QString keyText;
    };
    const ButtonDesign designs[] = {
        {"beginbtn",
         style()->standardIcon(QStyle::SP_MediaSkipBackward),
         tr("First frame"),
         {QKeySequence(Qt::Key_Home)},
         tr("Home")},
        {"backwardbtn",
         style()->standardIcon(QStyle::SP_MediaSeekBackward),
         tr("Previous frame"),
         {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)},
         tr("Left arrow, Page Up")},
        {"Farwardbtn",
         style()->standardIcon(QStyle::SP_MediaSeekForward),
         tr("Next frame"),
         {QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown)},
         tr("Right arrow, Page Down")},
        {"endbtn",
         style()->standardIcon(QStyle::SP_MediaSkipForward),
         tr("Last frame"),
         {QKeySequence(Qt::Key_End)},
         tr("End")},
        {"autocountbtn",
         autocountIcon(4),
         tr("Automatic count"),
         {QKeySequence(Qt::Key_A)},
         tr("A")},
    };
    std::array<QToolButton**, 5> buttons{&beginbtn, &backwardbtn, &Farwardbtn, &endbtn,
                                         &autocountbtn};
    const std::array<void (TfrmRecord::*)(), 5> handlers{
        &TfrmRecord::beginbtnClick, &TfrmRecord::backwardbtnClick, &TfrmRecord::FarwardbtnClick,
        &TfrmRecord::endbtnClick, &TfrmRecord::AutocountbtnClick};
    for (int i = 0; i < 5; ++i) {
        auto* action = new QAction(designs[i].icon, designs[i].text, this);
        action->setShortcuts(designs[i].keys);
        action->setToolTip(QString("%1 (%2)").arg(designs[i].text, designs[i].keyText));
        if (i == forwardAction)
            action->setToolTip(tr("Next frame, counting on (%1)").arg(designs[i].keyText));
        if (i == autocountAction)
            action->setToolTip(
                tr("Automatic count: the first press marks the frame shown, the second counts "
                   "every frame from the mark up to the frame shown then (%1)")
                    .arg(designs[i].keyText));
        action->setCheckable(i == autocountAction);
        connect(action, &QAction::triggered, this, handlers[i]);
        addAction(action);  // the keys work wherever the window has the focus
        *buttons[i] = addToolButton(designs[i].name, action, 68);
        navigation_[i] = action;
        menuActions_.navigation[size_t(i)] = action;
    }
    goTo_ = new QAction(goToIcon(), tr("Go to a time or a frame"), this);
    goTo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    goTo_->setToolTip(tr("Go to a time (hh:mm:ss) or a frame number (%1)")
                          .arg(goTo_->shortcut().toString(QKeySequence::NativeText)));
    connect(goTo_, &QAction::triggered, this, &TfrmRecord::gotobtnClick);
    addAction(goTo_);
    gotobtn = addToolButton("gotobtn", goTo_, 68);
    menuActions_.goTo = goTo_;

    auto* copy = new QAction(tr("Copy the comparison"), this);
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, &TfrmRecord::copyComparison);
    addAction(copy);
    menuActions_.copy = copy;

    auto* open =
        new QAction(style()->standardIcon(QStyle::SP_DialogOpenButton), tr("&Open\u2026"), this);
    open->setShortcut(QKeySequence::Open);
    open->setToolTip(
        tr("Open another recording (%1)").arg(open->shortcut().toString(QKeySequence::NativeText)));
    connect(open, &QAction::triggered, this, &TfrmRecord::openbtnClick);
    addAction(open);
    openbtn = addToolButton("openbtn", open, 68);
    menuActions_.open = open;

    auto* marks = new QAction(marksIcon(), tr("Marks"), this);
    marks->setCheckable(true);
    marks->setChecked(true);
    marks->setShortcut(QKeySequence(Qt::Key_E));
    marks->setToolTip(
        tr("Marks: a frame around every object that ended in the frame, in its channel's colour "
           "with its number when it was counted, dashed grey with the reason when it was not; "
           "rest the pointer on a mark or tap it to see why (E)"));
    connect(marks, &QAction::toggled, this, &TfrmRecord::marksToggled);
    addAction(marks);
    marksbtn = addToolButton("marksbtn", marks, 68);
    menuActions_.marks = marks;
    ToolBar1->addSeparator();
    auto* close = new QAction(closeIcon(), tr("&Quit"), this);
    close->setShortcut(QKeySequence::Quit);
    close->setToolTip(
        tr("Close the window and end the program (%1)")
            .arg(QKeySequence(QKeySequence::Quit).toString(QKeySequence::NativeText)));
    connect(close, &QAction::triggered, this, &TfrmRecord::SpeedButton2Click);
    addAction(close);
    SpeedButton2 = addToolButton("SpeedButton2", close, 49);
    menuActions_.quit = close;

    help_ = new QAction(style()->standardIcon(QStyle::SP_DialogHelpButton), tr("&Help"), this);
    help_->setCheckable(true);
    help_->setShortcut(QKeySequence::HelpContents);
    help_->setToolTip(tr("What the window shows and how to use it (%1)")
                          .arg(help_->shortcut().toString(QKeySequence::NativeText)));
    connect(help_, &QAction::triggered, this, &TfrmRecord::helpbtnClick);
    addAction(help_);
    helpbtn = addToolButton("helpbtn", help_, 49);
    menuActions_.help = help_;
}

void TfrmRecord::orderTabs() {
    std::vector<QWidget*> order{beginbtn, backwardbtn, Farwardbtn,   endbtn,  autocountbtn, gotobtn,
                                openbtn,  marksbtn,    SpeedButton2, helpbtn, TrackBar1};
    for (int c = 1; c <= 4; ++c) order.push_back(classChooser[c]);
    for (int c = 1; c <= ChartChannels->channelCount(); ++c)
        order.push_back(ChartChannels->button(c));
    for (QWidget* links : verdictPanel->linkLabels()) order.push_back(links);
    keyboard_->setOrder(order);
}

QToolButton* TfrmRecord::addToolButton(const char* name, QAction* action, int width) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setFixedSize(width, 43);
    button->setIconSize(QSize(32, 32));
    button->setFocusPolicy(Qt::NoFocus);
    ToolBar1->addWidget(button);
    return button;
}

void TfrmRecord::buildCounterPanel() {
    Panel3 = new QWidget(Panel2);
    Panel3->setObjectName("Panel3");
    Panel3->installEventFilter(this);
    // The total's caption stands before it; the total moves right as far as the caption needs.
    TotalCaption = new QLabel(tr("Total"), Panel3);
    TotalCaption->setObjectName("TotalCaption");
    TotalCaption->adjustSize();
    TotalCaption->move(captionLeft, 26);
    const int totalX = std::max(totalLeft, captionLeft + TotalCaption->width() + 4);
    Panel3->setFixedWidth(
        readOutWidths(font(), fieldLeft, timeLeft, totalX, fieldWidth + 1, counterPanelWidth)
            .panel);

    QFont bold = font();
    bold.setBold(true);
    // Nothing open shows empty read-outs, not the design's placeholder captions.
    Label2 = new QLabel(Panel3);
    Label2->setObjectName("Label2");
    Label2->setToolTip(tr("Time of the frame's first line"));
    Label2->move(timeLeft, 10);
    Label1 = new QLabel(Panel3);
    Label1->setObjectName("Label1");
    Label1->setFont(bold);
    Label1->setToolTip(tr("Total of all channels"));
    Label1->move(totalX, 26);
    // Caption and total share a baseline.
    TotalCaption->move(captionLeft, 26 + QFontMetrics(bold).ascent() - fontMetrics().ascent());

    const ReadOutWidths widths =
        readOutWidths(font(), fieldLeft, timeLeft, totalLeft, fieldWidth, counterPanelWidth);
    for (int i = 1; i <= 4; ++i) {
        auto* edit = new QLineEdit(Panel3);
        edit->setObjectName(QString("LabeledEdit%1").arg(i));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setFixedWidth(i == 1 ? widths.field + 1 : widths.field);
        edit->setToolTip(tr("Fish counted in channel %1").arg(i));
        auto* caption = new QLabel(Panel3);
        caption->setObjectName(QString("LabeledEdit%1Label").arg(i));
        caption->setBuddy(edit);
        LabeledEdit[i] = edit;
        LabeledEditLabel[i] = caption;
        auto* recorded = new QLabel(Panel3);
        recorded->setObjectName(QString("RecordedLabel%1").arg(i));
        recorded->setToolTip(tr("The channel's session total as the counter recorded it"));
        RecordedLabel[i] = recorded;
        classChooser[i] = new ClassChooser(i, Panel3);
    }
}

bool TfrmRecord::eventFilter(QObject* watched, QEvent* event) {
    // The counter fields follow the panel's height, so they stay beside their channels.
    if (watched == Panel3 && event->type() == QEvent::Resize) stillaafteljara();
    return QMainWindow::eventFilter(watched, event);
}

QRect TfrmRecord::pictureArea() const {
    return QRect(PaintBox1->mapTo(this, QPoint(0, 0)), PaintBox1->size());
}

void TfrmRecord::stillaafteljara() {
    const int channels = engine_->isOpen() ? engine_->report().channelCount : 4;
    // Beside their channels, as long as the panel is high enough for that; in a low window they
    // move down so that no read-out covers another.
    // A caption shares its line with the channel's class chooser, at the panel's right edge.
    const int chooserHeight = classChooser[1]->height();
    // Under a field the recorded total, or in its place the count with another class, which
    // repeats it.
    const int whatIfLeft = captionLeft, whatIfWidth = Panel3->width() - captionLeft - 2;
    int below = RecordedLabel[1]->sizeHint().height();
    for (int i = 1; i <= 4; ++i) {
        const bool recordedShown = classChooser[i]->whatIf().isEmpty();
        RecordedLabel[i]->setVisible(recordedShown);
        if (i <= channels && !recordedShown)
            below = std::max(below, classChooser[i]->whatIfLabel->heightForWidth(whatIfWidth));
    }
    const int firstFree = Label1->y() + Label1->sizeHint().height() + 2;
    // A few pixels between the rows, unless a low panel needs them to keep every field in sight.
    auto blockHeight = [&](int gap) {
        return std::max(LabeledEditLabel[1]->sizeHint().height(), chooserHeight) +
               LabeledEdit[1]->sizeHint().height() + below + 4 * gap;
    };
    const int gap = firstFree + channels * blockHeight(1) <= Panel3->height() ? 1 : 0;
    const int captionHeight =
        std::max(LabeledEditLabel[1]->sizeHint().height(), chooserHeight) + gap;
    const int editHeight = LabeledEdit[1]->sizeHint().height() + gap;
    const int fieldBlock = editHeight + below + 2 * gap;
    const CounterFieldTops tops =
        fieldTopsWithin(counterFieldTops(Panel3->height(), channels), firstFree, captionHeight,
                        fieldBlock, Panel3->height());
    for (int i = 1; i <= 4; ++i) {
        LabeledEdit[i]->move(fieldLeft, tops[i]);
        LabeledEditLabel[i]->adjustSize();
        const int captionTop = tops[i] - captionHeight;
        LabeledEditLabel[i]->move(
            captionLeft, captionTop + (captionHeight - gap - LabeledEditLabel[i]->height()) / 2);
        classChooser[i]->move(Panel3->width() - 2 - classChooser[i]->width(), captionTop);
        RecordedLabel[i]->adjustSize();
        RecordedLabel[i]->move(fieldLeft, tops[i] + editHeight);
        classChooser[i]->placeWhatIf(QPoint(whatIfLeft, tops[i] + editHeight), whatIfWidth);
    }
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
    pendingPosition_.reset();
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

void TfrmRecord::drawCurrentFrame() {
    const CoreState& core = engine_->core();
    FramePictureSource source;
    source.frameStore = &engine_->frameStore();
    source.frameColumn = engine_->frameColumn();
    source.channelCount = core.channelCount;
    source.channelTable = &core.channelTable;
    source.scanLeftEdge = core.scanLeftEdge;
    source.scanRightEdge = core.scanRightEdge;
    FramePicture::MarksSource marks;
    if (marksbtn->isChecked()) {
        marks.endings = &engine_->frameEndings();
        marks.frameFirstLine = engine_->frameFirstLine();
        for (int c = 1; c <= 4; ++c)
            marks.counterNames[c] = fromUtf8(engine_->report().counterNames[c]);
        if (verdictShown_.frame == engine_->currentFrame()) {
            marks.highlightChannel = verdictShown_.channel;
            marks.highlightVerdict = verdictShown_.verdict;
        }
    }
    PaintBox1->drawFrame(source, marks);
    // A picture narrowed since the frame was read shows only its first lines: say so, since the
    // summary counts the whole frame.
    const int hidden = engine_->frameColumn() - PaintBox1->width();
    frameSummary->setText(
        frameSummaryText(engine_->frameEndings()) +
        (hidden > 0
             ? tr("; the last %1 lines of this frame are hidden until the next move").arg(hidden)
             : QString()));
}

void TfrmRecord::marksToggled(bool) {
    if (engine_->isOpen() && engine_->drawEnabled()) drawCurrentFrame();
}

void TfrmRecord::showEngineState() {
    const ReplayEngine& e = *engine_;
    const ReadOuts& r = e.readOuts();
    const bool open = e.isOpen();

    Label2->setText(open ? fromUtf8(r.timeText) : QString());
    Label2->adjustSize();
    Label1->setText(open ? fromUtf8(r.totalText) : QString());
    Label1->adjustSize();
    TotalCaption->setVisible(open);
    // With nothing open the fields have no captions and nothing to show: none is shown.
    for (int i = 1; i <= 4; ++i) {
        LabeledEdit[i]->setText(open ? QString::number(r.counters[i]) : QString());
        LabeledEdit[i]->setVisible(open);
    }
    // The title names the session; channel 1's capacity, which follows the frame width, is a
    // read-out of the status bar.
    setWindowTitle(open ? sessionTitle(recordingFile_, e.report(), e.sessionStart(),
                                       timeOfLine(e.sessionStart(), e.lineCount()))
                        : sessionTitle(QString(), e.report(), 0, 0));
    bool capacityRead = false;
    const int capacity = fromUtf8(r.caption).toInt(&capacityRead);
    statusBarPanel->setCapacity(
        open && capacityRead && e.lastFrameRead() > 0 ? std::optional<int>(capacity) : std::nullopt,
        open ? fromUtf8(e.report().counterNames[1]) : QString());
    statusBarPanel->setFrameWidth(open ? e.readFrameWidth() : 0);

    navigation_[beginAction]->setEnabled(open && r.beginEnabled);
    navigation_[backwardAction]->setEnabled(open && r.backwardEnabled);
    navigation_[forwardAction]->setEnabled(open && r.forwardEnabled);
    navigation_[endAction]->setEnabled(open && r.endEnabled);
    navigation_[autocountAction]->setEnabled(open);
    const bool marked = e.autocountImage() == 5;
    navigation_[autocountAction]->setChecked(marked);
    navigation_[autocountAction]->setIcon(autocountIcon(e.autocountImage()));
    TrackBar1->setEnabled(open);
    goTo_->setEnabled(open);

    // The engine's moves of the thumb are program moves: mirroring them reads nothing.
    const TrackBarState& t = e.trackBar();
    thumbSetByProgram = true;
    TrackBar1->setRange(t.minimum, t.maximum);
    TrackBar1->setValue(t.position);
    thumbSetByProgram = false;
    TrackBar1->setSelection(t.selStart, t.selEnd);

    if (open) Chart1->setMarker(r.markerX);

    QString counted;
    if (open) {
        const int from = e.countedFrom(), to = e.lastFrameRead();
        counted = from == to ? tr("Counted: frame %1").arg(from)
                             : tr("Counted: frames %1 to %2").arg(from).arg(to);
        if (e.autoCountStopped())
            counted += tr(" (automatic count cancelled before frame %1)").arg(e.autoCountTarget());
    }
    statusBarPanel->setCountedFrames(counted);
    showFrameWidthNote();
    followFrameWidth();
}

void TfrmRecord::showFrameWidthNote() {
    // The picture has changed width since the frame shown was read: its counts were made with
    // frames of the old width, and the next move starts them afresh with the new one.
    const int read = engine_->isOpen() ? engine_->readFrameWidth() : 0;
    const int now = std::clamp(PaintBox1->width(), 1, int(maxFrameWidth));
    const bool changed = read > 0 && read != now;
    statusBarPanel->setFrameWidthNote(
        changed ? tr("The counts shown were made with frames of %1 lines; the next move starts "
                     "afresh with frames of %2 lines.")
                      .arg(read)
                      .arg(now)
                : QString());
}

void TfrmRecord::showSessionReport() {
    const SessionReport& report = engine_->report();
    for (int c = 1; c <= 4; ++c) {
        Chart1->setCurve(c, c <= report.channelCount ? report.curves[c]
                                                     : std::vector<std::pair<double, double>>{});
        // A caption holds the counter's name, its class chooser beside it: a long name is
        // elided, whole in the tool tip with the report's class.
        const QString name = fromUtf8(report.counterNames[c]);
        LabeledEditLabel[c]->setText(LabeledEditLabel[c]->fontMetrics().elidedText(
            name, Qt::ElideRight,
            Panel3->width() - captionLeft - 2 - classChooser[c]->width() - 4));
        LabeledEditLabel[c]->setToolTip(fromUtf8(report.counterCaptions[c]));
    }
    Chart1->setSessionSpan(engine_->sessionStart(),
                           timeOfLine(engine_->sessionStart(), engine_->lineCount()));
    QStringList names;
    for (int c = 1; c <= report.channelCount; ++c) names << fromUtf8(report.counterNames[c]);
    ChartChannels->setChannels(names);
    orderTabs();
    showChartChannel(1);
    classChoices->setSession(report.sizeGroup, report.counterNames, report.channelCount);
    showRecordedTotals();
    stillaafteljara();
}

bool TfrmRecord::OpenBlbFile(const QString& imagefile, bool chosenAsCompressed) {
    // Every opening starts as the program does: the settings set with its built-in values (so
    // never a counter type from the store) and a new engine. The session shown stays until the
    // new one has opened.
    const Tsett kept = settings_;
    settings_ = Tsett{};
    auto next = std::make_unique<ReplayEngine>(settings_, store_);
    next->setExplaining(true);
    next->onFrameRead = engine_->onFrameRead;
    next->setFrameWidth(std::clamp(PaintBox1->width(), 1, int(maxFrameWidth)));
    pendingPosition_.reset();
    QString failure;
    bool opened = false;
    try {
        // The busy cursor ends before any message box shows.
        LongWork busy(this, tr("Opening %1 ...").arg(imagefile), false, progressDelayMs);
        opened =
            next->OpenBlbFile(fileSystemName(imagefile), chosenAsCompressed,
                              [&busy](int64_t done, int64_t total) { busy.progress(done, total); });
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = tr("An unexpected error ended the opening of %1.").arg(imagefile);
    }
    if (!opened) {
        settings_ = kept;
        // The message as the program has always put it, with the file it looked for below it.
        if (failure.isEmpty() && !next->message().empty())
            failure = fromUtf8(next->message()) + "\n" +
                      QDir::toNativeSeparators(
                          fromFileSystemName(reportFileName(fileSystemName(imagefile))));
        if (engine_->isOpen())
            failure += "\n\n" + tr("%1 was not opened; %2 stays open.")
                                    .arg(QDir::toNativeSeparators(imagefile),
                                         QFileInfo(recordingFile_).fileName());
        if (!failure.isEmpty()) showError(failure);
        if (!engine_->isOpen()) PaintBox1->clearPicture();
        return false;
    }
    installEngine(std::move(next));
    recordingFile_ = imagefile;
    showSessionReport();
    showEngineState();
    drawCurrentFrame();
    statusBarPanel->setReportNotes(reportNotesText(engine_->report()));
    startBackgroundCount();
    if (const int64_t damaged = engine_->damagedLines(); damaged > 0) {
        const QString lines =
            damaged == 1 ? tr("1 damaged line") : tr("%1 damaged lines").arg(damaged);
        messages_.show(this, MessageKind::warning,
                       tr("%1 has %2; the first is line %3. Damaged lines are shown as far as "
                          "they could be read.")
                           .arg(fromFileSystemName(engine_->recordingName()), lines)
                           .arg(engine_->firstDamagedLine()));
    }
    return true;
}

std::optional<TfrmRecord::ChosenRecording> TfrmRecord::runOpenDialog() {
    const QStringList filters{tr("Image file (*.blb)"), tr("Compressed file (*.blc)")};
    QFileDialog OpenDialog1(this, tr("Open a recording"));
    OpenDialog1.setObjectName("OpenDialog1");
    OpenDialog1.setFileMode(QFileDialog::ExistingFile);
    OpenDialog1.setNameFilters(filters);
    OpenDialog1.selectNameFilter(filters[0]);
    // The folder of the recording opened last, as the store remembers it.
    if (store_ != nullptr) {
        if (const auto folder = store_->readText("lastfolderopend"); folder && !folder->empty()) {
            OpenDialog1.setDirectory(fromFileSystemName(*folder));
        }
    }
    if (OpenDialog1.exec() != QDialog::Accepted || OpenDialog1.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ChosenRecording{OpenDialog1.selectedFiles().front(),
                           OpenDialog1.selectedNameFilter() == filters[1]};
}

void TfrmRecord::Timer1Timer() {
    Timer1->stop();
    if (!recordingArgument_.isEmpty()) {
        emit openingFinished(OpenBlbFile(recordingArgument_, false));
        return;
    }
    const std::optional<ChosenRecording> chosen =
        chooseRecording ? chooseRecording() : runOpenDialog();
    if (!chosen) {
        close();
        return;
    }
    emit openingFinished(OpenBlbFile(chosen->fileName, chosen->compressed));
}

void TfrmRecord::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        openingGate->windowShown();
    }
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

void TfrmRecord::beginbtnClick() {
    runHandler([this] { engine_->beginbtnClick(); });
}

void TfrmRecord::backwardbtnClick() {
    runHandler([this] { engine_->backwardbtnClick(); });
}

void TfrmRecord::FarwardbtnClick() {
    runHandler([this] { engine_->FarwardbtnClick(); });
}

void TfrmRecord::endbtnClick() {
    runHandler([this] { engine_->endbtnClick(); });
}

void TfrmRecord::AutocountbtnClick() {
    const bool runs = engine_->autocountImage() == 5;
    const bool beforeMark =
        runs && engine_->isOpen() && engine_->currentFrame() <= engine_->autoCountStart();
    if (beforeMark && markWarnedAt_ != engine_->currentFrame()) {
        // The mark stays: the user may go on to it, or press A here again to mark this frame.
        markWarnedAt_ = engine_->currentFrame();
        navigation_[autocountAction]->setChecked(true);
        countedFrames->setText(
            tr("The mark is after this frame: go back to it, or set the mark again"));
        return;
    }
    runHandler([this, runs, beforeMark] {
        if (beforeMark) {
            // The second press here: the old mark goes and this frame is marked.
            engine_->AutocountbtnClick();
            engine_->AutocountbtnClick();
            return;
        }
        if (!runs) {
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

void TfrmRecord::TrackBar1Change(int position) {
    if (thumbSetByProgram) return;
    if (TrackBar1->isSliderDown()) {
        const bool waiting = pendingPosition_.has_value();
        pendingPosition_ = position;
        if (!waiting)
            QMetaObject::invokeMethod(this, &TfrmRecord::readPendingPosition, Qt::QueuedConnection);
        return;
    }
    readThumbPosition(position);
}

void TfrmRecord::readPendingPosition() {
    if (!pendingPosition_) return;
    const int position = *pendingPosition_;
    readThumbPosition(position);
}

void TfrmRecord::readThumbPosition(int position) {
    const int shownMaximum = TrackBar1->maximum();
    runHandler([this, position, shownMaximum] {
        // Frames of a new width may give the bar a new maximum: the thumb keeps its share of it.
        const int maximum = engine_->trackBar().maximum;
        engine_->TrackBar1Change(
            maximum == shownMaximum ? position : positionForFrame(position, shownMaximum, maximum));
    });
}

void TfrmRecord::gotobtnClick() {
    if (!engine_->isOpen()) return;
    std::optional<QString> text;
    if (askGoTo) {
        text = askGoTo();
    } else {
        // The frames are those of the picture's width now.
        runHandler([] {});
        const ReplayEngine& e = *engine_;
        const double start = e.sessionStart();
        const double end = timeOfLine(start, e.lineCount());
        const QString span =
            tr("The recording runs from %1 to %2, frames 1 to %3.")
                .arg(fromUtf8(formatTimeOfDay(start)), fromUtf8(formatTimeOfDay(end)))
                .arg(e.frameCount());
        GoToDialog dialog(this, span, Label2->text());
        if (dialog.exec() == QDialog::Accepted) text = dialog.text();
    }
    if (!text) return;
    const std::optional<GoToTarget> target = parseGoToTarget(text->toStdString());
    if (!target) {
        showError(tr("\"%1\" is neither a time hh:mm:ss nor a frame number.").arg(*text));
        return;
    }
    runHandler([this, &target] {
        if (target->kind == GoToTarget::Kind::frame) {
            engine_->goToFrame(target->value);
        } else {
            engine_->goToTimeOfDay(target->value);
        }
    });
}

void TfrmRecord::openbtnClick() {
    const std::optional<ChosenRecording> chosen =
        chooseRecording ? chooseRecording() : runOpenDialog();
    if (!chosen) return;
    OpenBlbFile(chosen->fileName, chosen->compressed);
}

void TfrmRecord::installEngine(std::unique_ptr<ReplayEngine> next) {
    stopBackgroundCount();
    engine_->onFrameDrawn = nullptr;
    engine_ = std::move(next);
    engine_->onFrameDrawn = [this] { drawCurrentFrame(); };
    pendingPosition_.reset();
    recordingFile_.clear();
    for (int c = 1; c <= 4; ++c) {
        Chart1->setCurve(c, {});
        LabeledEditLabel[c]->clear();
        LabeledEditLabel[c]->setToolTip(QString());
        RecordedLabel[c]->clear();
    }
    Chart1->clearReplayCurves();
    Chart1->hideCountProgress();
    Chart1->showOnly(1);
    Chart1->setChannelName(QString());
    ChartChannels->setChannels({});
    Chart1->clearMarker();
    Chart1->setSessionSpan(0, 0);
    ComparisonLine->clear();
    ComparisonLine->hide();
    wholeCount_.reset();
    wholeCountWidth_ = 0;
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
}

void TfrmRecord::helpbtnClick() {
    const bool show = !helpShown();
    pageStack->setCurrentWidget(show ? static_cast<QWidget*>(helpPage) : Panel2);
    help_->setChecked(show);
    if (show) helpPage->setFocus();
}

bool TfrmRecord::helpShown() const {
    return pageStack->currentWidget() == helpPage;
}

void TfrmRecord::PaintBox1Gesture(StrokeGesture gesture) {
    switch (gesture) {
        case StrokeGesture::sgiLeft:
            FarwardbtnClick();
            break;
        case StrokeGesture::sgiRight:
            backwardbtnClick();
            break;
        case StrokeGesture::sgiChevronLeft:
            beginbtnClick();
            break;
        case StrokeGesture::sgiChevronRight:
            endbtnClick();
            break;
        case StrokeGesture::sgiUp:
        case StrokeGesture::sgiDown:
            AutocountbtnClick();
            break;
        case StrokeGesture::none:
            break;
    }
}

void TfrmRecord::Chart1Click() {
    const int channels = engine_->isOpen() ? engine_->report().channelCount : 1;
    if (channels <= 1) return;
    int k = Chart1->firstShown(channels);
    if (k < 0) k = channels - 1;
    Chart1->setShown(k, false);
    k = k + 1;
    if (k > channels - 1) k = 0;
    Chart1->setShown(k, true);
    Chart1->setChannelName(fromUtf8(engine_->report().counterNames[k + 1]));
    ChartChannels->setCurrent(k + 1);
}

// The chart shows channel c alone, named, and the selector beside it holds c down.
void TfrmRecord::showChartChannel(int c) {
    if (!engine_->isOpen() || c < 1 || c > engine_->report().channelCount) return;
    Chart1->showOnly(c);
    Chart1->setChannelName(fromUtf8(engine_->report().counterNames[c]));
    ChartChannels->setCurrent(c);
}

// A click on the chart's plot goes to the time clicked, as Go to does.
void TfrmRecord::chartTimeClicked(double dayFraction) {
    if (!engine_->isOpen()) return;
    const int32_t seconds = int32_t(std::lround(dayFraction * 86400.0)) % 86400;
    runHandler([this, seconds] { engine_->goToTimeOfDay(seconds); });
}

void TfrmRecord::SpeedButton2Click() {
    close();
}

}  // namespace velkor
