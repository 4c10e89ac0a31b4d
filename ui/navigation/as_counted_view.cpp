// The "As counted" view: the check button, the reading on with its progress, the status text.
#include "ui/navigation/as_counted_view.h"

#include <QAction>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>
#include <utility>

#include "ui/window/long_work.h"

namespace velkor {
namespace {

// Three frames in a row with the count running on through them from the first: an arrow under
// them from the left edge to the last frame.
QIcon asCountedIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
    for (int i = 0; i < 3; ++i) p.drawRect(QRectF(2.5 + 9.5 * i, 5.5, 8, 13));
    p.setBrush(QColor(0x10, 0x60, 0xB0));
    p.fillRect(QRectF(21.5, 6.5, 7, 12), QColor(0x10, 0x60, 0xB0));
    p.setPen(QPen(QColor(0x10, 0x60, 0xB0), 2.2));
    p.drawLine(QPointF(3, 25), QPointF(26, 25));
    p.drawPolygon(QPolygonF({QPointF(30, 25), QPointF(24, 21.5), QPointF(24, 28.5)}));
    return QIcon(pixmap);
}

}  // namespace

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
    action = new QAction(asCountedIcon(), tr("As &counted"), window);
    action->setObjectName("asCounted");
    action->setCheckable(true);
    action->setShortcut(QKeySequence(Qt::Key_C));
    window->addAction(action);  // the key works wherever the window has the focus
    action->setToolTip(
        tr("As counted: every frame you go to shows the marks and totals the continuous count "
           "from the first frame had there; off, a jump counts afresh from its frame (C)"));
    button = new QToolButton(toolBar);
    button->setObjectName("ascountedbtn");
    button->setDefaultAction(action);
    button->setFixedSize(49, 43);
    button->setIconSize(QSize(32, 32));
    button->setFocusPolicy(Qt::NoFocus);
    // Last, so that a narrow window hides it behind the bar's arrow before Quit and Help.
    toolBar->addWidget(button);
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
