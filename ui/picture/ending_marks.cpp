// Marks of the ended objects: their places, drawing with labels placed by placeLabels, the
// tooltip text and the frame's one-line summary.
#include "ui/picture/ending_marks.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "io/counter_constants.h"
#include "ui/picture/picture_geometry.h"

namespace velkor {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("EndingMarks", text);
}

// The lines of a mark's frame just outside `r`; the left side stays open for a partial mark.
void frameLines(QPainter& p, const QRect& r, bool openLeft, int outset) {
    const int left = r.left() - outset, right = r.right() + outset;
    const int top = r.top() - outset, bottom = r.bottom() + outset;
    p.drawLine(left, top, right, top);
    p.drawLine(right, top, right, bottom);
    p.drawLine(left, bottom, right, bottom);
    if (!openLeft) p.drawLine(left, top, left, bottom);
}

QString range(int32_t from, int32_t to) {
    return QString("%1 … %2").arg(from).arg(to);
}

}  // namespace

MarkFrame markFrameOf(const FramePictureSource& source, int32_t frameFirstLine,
                      const QImage& picture) {
    MarkFrame frame;
    frame.frameFirstLine = frameFirstLine;
    frame.columns = std::min({source.frameColumn, int32_t(picture.width()), maxFrameWidth});
    frame.scanLeftEdge = source.scanLeftEdge;
    frame.scanRightEdge = source.scanRightEdge;
    frame.height = picture.height();
    return frame;
}

QRgb channelMarkColour(int32_t channel) {
    static constexpr QRgb colours[5] = {0xFF1A9641, 0xFF1A9641, 0xFFD35400, 0xFFC51B7D, 0xFF00897B};
    return colours[channel >= 1 && channel <= 4 ? channel : 0];
}

MarkPlace markPlace(const EndedObject& e, const MarkFrame& frame) {
    const tskepna& o = e.ending.object;
    // Lines as 64-bit: a damaged record's length may be anything.
    const int64_t lastLine = int64_t(e.line) - 1;
    const int64_t firstLine = int64_t(e.line) - o.lengd;
    int64_t first = firstLine - frame.frameFirstLine;
    int64_t last = lastLine - frame.frameFirstLine;
    MarkPlace place;
    place.partial = first < 0;
    first = std::max<int64_t>(first, 0);
    // Wholly in earlier frames: a narrow mark at the left edge still shows the verdict.
    if (last < first) last = std::min<int64_t>(first + 2, frame.columns - 1);
    last = std::max<int64_t>(std::min<int64_t>(last, frame.columns - 1), first);
    const int32_t top = skal(o.xv, frame.scanLeftEdge, frame.scanRightEdge, frame.height);
    const int32_t bottom = skal(o.xh, frame.scanLeftEdge, frame.scanRightEdge, frame.height);
    place.rect =
        QRect(QPoint(int(first), std::min(top, bottom)),
              QPoint(int(last), std::max(std::max(top, bottom) - 1, std::min(top, bottom))));
    return place;
}

QRect drawnMarkRect(const QRect& mark, int minSide, int width) {
    QRect r = mark;
    if (r.width() < minSide) {
        const int left =
            std::clamp(r.center().x() - (minSide - 1) / 2, 0, std::max(0, width - minSide));
        r.setLeft(left);
        r.setWidth(minSide);
    }
    if (r.height() < minSide) {
        r.setTop(r.center().y() - (minSide - 1) / 2);
        r.setHeight(minSide);
    }
    return r;
}

std::array<QRect, 4> labelCandidates(const QRect& mark, int labelWidth, int labelHeight,
                                     int width) {
    const int x = std::clamp(mark.left() - 2, 0, std::max(0, width - labelWidth));
    return {QRect(x, mark.top() - 3 - labelHeight, labelWidth, labelHeight),
            QRect(x, mark.bottom() + 4, labelWidth, labelHeight),
            QRect(mark.right() + 4, mark.top(), labelWidth, labelHeight),
            QRect(mark.left() - 4 - labelWidth, mark.top(), labelWidth, labelHeight)};
}

QString explainEnding(const EndedObject& e, const QString& counterName) {
    const ObjectEnding& x = e.ending;
    const tskepna& o = x.object;
    const ChannelLimits& l = x.limits;
    QStringList lines;
    if (x.verdict == EndingVerdict::counted) {
        lines << tr("counted as no. %1 in %2").arg(e.number).arg(counterName);
    } else if (o.klofinn != 0) {
        lines << tr("not counted alone: %1 (%2); its area goes to the other pieces of split "
                    "group %3")
                     .arg(QString::fromUtf8(verdictText(x.verdict)), counterName)
                     .arg(o.klofinn);
    } else {
        lines << tr("not counted: %1 (%2)")
                     .arg(QString::fromUtf8(verdictText(x.verdict)), counterName);
    }
    lines << tr("length %1 lines (limits %2)").arg(o.lengd).arg(range(l.minLength, l.maxLength));
    lines << tr("width %1 px (%2)").arg(o.breidd).arg(range(l.minWidth, l.maxWidth));
    lines << tr("area %1 (%2)").arg(o.flatarmal).arg(range(l.minArea, l.maxArea));
    lines << tr("edge angles: left %1°, right %2°").arg(o.vsn).arg(o.hsn);
    lines << (x.cut ? tr("shape state %1: cut off from the body that follows it").arg(o.astand)
                    : tr("shape state %1").arg(o.astand));
    if (o.klofinn != 0) {
        lines << tr("split group %1: own length %2 lines, own area %3%4")
                     .arg(o.klofinn)
                     .arg(o.sjalfs_lengd)
                     .arg(o.sjalfs_flat)
                     .arg(o.K_sami_fiskur ? tr(", a piece of the same fish") : QString());
    } else {
        lines << tr("split group: none");
    }
    lines << tr("lines %1, pixels %2")
                 .arg(range(e.line - o.lengd, e.line - 1))
                 .arg(range(o.xv, o.xh));
    lines << tr("Counted when every measure is at least its lower limit and below its upper one.");
    return lines.join('\n');
}

QString frameSummaryText(const FrameEndings& endings) {
    const VerdictTally& t = endings.tally();
    std::array<int64_t, endingVerdictCount> byVerdict{};
    for (int c = 1; c <= maxChannels; ++c)
        for (int v = 0; v < endingVerdictCount; ++v) byVerdict[v] += t[c][v];
    int64_t rejected = 0;
    QStringList reasons;
    for (int v = 1; v < endingVerdictCount; ++v) {
        if (byVerdict[v] == 0) continue;
        rejected += byVerdict[v];
        reasons << QString("%1 %2")
                       .arg(byVerdict[v])
                       .arg(QString::fromUtf8(verdictText(static_cast<EndingVerdict>(v))));
    }
    QString line = tr("Counted %1, rejected %2").arg(byVerdict[0]).arg(rejected);
    if (!reasons.isEmpty()) line += ": " + reasons.join(", ");
    if (endings.size() < endings.total()) line += tr(" (the first %1 marked)").arg(endings.size());
    return line;
}

EndingMarks::EndingMarks() {
    marks_.reserve(FrameEndings::capacity);
}

void EndingMarks::draw(QImage& picture, const FrameEndings& endings, const MarkFrame& frame,
                       const std::array<QString, 5>& counterNames) {
    marks_.clear();
    labelRequests_.clear();
    labelColours_.clear();
    counterNames_ = counterNames;
    const int width = picture.width();

    QPainter p(&picture);
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font);

    QPen rejectedPen(QColor::fromRgb(rejectedMarkColour), 1, Qt::CustomDashLine);
    rejectedPen.setDashPattern({3, 2});
    const QColor labelBackground(255, 255, 255, 215);

    // The boxes first, so that the labels are placed clear of all of them.
    for (const EndedObject& e : endings) {
        const MarkPlace place = markPlace(e, frame);
        marks_.push_back({e, place});
        const QRect r = drawnMarkRect(place.rect, 4, width);
        const bool counted = e.ending.verdict == EndingVerdict::counted;
        if (e.ending.channel == highlightChannel_ &&
            answersVerdict(e.ending.verdict, highlightVerdict_)) {
            p.setPen(QPen(QColor(255, 200, 0), 3));
            p.drawRect(r.adjusted(-5, -5, 5, 5));
        }
        if (counted) {
            const QColor colour = QColor::fromRgb(channelMarkColour(e.ending.channel));
            p.setPen(QPen(colour, 1));
            frameLines(p, r, place.partial, 1);
            frameLines(p, r, place.partial, 2);
            labelRequests_.push_back({r, QString::number(e.number)});
            labelColours_.push_back(colour);
        } else {
            p.setPen(rejectedPen);
            frameLines(p, r, place.partial, 1);
            labelRequests_.push_back({r, QString::fromUtf8(verdictShortText(e.ending.verdict))});
            labelColours_.push_back(QColor::fromRgb(rejectedMarkColour));
        }
    }

    keepClear_.clear();
    for (int i = 0; i < dividers_.count; ++i) keepClear_.push_back(dividers_.bands[size_t(i)]);
    labels_ = placeLabels(
        labelRequests_,
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text) + 3; },
        metrics.height(), picture.size(), keepClear_);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const PlacedLabel& label : labels_.labels) {
        const QColor colour = labelColours_[size_t(label.marks.front())];
        if (!label.free) {
            // No room for the label: a small triangle in the box's upper left corner says that
            // the tooltip has it.
            const QRect box = labelRequests_[size_t(label.marks.front())].box;
            const QPoint corner = box.topLeft();
            const QPoint sign[] = {corner, corner + QPoint(6, 0), corner + QPoint(0, 6)};
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawPolygon(sign, 3);
            p.setBrush(Qt::NoBrush);
            continue;
        }
        p.fillRect(label.rect, labelBackground);
        p.setPen(colour);
        p.drawText(label.rect, Qt::AlignCenter, label.text);
    }
}

int EndingMarks::markAt(QPoint at) const {
    int best = -1;
    int64_t bestArea = 0;
    for (int k = 0; k < count(); ++k) {
        // The frame lines lie two pixels outside the extent: they belong to the mark too.
        const QRect r = marks_[k].place.rect.adjusted(-2, -2, 2, 2);
        if (!r.contains(at)) continue;
        const int64_t area = int64_t(r.width()) * r.height();
        if (best < 0 || area < bestArea) {
            best = k;
            bestArea = area;
        }
    }
    return best;
}

QString EndingMarks::explain(int mark) const {
    // Marks that share a label and nearly a box are explained together.
    QStringList parts;
    const int label = mark < int(labels_.labelOf.size()) ? labels_.labelOf[size_t(mark)] : -1;
    const std::vector<int> own{mark};
    for (int k : label >= 0 ? labels_.labels[size_t(label)].marks : own) {
        const EndedObject& e = marks_[k].ended;
        const int32_t c = e.ending.channel;
        parts << explainEnding(e, counterNames_[c >= 1 && c <= 4 ? c : 0]);
    }
    // A label the picture had no room for is read here.
    if (label >= 0 && !labels_.labels[size_t(label)].free)
        parts.prepend(tr("label: %1").arg(labels_.labels[size_t(label)].text));
    return parts.join("\n\n");
}

}  // namespace velkor
