// The status bar under the picture: a row of read-outs that wrap rather than get cut.
#include "ui/window/status_bar_panel.h"

#include <QBoxLayout>
#include <QLabel>
#include <algorithm>

#include "io/counter_constants.h"
#include "replay/replay_engine.h"

namespace velkor {

QString frameWidthText(int lines) {
    if (lines <= 0) return QString();
    return (lines == 1 ? QObject::tr("frames of %1 line = %2 s")
                       : QObject::tr("frames of %1 lines = %2 s"))
        .arg(lines)
        .arg(double(lines) / linesPerSecond, 0, 'f', 2);
}

QString capacityText(const std::optional<int>& fishPerMinute, const QString& channel) {
    if (!fishPerMinute) return QString();
    if (channel.isEmpty())
        return QObject::tr("capacity %1 fish/min at this frame width").arg(*fishPerMinute);
    return QObject::tr("%1: capacity %2 fish/min at this frame width")
        .arg(channel)
        .arg(*fishPerMinute);
}

namespace {

QLabel* readOut(QWidget* parent, const char* name, const QString& tip) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    // Wrapping lets the bar grow a line instead of asking the window for width or cutting text.
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    return label;
}

}  // namespace

StatusBarPanel::StatusBarPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("statusBarPanel");
    countedFrames = readOut(this, "countedFrames", tr("The frames whose fish the counters hold"));
    frameWidth = readOut(this, "frameWidth",
                         tr("The lines of a frame: the picture's width. velkor-count gives the "
                            "same numbers with --frame-width and this number of lines."));
    capacity = readOut(this, "capacity",
                       tr("Channel 1's capacity at this frame width: above it, a frame is "
                          "crowded"));
    frameSummary = readOut(this, "frameSummary",
                      tr("The objects that ended in this frame: counted, and not counted by "
                         "reason"));
    frameWidthNote = readOut(this, "frameWidthNote", QString());
    messageLine = readOut(this, "statusMessage", QString());
    reportNotes = readOut(this, "reportNotes",
                          tr("Values of the session report that could not be read, and what was "
                             "counted with in their place"));
    QFont bold = messageLine->font();
    bold.setBold(true);
    messageLine->setFont(bold);

    // Two rows: the steady read-outs, then the texts that come and go. Box layouts pass the
    // height a wrapped text needs at its width on to the window.
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(6, 2, 6, 2);
    rows->setSpacing(0);
    auto* steady = new QHBoxLayout;
    steady->setSpacing(16);
    steady->addWidget(countedFrames, 2);
    steady->addWidget(frameWidth, 2);
    steady->addWidget(capacity, 3);
    steady->addWidget(frameSummary, 4);
    rows->addLayout(steady);
    auto* passing = new QHBoxLayout;
    passing->setSpacing(16);
    passing->addWidget(frameWidthNote, 4);
    passing->addWidget(messageLine, 7);
    rows->addLayout(passing);
    rows->addWidget(reportNotes);
    frameWidthNote->hide();
    messageLine->hide();
    reportNotes->hide();
}

namespace {
void setShown(QLabel* label, const QString& text) {
    label->setText(text);
    label->setVisible(!text.isEmpty());
}
}  // namespace

void StatusBarPanel::setCountedFrames(const QString& text) {
    countedFrames->setText(text);
    fitHeight();
}
void StatusBarPanel::setFrameWidth(int lines) {
    frameWidth->setText(frameWidthText(lines));
    fitHeight();
}
void StatusBarPanel::setCapacity(const std::optional<int>& fishPerMinute, const QString& channel) {
    capacity->setText(capacityText(fishPerMinute, channel));
    fitHeight();
}
void StatusBarPanel::setSummary(const QString& text) {
    frameSummary->setText(text);
    fitHeight();
}
void StatusBarPanel::setFrameWidthNote(const QString& text) {
    setShown(frameWidthNote, text);
    fitHeight();
}
void StatusBarPanel::showMessage(const QString& text) {
    setShown(messageLine, text);
    fitHeight();
}
void StatusBarPanel::setReportNotes(const QString& text) {
    setShown(reportNotes, text);
    fitHeight();
}
QString StatusBarPanel::message() const {
    return messageLine->text();
}

void StatusBarPanel::fitHeight() {
    // The window's layout does not always ask again how high wrapped texts are at this width
    // after they change (a text shown in the middle of a resize is the case in point); a minimum
    // height it must respect makes it.
    layout()->activate();
    const int needed = layout()->heightForWidth(width());
    if (needed > 0 && needed != minimumHeight()) setMinimumHeight(needed);
}

void StatusBarPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitHeight();
}

void StatusBarPanel::showEngineState(const ReplayEngine& e) {
    const ReadOuts& r = e.readOuts();
    const bool open = e.isOpen();
    bool capacityRead = false;
    const int fishPerMinute = QString::fromStdString(r.caption).toInt(&capacityRead);
    setCapacity(open && capacityRead && e.lastFrameRead() > 0 ? std::optional<int>(fishPerMinute)
                                                              : std::nullopt,
                open ? QString::fromStdString(e.report().counterNames[1]) : QString());
    setFrameWidth(open ? e.readFrameWidth() : 0);
    QString counted;
    if (open) {
        const int from = e.countedFrom(), to = e.lastFrameRead();
        counted = from == to ? tr("Counted: frame %1").arg(from)
                             : tr("Counted: frames %1 to %2").arg(from).arg(to);
        if (e.autoCountStopped())
            counted += tr(" (automatic count cancelled before frame %1)").arg(e.autoCountTarget());
    }
    setCountedFrames(counted);
}

void StatusBarPanel::showFrameWidthNote(const ReplayEngine& engine, int pictureWidth) {
    // The picture has changed width since the frame shown was read: its counts were made with
    // frames of the old width, and the next move starts them afresh with the new one.
    const int read = engine.isOpen() ? engine.readFrameWidth() : 0;
    const int now = std::clamp(pictureWidth, 1, int(maxFrameWidth));
    setFrameWidthNote(read > 0 && read != now
                          ? tr("The counts shown were made with frames of %1 lines; the next "
                               "move starts afresh with frames of %2 lines.")
                                .arg(read)
                                .arg(now)
                          : QString());
}

void StatusBarPanel::clear() {
    countedFrames->clear();
    frameWidth->clear();
    capacity->clear();
    frameSummary->clear();
    setFrameWidthNote(QString());
    setReportNotes(QString());
    clearMessage();
}

}  // namespace velkor
