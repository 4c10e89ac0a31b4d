// The session check's table: texts, measured widths, columns and the tables they fill.
#include "ui/check/session_check_table.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <algorithm>
#include <numeric>
#include <optional>

#include "core/fish_classes.h"
#include "settings/recorded_figures.h"

namespace velkor {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("SessionCheck", text);
}

QString u8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString className(int32_t sizeGroup) {
    const std::string_view name = fishClassName(sizeGroup);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString recordedText(const std::optional<int32_t>& v) {
    return v ? QString::number(*v) : QStringLiteral("-");
}

QString differenceText(const std::optional<double>& d) {
    const std::string t = formatDifference(d);
    return t.empty() ? QStringLiteral("-") : u8(t);
}

// The columns before the verdicts: channel, class, recorded, replay, difference.
constexpr int leadingColumns = 5;
// Room either side of a column's text, and a point for the ink beyond a text's advance.
constexpr double pad = 3;
constexpr double inkAllowance = 1;
// The figures' font steps down from the first to the floor; the header is two pixels smaller.
constexpr int largestPixels = 9;
constexpr int floorPixels = 7;
// A channel's name wraps rather than narrow its column below this.
constexpr double narrowestName = 60;

QFont headFontOf(int pixels) {
    return checkPageFont(std::max(6, pixels - 2), true);
}

// The widths of every column (pads included) at one size of the font; the channel's column as
// wide as its longest name unwrapped, and how narrow it may get with its names wrapped.
struct Measured {
    int pixels = largestPixels;
    std::vector<double> widths;
    double narrowestNameColumn = 0;
};

Measured measure(const CheckTableTexts& t, int pixels, const TextWidth& width) {
    const QFont head = headFontOf(pixels);
    const QFont cell = checkPageFont(pixels), sum = checkPageFont(pixels, true);
    Measured m;
    m.pixels = pixels;
    const int columns = static_cast<int>(t.header.size());
    m.widths.assign(size_t(columns), 0);
    for (int col = 0; col < columns; ++col) {
        double widest = 0, widestWord = 0;
        // A header may take a line per word.
        for (const QString& word : t.header[col].split(' ', Qt::SkipEmptyParts))
            widestWord = std::max(widestWord, width(word, head));
        for (size_t r = 0; r < t.rows.size(); ++r) {
            const QFont& font = r + 1 == t.rows.size() ? sum : cell;
            widest = std::max(widest, width(t.rows[r][col], font));
        }
        m.widths[size_t(col)] = std::max(widest, widestWord) + inkAllowance + 2 * pad;
        if (col == 0)
            m.narrowestNameColumn =
                std::min(m.widths[0], std::max(widestWord, narrowestName) + inkAllowance + 2 * pad);
    }
    return m;
}

// A table's columns and the width its channel column gets.
struct Arranged {
    std::vector<int> columns;
    double nameColumn = 0;
};

// The channel column's width beside `columns`, or nothing when it would be too narrow.
std::optional<Arranged> fit(const Measured& m, const std::vector<int>& columns, double width) {
    double others = 0;
    for (int c : columns)
        if (c != 0) others += m.widths[size_t(c)];
    const double name = std::min(m.widths[0], width - others);
    if (name < m.narrowestNameColumn) return std::nullopt;
    return Arranged{columns, name};
}

// The tables: all columns in one; or the leading columns and then the verdicts in one table of
// their own after the channel's name; or, with `many`, the verdicts in as few tables as fit.
// Empty when some table is wider than `width`.
std::vector<Arranged> arrange(const Measured& m, int columns, double width, int tables) {
    std::vector<int> all(static_cast<size_t>(columns));
    std::iota(all.begin(), all.end(), 0);
    if (tables == 1) {
        if (auto one = fit(m, all, width)) return {*one};
        return {};
    }
    std::vector<Arranged> out;
    const auto leading = fit(m, std::vector<int>(all.begin(), all.begin() + leadingColumns), width);
    if (!leading) return {};
    out.push_back(*leading);
    std::vector<int> current{0};
    for (int col = leadingColumns; col < columns; ++col) {
        std::vector<int> wider = current;
        wider.push_back(col);
        if (!fit(m, wider, width)) {
            if (current.size() == 1) return {};
            out.push_back(*fit(m, current, width));
            current = {0, col};
        } else {
            current = wider;
        }
    }
    if (current.size() > 1) out.push_back(*fit(m, current, width));
    if (static_cast<int>(out.size()) > tables) return {};
    return out;
}

CheckTable place(const CheckTableTexts& t, Measured m, const Arranged& arranged, double left,
                 double top, const TextWidth& width) {
    const std::vector<int>& columns = arranged.columns;
    m.widths[0] = arranged.nameColumn;
    const double nameWidth = arranged.nameColumn - 2 * pad;
    const QFont head = headFontOf(m.pixels);
    const QFont cell = checkPageFont(m.pixels), sum = checkPageFont(m.pixels, true);
    const double headLine = QFontMetricsF(head).height();
    CheckTable table;
    auto textRect = [&](double x, int col, double y, double h) {
        return QRectF(x + pad, y, m.widths[size_t(col)] - 2 * pad, h);
    };
    auto alignment = [&](int col, bool heading) -> Qt::Alignment {
        if (col == 0) return Qt::AlignLeft | Qt::AlignVCenter;
        if (heading && col >= leadingColumns) return Qt::AlignHCenter | Qt::AlignVCenter;
        return Qt::AlignRight | Qt::AlignVCenter;
    };

    // The header: each name wrapped to its column's width.
    std::vector<QStringList> headLines;
    int most = 1;
    for (int col : columns) {
        headLines.push_back(
            wrapToWidth(t.header[col], head, m.widths[size_t(col)] - 2 * pad, width));
        most = std::max(most, int(headLines.back().size()));
    }
    const double headHeight = most * headLine + 3;
    double x = left;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int col = columns[i];
        table.cells.push_back({textRect(x, col, top, headHeight),
                               QRectF(x, top, m.widths[size_t(col)], headHeight), headLines[i],
                               head, alignment(col, true), true});
        x += m.widths[size_t(col)];
    }
    const double right = x;
    table.headingBand = QRectF(left, top, right - left, headHeight);
    double y = top + headHeight;
    for (size_t r = 0; r < t.rows.size(); ++r) {
        const QFont& font = r + 1 == t.rows.size() ? sum : cell;
        const double line = QFontMetricsF(font).height();
        std::vector<QStringList> lines;
        int tallest = 1;
        for (int col : columns) {
            const QString& text = t.rows[r][col];
            lines.push_back(col == 0 ? wrapToWidth(text, font, nameWidth, width)
                                     : QStringList{text});
            tallest = std::max(tallest, int(lines.back().size()));
        }
        const double height = tallest * line + 3;
        x = left;
        for (size_t i = 0; i < columns.size(); ++i) {
            const int col = columns[i];
            table.cells.push_back({textRect(x, col, y, height),
                                   QRectF(x, y, m.widths[size_t(col)], height), lines[i], font,
                                   alignment(col, false), false});
            x += m.widths[size_t(col)];
        }
        y += height;
        if (r + 1 < t.rows.size()) table.rowBottoms.push_back(y);
    }
    table.bounds = QRectF(left, top, right - left, y - top);
    return table;
}

}  // namespace

QFont checkPageFont(int pixels, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    // No ligatures, so that the page's text reads back letter by letter.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

double pageTextWidth(const QString& text, const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

CheckTableTexts checkTableTexts(const SessionCheckContent& c) {
    CheckTableTexts t;
    t.header =
        QStringList{tr("Channel"), tr("Class"), tr("Recorded"), tr("Replay"), tr("Difference")};
    for (int v = 0; v < verdictColumns; ++v) t.header << tr(verdictColumnName(v));
    std::array<int64_t, verdictColumns> sums{};
    for (int32_t ch = 1; ch <= c.channelCount; ++ch) {
        const ChannelCheck& k = c.channels[ch];
        QStringList cells{u8(k.name), className(k.usedClass), recordedText(k.recorded),
                          QString::number(k.replay), differenceText(k.difference)};
        for (int v = 0; v < verdictColumns; ++v) {
            cells << QString::number(k.verdicts[size_t(v)]);
            sums[size_t(v)] += k.verdicts[size_t(v)];
        }
        t.rows.push_back(cells);
    }
    QStringList all{tr("All channels"), QString(), recordedText(c.recordedTotal),
                    QString::number(c.replayTotal), differenceText(c.totalDifference)};
    for (int v = 0; v < verdictColumns; ++v) all << QString::number(sums[size_t(v)]);
    t.rows.push_back(all);
    return t;
}

QStringList wrapToWidth(const QString& text, const QFont& font, double width,
                        const TextWidth& measure) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + ' ' + word;
        if (measure(joined, font) + inkAllowance <= width) {
            line = joined;
            continue;
        }
        if (!line.isEmpty()) lines << line;
        line = word;
        // A word too wide on its own breaks between letters.
        while (line.size() > 1 && measure(line, font) + inkAllowance > width) {
            int keep = int(line.size()) - 1;
            while (keep > 1 && measure(line.left(keep), font) + inkAllowance > width) --keep;
            lines << line.left(keep);
            line = line.mid(keep);
        }
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

CheckTableLayout layOutCheckTable(const CheckTableTexts& t, double left, double top, double width,
                                  const TextWidth& measureText) {
    const int columns = static_cast<int>(t.header.size());
    std::vector<Arranged> arranged;
    Measured m;
    // One table at the largest font that fits; then the verdicts in a table of their own; then in
    // as many as they need at the smallest font.
    for (int tables : {1, 2, columns}) {
        for (int pixels = largestPixels; pixels >= floorPixels && arranged.empty(); --pixels) {
            if (tables == columns && pixels > floorPixels) continue;
            m = measure(t, pixels, measureText);
            arranged = arrange(m, columns, width, tables);
        }
        if (!arranged.empty()) break;
    }
    if (arranged.empty()) {
        // Nothing fits even so: a column per table beside the names, past the margin rather
        // than a figure cut.
        for (int col = 1; col < columns; ++col)
            arranged.push_back({{0, col}, m.narrowestNameColumn});
    }
    CheckTableLayout layout;
    layout.cellPixels = m.pixels;
    double y = top;
    for (const Arranged& a : arranged) {
        layout.tables.push_back(place(t, m, a, left, y, measureText));
        y = layout.tables.back().bounds.bottom() + 6;
    }
    layout.bottom = y - 6;
    return layout;
}

}  // namespace velkor
