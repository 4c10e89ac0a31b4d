// Where the labels of the marks on the picture go. A label goes next to its own box, never over
// another label, another object's box or a channel divider, and inside the picture. A label with
// no such place is not drawn: the mark shows a small sign instead and its tooltip carries it.
// Objects whose boxes are nearly the same (pieces of one split) share one label naming them all, "9
// + 10", since two labels could not tell which box is whose. Plain arithmetic on rectangles: the
// marks' drawing asks it, and tests check it with tables.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

namespace velkor {

// A mark's drawn box and the text of its label.
struct MarkLabel {
    QRect box;
    QString text;
};

struct PlacedLabel {
    std::vector<int> marks;  // the marks it names, in the order given; their texts joined by " + "
    QString text;
    QRect rect;
    // A free place next to the box was found; otherwise `rect` is null: the label is not drawn
    // (a picture too crowded for every label) and goes to the mark's tooltip.
    bool free = true;
};

struct LabelLayout {
    std::vector<PlacedLabel> labels;
    std::vector<int> labelOf;  // per mark, its index in `labels`
};

// Boxes whose sides all lie within this many pixels of each other share one label.
inline constexpr int sameBoxTolerance = 2;
// Pixels kept clear around a box: its frame is drawn up to 2 pixels outside it.
inline constexpr int boxFrameOutset = 2;
// Pixels kept clear between two labels, so that two numbers never read as one.
inline constexpr int labelSpacing = 2;

// Places the labels of `marks` in a picture of `picture` size, one for each group of nearly the
// same boxes, in the order given. `labelWidth` gives a label's width for its text; all labels are
// `labelHeight` high. No label covers any rectangle of `keepClear` (the channel dividers).
LabelLayout placeLabels(const std::vector<MarkLabel>& marks,
                        const std::function<int(const QString&)>& labelWidth, int labelHeight,
                        QSize picture, const std::vector<QRect>& keepClear = {});

}  // namespace velkor
