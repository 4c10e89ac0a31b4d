// The session check's page: laid out in points on A4 portrait and drawn with QPainter.
#include "ui/check/session_check_page.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/fish_classes.h"
#include "settings/session_report.h"
#include "ui/chart/chart_axis.h"
#include "ui/chart/chart_painter.h"
#include "ui/check/session_check_table.h"
#include "ui/picture/ending_marks.h"
#include "ui/picture/frame_painter.h"

namespace velkor {

namespace {

constexpr double margin = 34;
constexpr double left = margin;
constexpr double right = checkPageWidth - margin;
constexpr double width = right - left;
constexpr QRgb stripButtonFace = 0xFFD4D0C8;
const QColor rule{0xB0, 0xB0, 0xB0};
const QColor headingColour{0x20, 0x30, 0x50};
const QColor differBand{0xFF, 0xEC, 0x99};

QString tr(const char* text) {
    return QCoreApplication::translate("SessionCheck", text);
}

QString u8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QFont pageFont(int pixels, bool bold = false) {
    return checkPageFont(pixels, bold);
}

// `text` in `font` from (x, y) within `width`, broken at spaces where it is wider; returns the
// height it took. A caption never loses a word to the margin.
double drawWrapped(QPainter& p, double x, double y, double width, const QFont& font,
                   const QString& text, Qt::Alignment across = Qt::AlignLeft) {
    const double line = QFontMetricsF(font).height();
    const QStringList lines = wrapToWidth(text, font, width);
    p.setFont(font);
    for (const QString& l : lines) {
        p.drawText(QRectF(x, y, width, line), across | Qt::AlignVCenter | Qt::TextDontClip, l);
        y += line;
    }
    return lines.size() * line;
}

QString className(int32_t sizeGroup) {
    const std::string_view name = fishClassName(sizeGroup);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

std::unique_ptr<FrameEndings> endingsOf(const RejectedFrame& strip) {
    auto endings = std::make_unique<FrameEndings>();
    restoreEndings(strip, *endings);
    return endings;
}

// h:mm:ss of a number of lines, whole seconds.
QString lengthText(int64_t lines) {
    const int64_t seconds = lines / linesPerSecond;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QChar('0'))
        .arg(seconds % 60, 2, 10, QChar('0'));
}

QString orDash(const QString& s) {
    return s.trimmed().isEmpty() ? QStringLiteral("-") : s.trimmed();
}

// "key: value" pairs on one line, the keys bold.
double drawPairs(QPainter& p, double y, const std::vector<std::pair<QString, QString>>& pairs) {
    const QFont plain = pageFont(9), bold = pageFont(9, true);
    const QFontMetricsF fp(plain), fb(bold);
    double x = left;
    for (const auto& [key, value] : pairs) {
        // A pair that would run past the margin starts the next line.
        const double pairWidth = fb.horizontalAdvance(key + ": ") + fp.horizontalAdvance(value);
        if (x > left && x + pairWidth > right) {
            x = left;
            y += fp.height() + 2;
        }
        p.setFont(bold);
        p.drawText(QPointF(x, y + fb.ascent()), key + ":");
        x += fb.horizontalAdvance(key + ": ");
        p.setFont(plain);
        if (x + fp.horizontalAdvance(value) > right) {
            // Too long for a line of its own (many long channel names): it wraps, as a block.
            const QRectF block(x, y, right - x, 10 * fp.height());
            const QRectF used = p.boundingRect(block, Qt::AlignLeft | Qt::TextWordWrap, value);
            p.drawText(block, Qt::AlignLeft | Qt::TextWordWrap, value);
            y += used.height() - fp.height();
            x = right;
            continue;
        }
        p.drawText(QPointF(x, y + fp.ascent()), value);
        x += fp.horizontalAdvance(value) + 14;
    }
    return y + fp.height() + 2;
}

double drawHeading(QPainter& p, double y, const QString& text) {
    const QFont f = pageFont(10, true);
    p.setFont(f);
    p.setPen(headingColour);
    p.drawText(QPointF(left, y + QFontMetricsF(f).ascent()), text);
    p.setPen(Qt::black);
    return y + QFontMetricsF(f).height() + 2;
}

QString settingsText(const SessionCheckContent& c) {
    QStringList overridden;
    for (int32_t ch = 1; ch <= c.channelCount; ++ch) {
        const ChannelCheck& k = c.channels[ch];
        if (k.usedClass != k.reportClass)
            overridden << tr("%1 counted as %2 (report: %3)")
                              .arg(u8(k.name), className(k.usedClass), className(k.reportClass));
    }
    QString text = overridden.isEmpty() ? tr("the session report's size classes")
                                        : tr("overridden: ") + overridden.join(", ");
    text += c.counterType == 5 ? tr("; overload correction on") : tr("; no overload correction");
    return text;
}

double drawHeader(QPainter& p, double y, const SessionCheckContent& c) {
    const QFont title = pageFont(15, true);
    p.setFont(title);
    p.setPen(headingColour);
    const QFontMetricsF ft(title);
    const QFont small = pageFont(8);
    const QString made = tr("Velkor %1").arg(u8(c.version));
    const double madeWidth = QFontMetricsF(small).horizontalAdvance(made) + 1;
    // A long file name wraps short of the version.
    const double titleHeight = drawWrapped(p, left, y, width - madeWidth - 10, title,
                                           tr("Session check: %1").arg(u8(c.fileName)));
    p.setFont(small);
    p.setPen(Qt::darkGray);
    p.drawText(QRectF(left, y, width, ft.height()), Qt::AlignRight | Qt::AlignBottom, made);
    p.setPen(Qt::black);
    y += titleHeight + 4;

    const bool sameDay = std::floor(c.start) == std::floor(c.end);
    y = drawPairs(
        p, y,
        {{tr("Tank"), orDash(u8(c.tank))},
         {tr("Generation"), orDash(u8(c.generation))},
         {tr("Date"), u8(formatDayNumberDate(c.start))},
         {tr("Start"), u8(formatTimeOfDay(c.start))},
         {tr("End"), sameDay ? u8(formatTimeOfDay(c.end))
                             : u8(formatDayNumberDate(c.end)) + " " + u8(formatTimeOfDay(c.end))}});
    y = drawPairs(p, y,
                  {{tr("Length"), lengthText(c.lines)},
                   {tr("Counter width"), tr("%1 mm").arg(c.counterWidthMm)},
                   {tr("Frame width"), tr("%1 lines").arg(c.frameWidth)},
                   {tr("Frames"), QString::number(c.frames)},
                   {tr("Lines"), QString::number(c.lines)},
                   {tr("Damaged lines"), QString::number(c.damagedLines)}});
    QStringList channels;
    for (int32_t ch = 1; ch <= c.channelCount; ++ch)
        channels << QStringLiteral("%1 (%2)").arg(u8(c.channels[ch].name),
                                                  className(c.channels[ch].usedClass));
    y = drawPairs(p, y, {{tr("Channels"), channels.join(", ")}});
    y = drawPairs(p, y, {{tr("Settings"), settingsText(c)}});
    p.setPen(rule);
    p.drawLine(QPointF(left, y + 2), QPointF(right, y + 2));
    p.setPen(Qt::black);
    return y + 8;
}

double drawTable(QPainter& p, double y, const SessionCheckContent& c) {
    y = drawHeading(p, y, tr("Totals and verdicts of the whole session"));
    const CheckTableLayout layout = layOutCheckTable(checkTableTexts(c), left, y, width);
    for (const CheckTable& table : layout.tables) {
        p.fillRect(table.headingBand, QColor(0xE8, 0xEC, 0xF2));
        for (const CheckTableCell& cell : table.cells) {
            p.setFont(cell.font);
            const double line = QFontMetricsF(cell.font).height();
            // The cell's lines as a block, centred in its height.
            double ly = cell.text.center().y() - cell.lines.size() * line / 2;
            for (const QString& text : cell.lines) {
                p.drawText(QRectF(cell.text.left(), ly, cell.text.width(), line),
                           (cell.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter |
                               Qt::TextDontClip,
                           text);
                ly += line;
            }
        }
        p.setPen(rule);
        for (double rowBottom : table.rowBottoms)
            p.drawLine(QPointF(table.bounds.left(), rowBottom),
                       QPointF(table.bounds.right(), rowBottom));
        p.setPen(Qt::black);
    }
    y = layout.bottom + 2;
    p.setPen(Qt::darkGray);
    y += drawWrapped(p, left, y, width, pageFont(8),
                     tr("Difference: (replay - recorded) / recorded. Verdicts: every object that "
                        "ended, by the first limit it failed; pieces: parts of split objects."));
    p.setPen(Qt::black);
    return y + 8;
}

ChartContent chartOf(const SessionCheckContent& c, int32_t channel) {
    const ChannelCheck& k = c.channels[channel];
    ChartContent chart;
    chart.recorded = curveOnAxis(k.recordedCurve, c.start);
    chart.replay = curveOnAxis(k.replayCurve, c.start);
    std::vector<double> times;
    for (const QPointF& p : chart.recorded) times.push_back(p.x());
    for (const QPointF& p : chart.replay) times.push_back(p.x());
    const TimeSpan span = chartTimeSpan(c.start, c.end, times);
    chart.first = span.first;
    chart.last = span.last;
    chart.verticalMaximum = curvesMaximum(chart.recorded, chart.replay);
    // The channel's name stands over the chart (drawChart), where a long one does not narrow
    // the plot.
    return chart;
}

QString minuteText(const MinuteDifference& m) {
    QString text = QStringLiteral("%1 replay %2, recorded %3")
                       .arg(u8(formatTimeOfDay(m.start)))
                       .arg(m.replay)
                       .arg(m.recorded, 0, 'f', 1);
    // The session's last minute may be short: its count is compared as a rate.
    if (m.share < 1)
        text += tr(" (last %1 s only, replay scaled to %2 a minute)")
                    .arg(std::lround(m.share * 60))
                    .arg(m.replay / m.share, 0, 'f', 1);
    return text;
}

void drawChart(QPainter& p, const QRectF& area, const SessionCheckContent& c, int32_t channel) {
    const QFont font = pageFont(8);
    const QFontMetricsF fm(font);
    const ChannelCheck& k = c.channels[channel];
    QStringList notes;
    for (size_t i = 0; i < k.mostDifferent.size(); ++i)
        notes << QStringLiteral("%1) %2").arg(i + 1).arg(minuteText(k.mostDifferent[i]));
    const QString note = notes.isEmpty() ? tr("No minute to compare with the recorded curve.")
                                         : tr("Differ most: ") + notes.join("; ");
    // The title and the note wrap rather than lose a word.
    const double noteHeight = wrapToWidth(note, font, area.width()).size() * fm.height() + 2;
    const QFont titleFont = pageFont(9, true);
    const double titleHeight =
        drawWrapped(p, area.left(), area.top(), area.width(), titleFont,
                    u8(c.channels[channel].name) + "  " + className(c.channels[channel].usedClass));
    // A row for the ranks of the minutes that differ most, above the plot and so clear of the
    // curves.
    const double rankRow = k.mostDifferent.empty() ? 0 : fm.height();
    const QRectF chartArea(area.left(), area.top() + titleHeight + 2 + rankRow, area.width(),
                           area.height() - noteHeight - titleHeight - 2 - rankRow);
    const ChartContent chart = chartOf(c, channel);
    p.setFont(font);

    // The minutes that differ most: a band over the plot, its rank above it.
    const QRectF plot = chartLayout(chartArea, chart, font).plot;
    struct Rank {
        double x0, x1;
        QString text;
    };
    std::vector<Rank> ranks;
    p.save();
    p.setClipRect(plot);
    for (size_t i = 0; i < k.mostDifferent.size(); ++i) {
        const MinuteDifference& m = k.mostDifferent[i];
        double x0 = columnOfTime(m.start, chart.first, chart.last, plot.left(), plot.width());
        double x1 = columnOfTime(m.start + m.share / 1440, chart.first, chart.last, plot.left(),
                                 plot.width());
        if (x1 - x0 < 3) {
            const double mid = (x0 + x1) / 2;
            x0 = mid - 1.5;
            x1 = mid + 1.5;
        }
        p.fillRect(QRectF(QPointF(x0, plot.top()), QPointF(x1, plot.bottom())), differBand);
        ranks.push_back({x0, x1, QString::number(i + 1)});
    }
    p.restore();
    // The ranks from left to right, each pushed clear of the one before.
    std::sort(ranks.begin(), ranks.end(), [](const Rank& a, const Rank& b) { return a.x0 < b.x0; });
    double free = plot.left() - 2;
    const double rankTop = plot.top() - fm.height() - 1;
    std::vector<double> at;
    for (const Rank& r : ranks) {
        const double w = fm.horizontalAdvance(r.text) + 1;
        double x = std::max((r.x0 + r.x1) / 2 - w / 2, free);
        at.push_back(x);
        free = x + w + 3;
    }
    // Pushed past the plot's right end: the row moves back left as a whole.
    const double over = free - 3 - (plot.right() + 2);
    p.setPen(Qt::black);
    for (size_t i = 0; i < ranks.size(); ++i) {
        const double x = at[i] - std::max(0.0, over);
        const double w = fm.horizontalAdvance(ranks[i].text) + 1;
        p.drawText(QRectF(x, rankTop, w, fm.height()), Qt::AlignCenter | Qt::TextDontClip,
                   ranks[i].text);
    }
    // The curves over the bands; a narrow band, which a high recorded curve would hide, again
    // faintly over them.
    paintThroughputChart(p, chartArea, chart);
    p.save();
    p.setClipRect(plot);
    QColor veil = differBand;
    veil.setAlpha(150);
    for (const Rank& r : ranks)
        if (r.x1 - r.x0 < 8)
            p.fillRect(QRectF(QPointF(r.x0, plot.top()), QPointF(r.x1, plot.bottom())), veil);
    p.restore();
    p.setPen(Qt::darkGray);
    drawWrapped(p, area.left(), area.bottom() - noteHeight + 2, area.width(), font, note);
    p.setPen(Qt::black);
}

void drawCharts(QPainter& p, const QRectF& area, const SessionCheckContent& c) {
    const int n = std::clamp(c.channelCount, 1, 4);
    const int columns = n > 2 ? 2 : 1;
    const int rows = (n + columns - 1) / columns;
    const double gap = 10;
    const double w = (area.width() - (columns - 1) * gap) / columns;
    const double h = (area.height() - (rows - 1) * gap) / rows;
    for (int i = 0; i < n; ++i) {
        const QRectF cell(area.left() + (i % columns) * (w + gap),
                          area.top() + (i / columns) * (h + gap), w, h);
        drawChart(p, cell, c, i + 1);
    }
}

void drawStrip(QPainter& p, const QRectF& area, const SessionCheckContent& c) {
    double y = drawHeading(p, area.top(), tr("The frame with the most rejected objects"));
    const QFont font = pageFont(9);
    const QFontMetricsF fm(font);
    p.setFont(font);
    const RejectedFrame& s = c.strip;
    if (s.frame == 0) {
        p.drawText(QPointF(left, y + fm.ascent()), tr("No object was rejected in this session."));
        return;
    }
    const QString caption = tr("Frame %1 of %2 at %3 (lines %4 to %5): %6")
                                .arg(s.frame)
                                .arg(c.frames)
                                .arg(u8(formatTimeOfDay(s.time)))
                                .arg(s.firstLine)
                                .arg(s.firstLine + s.columns - 1)
                                .arg(frameSummaryText(*endingsOf(s)));
    y += drawWrapped(p, left, y, width, font, caption) + 3;
    const QRectF target(left, y, width, area.bottom() - y);
    // One column per line; the height keeps the page's proportions, so the marks' labels keep
    // their shape.
    const int columns = std::max(1, s.columns);
    const int height = std::max(40, int(std::lround(columns * target.height() / target.width())));
    const QImage picture = rejectedFramePicture(c, height);
    p.drawImage(target, picture);
    p.setPen(rule);
    p.drawRect(target);
    p.setPen(Qt::black);
}

QString footerCommand(const SessionCheckContent& c) {
    QString command = QStringLiteral("velkor-count --frame-width %1").arg(c.frameWidth);
    if (c.counterType >= 0) command += QStringLiteral(" --counter-type %1").arg(c.counterType);
    for (int32_t ch = 1; ch <= c.channelCount; ++ch)
        if (c.channels[ch].usedClass != c.channels[ch].reportClass)
            command += QStringLiteral(" --class %1=%2").arg(ch).arg(c.channels[ch].usedClass);
    command += " " + u8(c.fileName);
    return command;
}

QString footerText(const SessionCheckContent& c) {
    return tr("The same figures: %1 --explain").arg(footerCommand(c));
}

double footerHeight(const SessionCheckContent& c) {
    const QFont font = pageFont(8);
    return wrapToWidth(footerText(c), font, width).size() * QFontMetricsF(font).height();
}

void drawFooter(QPainter& p, const SessionCheckContent& c) {
    const QFont font = pageFont(8);
    p.setPen(Qt::darkGray);
    const double height = footerHeight(c);
    drawWrapped(p, left, checkPageHeight - margin - height, width, font, footerText(c));
    p.setPen(Qt::black);
}

}  // namespace

QImage rejectedFramePicture(const SessionCheckContent& c, int height) {
    const RejectedFrame& s = c.strip;
    const int columns = std::max(1, s.columns);
    QImage picture(columns, std::max(1, height), QImage::Format_RGB32);
    picture.fill(pictureBackground);
    if (s.frame == 0) return picture;
    // The frame store of a whole frame is large: made for the drawing only.
    const auto store = std::make_unique<FrameStore>();
    restoreFrameStore(s, *store);
    FramePictureSource source;
    source.frameStore = store.get();
    source.frameColumn = s.columns;
    source.channelCount = c.channelCount;
    source.channelTable = &s.channelTable;
    source.scanLeftEdge = s.scanLeftEdge;
    source.scanRightEdge = s.scanRightEdge;
    teiknaramman(picture, source, stripButtonFace);
    const MarkFrame frame = markFrameOf(source, s.firstLine, picture);
    std::array<QString, 5> names;
    for (int32_t ch = 1; ch <= 4; ++ch) names[size_t(ch)] = u8(c.channels[ch].name);
    EndingMarks marks;
    marks.draw(picture, *endingsOf(s), frame, names);
    return picture;
}

void paintSessionCheck(QPainter& p, const SessionCheckContent& c) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRectF(0, 0, checkPageWidth, checkPageHeight), Qt::white);
    p.setPen(Qt::black);
    double y = drawHeader(p, margin, c);
    y = drawTable(p, y, c);
    y = drawHeading(p, y,
                    tr("Throughput in fish per minute, the minutes that differ most in yellow"));
    const double footer = footerHeight(c) + 4;
    // The frame gives up height, down to a floor, where a large table leaves the charts short.
    const int chartRows = c.channelCount == 1 ? 1 : 2;
    const double charts = chartRows * 140 + (chartRows - 1) * 10;
    // A session without a rejected object says so in a line; its charts take the room.
    const double stripHeight =
        c.strip.frame == 0
            ? 32.0
            : std::clamp(checkPageHeight - margin - footer - (y + 2) - 14 - charts, 110.0, 175.0);
    const double stripTop = checkPageHeight - margin - footer - stripHeight;
    drawCharts(p, QRectF(left, y + 2, width, stripTop - y - 14), c);
    drawStrip(p, QRectF(left, stripTop, width, stripHeight), c);
    drawFooter(p, c);
    p.restore();
}

bool paintSessionCheckPages(QPagedPaintDevice& device,
                            const std::vector<SessionCheckContent>& contents) {
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // Points on the page, whatever the device's resolution and printable area.
    const double scale =
        std::min(device.width() / checkPageWidth, device.height() / checkPageHeight);
    for (size_t i = 0; i < contents.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        painter.resetTransform();
        painter.scale(scale, scale);
        paintSessionCheck(painter, contents[i]);
    }
    return painter.end();
}

QByteArray sessionCheckPdf(const std::vector<SessionCheckContent>& contents) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Velkor"));
        writer.setTitle(contents.size() == 1 ? tr("Session check: %1").arg(u8(contents[0].fileName))
                                             : tr("Session check"));
        if (!paintSessionCheckPages(writer, contents)) return {};
    }
    return bytes;
}

}  // namespace velkor
