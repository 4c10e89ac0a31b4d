// The navigation bar: the track bar's strip and the tool bar, their actions with keys and tool
// tips, and the mirror of the engine's moves.
#include "ui/navigation/navigation_bar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/navigation/button_icons.h"
#include "ui/navigation/selection_track_bar.h"

namespace velkor {
namespace {

constexpr int stripHeight = 45;

}  // namespace

NavigationBar::NavigationBar(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildTrackBar();
    column->addWidget(Panel4);
    buildToolBar();
    column->addWidget(ToolBar1);
}

void NavigationBar::buildTrackBar() {
    Panel4 = new QWidget(this);
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
    connect(TrackBar1, &QSlider::valueChanged, this, &NavigationBar::trackBarChanged);
    trackRow->addWidget(TrackBar1);
}

QAction* NavigationBar::makeAction(const QIcon& icon, const QString& text) {
    auto* action = new QAction(icon, text, this);
    windowActions << action;
    return action;
}

void NavigationBar::buildToolBar() {
    ToolBar1 = new QToolBar(this);
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
    const std::array<QToolButton**, 5> buttons{&beginbtn, &backwardbtn, &Farwardbtn, &endbtn,
                                               &autocountbtn};
    for (int i = 0; i < 5; ++i) {
        QAction* action = makeAction(designs[i].icon, designs[i].text);
        action->setShortcuts(designs[i].keys);
        action->setToolTip(QString("%1 (%2)").arg(designs[i].text, designs[i].keyText));
        if (i == forward)
            action->setToolTip(tr("Next frame, counting on (%1)").arg(designs[i].keyText));
        if (i == autocount)
            action->setToolTip(
                tr("Automatic count: the first press marks the frame shown, the second counts "
                   "every frame from the mark up to the frame shown then (%1)")
                    .arg(designs[i].keyText));
        action->setCheckable(i == autocount);
        *buttons[i] = addToolButton(designs[i].name, action, 68);
        navigation[size_t(i)] = action;
    }
    goTo = makeAction(goToIcon(), tr("Go to a time or a frame"));
    goTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    goTo->setToolTip(tr("Go to a time (hh:mm:ss) or a frame number (%1)")
                         .arg(goTo->shortcut().toString(QKeySequence::NativeText)));
    gotobtn = addToolButton("gotobtn", goTo, 68);

    copy = makeAction(QIcon(), tr("Copy the comparison"));
    copy->setShortcut(QKeySequence::Copy);

    open = makeAction(style()->standardIcon(QStyle::SP_DialogOpenButton), tr("&Open\u2026"));
    open->setShortcut(QKeySequence::Open);
    open->setToolTip(
        tr("Open another recording (%1)").arg(open->shortcut().toString(QKeySequence::NativeText)));
    openbtn = addToolButton("openbtn", open, 68);

    marks = makeAction(marksIcon(), tr("Marks"));
    marks->setCheckable(true);
    marks->setChecked(true);
    marks->setShortcut(QKeySequence(Qt::Key_E));
    marks->setToolTip(
        tr("Marks: a frame around every object that ended in the frame, in its channel's colour "
           "with its number when it was counted, dashed grey with the reason when it was not; "
           "rest the pointer on a mark or tap it to see why (E)"));
    marksbtn = addToolButton("marksbtn", marks, 68);
    ToolBar1->addSeparator();

    quit = makeAction(closeIcon(), tr("&Quit"));
    quit->setShortcut(QKeySequence::Quit);
    quit->setToolTip(tr("Close the window and end the program (%1)")
                         .arg(QKeySequence(QKeySequence::Quit).toString(QKeySequence::NativeText)));
    SpeedButton2 = addToolButton("SpeedButton2", quit, 49);

    help = makeAction(style()->standardIcon(QStyle::SP_DialogHelpButton), tr("&Help"));
    help->setCheckable(true);
    help->setShortcut(QKeySequence::HelpContents);
    help->setToolTip(tr("What the window shows and how to use it (%1)")
                         .arg(help->shortcut().toString(QKeySequence::NativeText)));
    helpbtn = addToolButton("helpbtn", help, 49);
}

QToolButton* NavigationBar::addToolButton(const char* name, QAction* action, int width) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setFixedSize(width, 43);
    button->setIconSize(QSize(32, 32));
    button->setFocusPolicy(Qt::NoFocus);
    ToolBar1->addWidget(button);
    return button;
}

void NavigationBar::addTo(WindowActions& menuActions) const {
    menuActions.navigation = navigation;
    menuActions.goTo = goTo;
    menuActions.copy = copy;
    menuActions.open = open;
    menuActions.marks = marks;
    menuActions.quit = quit;
    menuActions.help = help;
}

std::vector<QWidget*> NavigationBar::tabOrder() const {
    return {beginbtn, backwardbtn, Farwardbtn,   endbtn,  autocountbtn, gotobtn,
            openbtn,  marksbtn,    SpeedButton2, helpbtn, TrackBar1};
}

void NavigationBar::showState(const ReplayEngine& e) {
    const ReadOuts& r = e.readOuts();
    const bool open = e.isOpen();
    navigation[begin]->setEnabled(open && r.beginEnabled);
    navigation[backward]->setEnabled(open && r.backwardEnabled);
    navigation[forward]->setEnabled(open && r.forwardEnabled);
    navigation[end]->setEnabled(open && r.endEnabled);
    navigation[autocount]->setEnabled(open);
    const bool marked = e.autocountImage() == 5;
    navigation[autocount]->setChecked(marked);
    navigation[autocount]->setIcon(autocountIcon(e.autocountImage()));
    TrackBar1->setEnabled(open);
    goTo->setEnabled(open);

    // The engine's moves of the thumb are program moves: mirroring them reads nothing.
    const TrackBarState& t = e.trackBar();
    thumbSetByProgram_ = true;
    TrackBar1->setRange(t.minimum, t.maximum);
    TrackBar1->setValue(t.position);
    thumbSetByProgram_ = false;
    TrackBar1->setSelection(t.selStart, t.selEnd);
}

std::optional<NavigationBar::Move> NavigationBar::moveFor(StrokeGesture gesture) {
    switch (gesture) {
        case StrokeGesture::sgiLeft:
            return forward;
        case StrokeGesture::sgiRight:
            return backward;
        case StrokeGesture::sgiChevronLeft:
            return begin;
        case StrokeGesture::sgiChevronRight:
            return end;
        case StrokeGesture::sgiUp:
        case StrokeGesture::sgiDown:
            return autocount;
        case StrokeGesture::none:
            break;
    }
    return std::nullopt;
}

void NavigationBar::trackBarChanged(int position) {
    if (thumbSetByProgram_) return;
    if (TrackBar1->isSliderDown()) {
        const bool waiting = pendingPosition_.has_value();
        pendingPosition_ = position;
        if (!waiting)
            QMetaObject::invokeMethod(this, &NavigationBar::readPendingPosition,
                                      Qt::QueuedConnection);
        return;
    }
    emit positionChosen(position);
}

void NavigationBar::readPendingPosition() {
    if (!pendingPosition_) return;
    const int position = *pendingPosition_;
    emit positionChosen(position);
}

}  // namespace velkor
