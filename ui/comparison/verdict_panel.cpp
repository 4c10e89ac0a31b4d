// The verdict panel: a label per channel whose links step through the session's verdicts.
#include "ui/comparison/verdict_panel.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QStringList>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace velkor {

namespace {
// The whole-object verdicts that get a line of their own; pieces of splits are summed.
constexpr EndingVerdict shownVerdicts[] = {
    EndingVerdict::counted,   EndingVerdict::tooShort, EndingVerdict::tooLong,
    EndingVerdict::tooNarrow, EndingVerdict::tooWide,  EndingVerdict::tooSmall,
    EndingVerdict::tooLarge,
};
}  // namespace

QString verdictLinkText(int32_t channel, EndingVerdict verdict, int32_t objects) {
    const QString name = QString::fromUtf8(verdictText(verdict));
    if (objects == 0) return QStringLiteral("%1: 0").arg(name);
    const QString key = QStringLiteral("%1:%2").arg(channel).arg(static_cast<int>(verdict));
    return QStringLiteral(
               "<a href=\"prev:%1\">\u25C2</a> %2: %3 \u2014 <a href=\"next:%1\">next "
               "\u25B8</a>")
        .arg(key, name)
        .arg(objects);
}

QString piecesLinkText(int32_t channel, int32_t objects) {
    const QString name = QObject::tr("pieces");
    if (objects == 0) return QStringLiteral("%1: 0").arg(name);
    return QStringLiteral(
               "<a href=\"prev:%1:pieces\">\u25C2</a> %2: %3 \u2014 <a "
               "href=\"next:%1:pieces\">next "
               "\u25B8</a>")
        .arg(channel)
        .arg(name)
        .arg(objects);
}

namespace {
// The frame after (or before) `from` where a piece of any kind ended on `channel`, wrapping
// round at the ends; 0 when no piece ended there.
int32_t pieceFrame(const VerdictIndex& index, int32_t channel, int32_t from, bool forward) {
    int32_t found = 0, wrapped = 0;
    for (int v = 0; v < endingVerdictCount; ++v) {
        if (!isPieceVerdict(static_cast<EndingVerdict>(v))) continue;
        const std::vector<int32_t>& frames = index.frames(channel, static_cast<EndingVerdict>(v));
        if (frames.empty()) continue;
        if (forward) {
            const auto it = std::upper_bound(frames.begin(), frames.end(), from);
            if (it != frames.end()) found = found == 0 ? *it : std::min(found, *it);
            wrapped = wrapped == 0 ? frames.front() : std::min(wrapped, frames.front());
        } else {
            const auto it = std::lower_bound(frames.begin(), frames.end(), from);
            if (it != frames.begin()) found = std::max(found, *(it - 1));
            wrapped = std::max(wrapped, frames.back());
        }
    }
    return found != 0 ? found : wrapped;
}
}  // namespace

VerdictPanel::VerdictPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    note_ = new QLabel(this);
    layout->addWidget(note_);
    for (int c = 1; c <= 4; ++c) {
        channelLabels_[c] = new QLabel(this);
        channelLabels_[c]->setTextFormat(Qt::RichText);
        channelLabels_[c]->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                                   Qt::LinksAccessibleByKeyboard);
        connect(channelLabels_[c], &QLabel::linkActivated, this, &VerdictPanel::follow);
        layout->addWidget(channelLabels_[c]);
    }
    layout->addStretch(1);
    // A width of its own that no session's figures change: the picture beside it keeps its
    // width, and with it the frame width, when the tallies arrive.
    setFixedWidth(fontMetrics().horizontalAdvance(
                      QStringLiteral("\u25C2 too narrow: 0000000 \u2014 next \u25B8")) +
                  16);
    clear();
}

void VerdictPanel::clear() {
    index_.reset();
    note_->clear();  // nothing to say until the whole recording is counted
    for (int c = 1; c <= 4; ++c) channelLabels_[c]->hide();
}

void VerdictPanel::setSession(const BackgroundCount::Result& result,
                              const std::array<QString, 5>& names) {
    index_ = std::make_shared<const VerdictIndex>(result.verdictFrames);
    note_->setText(tr("Verdicts of the session"));
    for (int c = 1; c <= 4; ++c) {
        if (c > result.channelCount) {
            channelLabels_[c]->hide();
            continue;
        }
        QStringList lines{QStringLiteral("<b>%1</b>").arg(names[c].toHtmlEscaped())};
        for (EndingVerdict v : shownVerdicts)
            lines << verdictLinkText(c, v, result.verdicts[c][static_cast<int>(v)]);
        int32_t pieces = 0;
        for (int v = static_cast<int>(EndingVerdict::pieceOfSameFish); v < endingVerdictCount; ++v)
            pieces += result.verdicts[c][v];
        lines << piecesLinkText(c, pieces);
        channelLabels_[c]->setText(lines.join(QStringLiteral("<br>")));
        channelLabels_[c]->show();
    }
}

int32_t VerdictPanel::nextFrame(int32_t channel, EndingVerdict verdict) const {
    return index_ ? index_->next(channel, verdict, current_) : 0;
}

int32_t VerdictPanel::previousFrame(int32_t channel, EndingVerdict verdict) const {
    return index_ ? index_->previous(channel, verdict, current_) : 0;
}

int32_t VerdictPanel::nextPieceFrame(int32_t channel) const {
    return index_ ? pieceFrame(*index_, channel, current_, true) : 0;
}

int32_t VerdictPanel::previousPieceFrame(int32_t channel) const {
    return index_ ? pieceFrame(*index_, channel, current_, false) : 0;
}

void VerdictPanel::follow(const QString& link) {
    const QStringList parts = link.split(QLatin1Char(':'));
    if (parts.size() != 3) return;
    const int32_t channel = parts[1].toInt();
    const bool forward = parts[0] == QLatin1String("next");
    if (parts[2] == QLatin1String("pieces")) {
        if (frameShown) current_ = frameShown();
        const int32_t frame = forward ? nextPieceFrame(channel) : previousPieceFrame(channel);
        if (frame == 0) return;
        current_ = frame;
        // Marks of every kind of piece stand out there.
        emit frameRequested(frame, channel, EndingVerdict::pieceOfSameFish);
        return;
    }
    const int v = parts[2].toInt();
    if (v < 0 || v >= endingVerdictCount) return;
    const auto verdict = static_cast<EndingVerdict>(v);
    if (frameShown) current_ = frameShown();
    const int32_t frame = parts[0] == QLatin1String("next") ? nextFrame(channel, verdict)
                                                            : previousFrame(channel, verdict);
    if (frame == 0) return;
    current_ = frame;
    emit frameRequested(frame, channel, verdict);
}

std::vector<QWidget*> VerdictPanel::linkLabels() const {
    return {channelLabels_[1], channelLabels_[2], channelLabels_[3], channelLabels_[4]};
}

QString VerdictPanel::text() const {
    QStringList lines{note_->text()};
    for (int c = 1; c <= 4; ++c) {
        if (channelLabels_[c]->isHidden()) continue;
        QTextDocument doc;
        doc.setHtml(channelLabels_[c]->text());
        lines << doc.toPlainText();
    }
    return lines.join(QLatin1Char('\n'));
}

QAction* addVerdictDock(QMainWindow* window, VerdictPanel* panel) {
    auto* dock = new QDockWidget(QObject::tr("Verdicts"), window);
    dock->setObjectName(QStringLiteral("verdictDock"));
    dock->setWidget(panel);
    window->addDockWidget(Qt::RightDockWidgetArea, dock);
    return dock->toggleViewAction();
}

}  // namespace velkor
