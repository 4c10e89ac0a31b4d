// The session check's table of totals and verdicts, laid out by measurement: every column as wide
// as its widest text in the page's font, the font stepping down to a floor when the table is wider
// than the page, and then the verdict columns moved to tables of their own below the first (each
// again with the channel's name). A pure function of the texts and a measure of text widths, so a
// test can lay out extreme content and check that no cell overlaps another and every text fits.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "ui/check/session_check_content.h"

namespace velkor {

// The texts of the table: the header (channel, class, recorded, replay, difference, then the
// verdicts) and a row per channel and the row of all channels (the last one, drawn bold).
struct CheckTableTexts {
    QStringList header;
    std::vector<QStringList> rows;
};
CheckTableTexts checkTableTexts(const SessionCheckContent& content);

// One cell as drawn: its text's lines (a long header or channel name wraps by words) in `font`
// within `text`, aligned as `alignment` says; `column` the cell's whole column, pads included.
struct CheckTableCell {
    QRectF text;
    QRectF column;
    QStringList lines;
    QFont font;
    Qt::Alignment alignment;
    bool heading = false;
};

struct CheckTable {
    QRectF bounds;
    QRectF headingBand;              // the header row's shaded band
    std::vector<double> rowBottoms;  // the rules under the channels' rows
    std::vector<CheckTableCell> cells;
};

struct CheckTableLayout {
    std::vector<CheckTable> tables;
    int cellPixels = 9;  // the font the figures are drawn in
    double bottom = 0;
};

// Width of `text` in `font`, in the page's points.
using TextWidth = std::function<double(const QString& text, const QFont& font)>;
// The page's own measure: QFontMetricsF of the font.
double pageTextWidth(const QString& text, const QFont& font);

// The page's font at `pixels` points.
QFont checkPageFont(int pixels, bool bold = false);

// Lays out `texts` from (left, top) within `width` points.
CheckTableLayout layOutCheckTable(const CheckTableTexts& texts, double left, double top,
                                  double width, const TextWidth& measure = pageTextWidth);

// `text` broken at spaces into lines no wider than `width`; a word wider than that alone is
// broken between letters. Never loses a letter.
QStringList wrapToWidth(const QString& text, const QFont& font, double width,
                        const TextWidth& measure = pageTextWidth);

}  // namespace velkor
