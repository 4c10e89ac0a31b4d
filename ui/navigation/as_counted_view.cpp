// The "As counted" view: the check button, the reading on with its progress, the status text.
#include "ui/navigation/as_counted_view.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>
#include <utility>

#include "ui/window/long_work.h"

namespace velkor {

bool shownAsCounted(const ReplayEngine& e) {
    return e.isOpen() && e.lastFrameRead() > 0 && e.countedFrom() == 1 &&
           e.lastFrameRead() == e.currentFrame() && e.readFrameWidth() == e.frameWidth();
}

QString countedAsText(const ReplayEngine& e) {
    if (!e.isOpen() || e.lastFrameRead() == 0) return QString();
    return e.countedFrom() == 1 ? AsCountedView::tr(", as counted from the start")
                                : AsCountedView::tr(", counted from frame %1").arg(e.countedFrom());
}

AsCountedView::AsCountedView(QWidget* window, QToolBar* toolBar)
    : QObject(window), window_(window) {
    action = new QAction(tr("As &counted"), window);
    action->setObjectName("asCounted");
    action->setCheckable(true);
    action->setShortcut(QKeySequence(Qt::Key_C));
    action->setToolTip(
        tr("As counted: every frame you go to shows the marks and totals the continuous count "
           "from the first frame had there; off, a jump counts afresh from its frame (C)"));
    button = new QToolButton(toolBar);
    button->setObjectName("ascountedbtn");
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFixedSize(68, 43);
    button->setFocusPolicy(Qt::NoFocus);
    QAction* before = nullptr;
    for (QAction* a : toolBar->actions())
        if (a->isSeparator()) {
            before = a;
            break;
        }
    toolBar->insertWidget(before, button);
}

bool AsCountedView::on() const {
    return action->isChecked();
}

SeekOutcome AsCountedView::showFrame(ReplayEngine& engine,
                                     std::shared_ptr<const CheckpointStore> store, int32_t frame,
                                     int delayMs) {
    if (!engine.isOpen()) return SeekOutcome::otherCount;
    // A count of other frames or classes than the engine reads now cannot be followed (it is
    // started again after this move): read on from frame 1 instead.
    if (!store || store->frameWidth() != engine.frameWidth() ||
        store->classOverrides() != engine.classOverrides())
        store = std::make_shared<CheckpointStore>(engine.frameWidth(), engine.classOverrides());
    LongWork busy(window_, tr("Reading on to frame %1 as it was counted ...").arg(frame), true,
                  delayMs);
    const SeekOutcome outcome =
        readAsCounted(engine, *store, frame, [&busy](int32_t done, int32_t total) {
            busy.progress(done, total);
            return !busy.cancelled();
        });
    // Cancelled, the engine holds the count after the last frame read on: that frame is shown.
    if (outcome == SeekOutcome::cancelled && engine.onFrameDrawn && engine.drawEnabled())
        engine.onFrameDrawn();
    return outcome;
}

void AsCountedView::follow(ReplayEngine& engine, std::shared_ptr<const CheckpointStore> store,
                           int delayMs) {
    if (on() && engine.isOpen() && !shownAsCounted(engine))
        showFrame(engine, std::move(store), engine.currentFrame(), delayMs);
}

}  // namespace velkor
