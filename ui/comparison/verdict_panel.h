// The session's verdicts beside the picture: per channel, how many objects of the whole recording
// were counted or rejected for each reason, as the background count found them, each with links
// to the next and the previous frame where an object of that verdict ends (wrapping at either
// end), so that the suspect places of a long session are found without stepping through it.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "replay/background_count.h"
#include "ui/picture/ending_marks.h"

class QAction;
class QMainWindow;

namespace velkor {

// "too large: 140 — next ▸" with a "◂" back link in front, as rich text with the links
// "prev:C:V" and "next:C:V"; a verdict without objects gets no links.
QString verdictLinkText(int32_t channel, EndingVerdict verdict, int32_t objects);
// "◂ pieces: 12 — next ▸", the pieces of splits of every kind together, with the links
// "prev:C:pieces" and "next:C:pieces".
QString piecesLinkText(int32_t channel, int32_t objects);

class VerdictPanel : public QWidget {
    Q_OBJECT
public:
    explicit VerdictPanel(QWidget* parent = nullptr);

    // Shows the tallies of a finished whole count, the channels captioned with `names`.
    void setSession(const BackgroundCount::Result& result, const std::array<QString, 5>& names);
    // No session counted (yet): the panel says so.
    void clear();
    // The frame the window shows; "next" and "back" go from here.
    void setCurrentFrame(int32_t frame) { current_ = frame; }
    // Asked for the frame shown before a link is followed, when set (the window's own frame).
    std::function<int32_t()> frameShown;

    // The frame the link "next"/"back" of a verdict leads to; 0 when there is none.
    int32_t nextFrame(int32_t channel, EndingVerdict verdict) const;
    int32_t previousFrame(int32_t channel, EndingVerdict verdict) const;
    // The same for the pieces of splits, whatever their verdict.
    int32_t nextPieceFrame(int32_t channel) const;
    int32_t previousPieceFrame(int32_t channel) const;
    // Follows a link of the form "next:C:V" or "prev:C:V" (V a verdict's number or "pieces").
    void follow(const QString& link);
    QString text() const;  // the panel's texts, plain, a line each; for tests
    // The labels whose links Tab goes through, in order.
    std::vector<QWidget*> linkLabels() const;

signals:
    // A link asks for `frame`, where an object of `verdict` on `channel` ends.
    void frameRequested(int32_t frame, int32_t channel, EndingVerdict verdict);

private:
    std::array<QLabel*, 5> channelLabels_{};
    QLabel* note_ = nullptr;
    std::shared_ptr<const VerdictIndex> index_;
    int32_t current_ = 0;
};

// Puts `panel` into the dock "Verdicts" at the right of `window`; the action that shows and hides
// the dock.
QAction* addVerdictDock(QMainWindow* window, VerdictPanel* panel);

}  // namespace velkor
