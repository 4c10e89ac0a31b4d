// The marks on the picture that explain a frame's counts: every object that ended in the frame
// gets a frame around its extent, in its channel's colour with its running number when it was
// counted, dashed grey with a short reason when it was not. An object that began in an earlier
// frame is marked with the part inside this frame, its left side open. The marks keep copies of
// the ended objects they were drawn from, so a tooltip always explains what the picture shows.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "replay/frame_endings.h"
#include "ui/picture/frame_painter.h"
#include "ui/picture/label_placement.h"

namespace velkor {

// Channel colours of counted marks (entries 1..4), chosen apart from the navy strokes.
QRgb channelMarkColour(int32_t channel);
inline constexpr QRgb rejectedMarkColour = 0xFF707070;

// Where the ended objects of a frame lie in a picture W x H.
// A piece of a split object, whatever the reason it was not counted on its own.
inline bool isPieceVerdict(EndingVerdict verdict) {
    return static_cast<int>(verdict) >= static_cast<int>(EndingVerdict::pieceOfSameFish);
}

// Whether a mark of `verdict` answers the verdict asked for: the pieces of every kind answer for
// one another, since the verdicts list them together.
inline bool answersVerdict(EndingVerdict verdict, EndingVerdict asked) {
    return verdict == asked || (isPieceVerdict(verdict) && isPieceVerdict(asked));
}

struct MarkFrame {
    int32_t frameFirstLine = 1;
    int32_t columns = 0;  // lines of the frame in the picture
    int32_t scanLeftEdge = 0;
    int32_t scanRightEdge = 511;
    int32_t height = 0;  // H
};

// The frame `source` holds as drawn into `picture`, its first line `frameFirstLine`: as many
// columns as the frame has lines, the picture is wide and a frame can be.
MarkFrame markFrameOf(const FramePictureSource& source, int32_t frameFirstLine,
                      const QImage& picture);

// The picture rectangle of an ended object's extent: columns of its lines in this frame and
// rows of pixels xv .. xh. Its last segment lies on the line before the one it ended on, so it
// spans lines (line - lengd) .. (line - 1). `partial` is set when it began in an earlier frame;
// an object whose lines all lie in earlier frames keeps a narrow mark at the left edge.
struct MarkPlace {
    QRect rect;
    bool partial = false;
};
MarkPlace markPlace(const EndedObject& e, const MarkFrame& frame);

// The box drawn for a mark: at least `minSide` pixels each way, grown about its middle and kept
// inside a picture `width` wide, so an object only a line or two long is still seen.
QRect drawnMarkRect(const QRect& mark, int minSide, int width);

// Where a mark's label of `labelWidth` x `labelHeight` may go, in the order tried: above the
// mark, below it, right of it, left of it. Above and below are moved left as far as needed to stay
// inside a picture `width` wide, so a mark at the right edge keeps its label.
std::array<QRect, 4> labelCandidates(const QRect& mark, int labelWidth, int labelHeight, int width);

// The tooltip: the verdict, the measures beside the channel's limits, edge angles, shape state,
// split group and extent. `counterName` is the channel's counter name.
QString explainEnding(const EndedObject& e, const QString& counterName);

// One line for the frame: "Counted 12, rejected 3: 2 too short, 1 too wide".
QString frameSummaryText(const FrameEndings& endings);

class EndingMarks {
public:
    EndingMarks();

    // Draws the marks of `endings` over the picture and keeps them for markAt.
    void draw(QImage& picture, const FrameEndings& endings, const MarkFrame& frame,
              const std::array<QString, 5>& counterNames);
    void clear() {
        marks_.clear();
        labels_ = {};
    }
    // Where the channel dividers lie in the picture: no label covers them.
    void setDividers(const DividerBands& dividers) { dividers_ = dividers; }
    // Marks of `verdict` on `channel` get a wide yellow frame besides (channel 0: none).
    void setHighlight(int32_t channel, EndingVerdict verdict) {
        highlightChannel_ = channel;
        highlightVerdict_ = verdict;
    }
    bool highlighted(int mark) const {
        return marks_[mark].ended.ending.channel == highlightChannel_ &&
               answersVerdict(marks_[mark].ended.ending.verdict, highlightVerdict_);
    }

    // The label naming `mark`, with the marks of nearly the same box.
    const PlacedLabel* label(int mark) const {
        return mark >= 0 && mark < int(labels_.labelOf.size())
                   ? &labels_.labels[size_t(labels_.labelOf[size_t(mark)])]
                   : nullptr;
    }
    // The index of the innermost mark around `at`, or -1.
    int markAt(QPoint at) const;
    QString explain(int mark) const;
    int count() const { return static_cast<int>(marks_.size()); }
    const EndedObject& ended(int mark) const { return marks_[mark].ended; }
    QRect rect(int mark) const { return marks_[mark].place.rect; }

private:
    struct Mark {
        EndedObject ended;
        MarkPlace place;
    };
    std::vector<Mark> marks_;  // reserved once for a frame's capacity
    std::vector<MarkLabel> labelRequests_;
    std::vector<QRect> keepClear_;
    DividerBands dividers_;
    std::vector<QColor> labelColours_;
    LabelLayout labels_;
    std::array<QString, 5> counterNames_;
    int32_t highlightChannel_ = 0;
    EndingVerdict highlightVerdict_ = EndingVerdict::counted;
};

}  // namespace velkor
