// Label placement: candidates tried in order around each box, checked against the boxes and the
// labels placed so far through a coarse grid, so a crowded frame stays quick.
#include "ui/picture/label_placement.h"

#include <algorithm>
#include <cstdlib>

#include "ui/picture/ending_marks.h"

namespace velkor {
namespace {

constexpr int gridCell = 32;  // pixels per side of a cell of the lookup grid
constexpr int slideStep = 2;  // pixels between the places tried along a side of a box
constexpr int placingRounds = 3;
constexpr int noOwner = -1'000'000;  // blocks every label

// The boxes and labels already in the picture, found by the grid cells they cover.
class Occupancy {
public:
    explicit Occupancy(QSize picture)
        : columns_(std::max(1, (picture.width() + gridCell - 1) / gridCell)),
          rows_(std::max(1, (picture.height() + gridCell - 1) / gridCell)),
          cells_(size_t(columns_) * rows_) {}

    // `owner`: the label group the rectangle belongs to, which does not block its own label.
    void add(const QRect& r, int owner) {
        const int index = int(items_.size());
        items_.push_back({r, owner});
        forCells(r, [&](std::vector<int>& cell) {
            cell.push_back(index);
            return true;
        });
    }

    bool free(const QRect& r, int owner) const {
        bool clear = true;
        forCells(r, [&](const std::vector<int>& cell) {
            for (int i : cell) {
                const Item& item = items_[size_t(i)];
                if (item.owner != owner && item.rect.intersects(r)) {
                    clear = false;
                    return false;
                }
            }
            return true;
        });
        return clear;
    }

    // The group of a box nearly the same as `box`, or -1.
    int sameBox(const QRect& box) const {
        int found = -1;
        const QRect near =
            QRect(box.topLeft(), QSize(1, 1))
                .adjusted(-sameBoxTolerance, -sameBoxTolerance, sameBoxTolerance, sameBoxTolerance);
        forCells(near, [&](const std::vector<int>& cell) {
            for (int i : cell) {
                const QRect& other = items_[size_t(i)].rect.adjusted(
                    boxFrameOutset, boxFrameOutset, -boxFrameOutset, -boxFrameOutset);
                if (std::abs(other.left() - box.left()) <= sameBoxTolerance &&
                    std::abs(other.right() - box.right()) <= sameBoxTolerance &&
                    std::abs(other.top() - box.top()) <= sameBoxTolerance &&
                    std::abs(other.bottom() - box.bottom()) <= sameBoxTolerance) {
                    found = items_[size_t(i)].owner;
                    return false;
                }
            }
            return true;
        });
        return found;
    }

private:
    struct Item {
        QRect rect;
        int owner;
    };
    template <typename Cells, typename F>
    static void visit(Cells& cells, int columns, int rows, const QRect& r, F&& f) {
        const int c0 = std::clamp(r.left() / gridCell, 0, columns - 1);
        const int c1 = std::clamp(r.right() / gridCell, 0, columns - 1);
        const int r0 = std::clamp(r.top() / gridCell, 0, rows - 1);
        const int r1 = std::clamp(r.bottom() / gridCell, 0, rows - 1);
        for (int y = r0; y <= r1; ++y)
            for (int x = c0; x <= c1; ++x)
                if (!f(cells[size_t(y) * columns + x])) return;
    }
    template <typename F>
    void forCells(const QRect& r, F&& f) {
        visit(cells_, columns_, rows_, r, f);
    }
    template <typename F>
    void forCells(const QRect& r, F&& f) const {
        visit(cells_, columns_, rows_, r, f);
    }

    int columns_, rows_;
    std::vector<std::vector<int>> cells_;
    std::vector<Item> items_;
};

QRect framed(const QRect& box) {
    return box.adjusted(-boxFrameOutset, -boxFrameOutset, boxFrameOutset, boxFrameOutset);
}

bool inside(const QRect& label, QSize picture) {
    return label.left() >= 0 && label.top() >= 0 && label.right() < picture.width() &&
           label.bottom() < picture.height();
}

// Tries the places next to `box` in order, best first, until `accept` takes one: the four usual
// ones, then along the top and bottom sides and down the right and left ones, then inside the box
// when it is large enough to hold the label clear of its frame.
template <typename Accept>
bool tryPlaces(const QRect& box, int w, int h, int width, Accept&& accept) {
    for (const QRect& r : labelCandidates(box, w, h, width))
        if (accept(r)) return true;
    const int above = box.top() - 3 - h, below = box.bottom() + 4;
    for (int x = box.left() - w - 2; x <= box.right() + 3; x += slideStep)
        for (int y : {above, below})
            if (accept(QRect(x, y, w, h))) return true;
    const int right = box.right() + 4, left = box.left() - 4 - w;
    for (int y = box.top() - h - 2; y <= box.bottom() + 3; y += slideStep)
        for (int x : {right, left})
            if (accept(QRect(x, y, w, h))) return true;
    if (box.width() >= w + 4 && box.height() >= h + 4)
        if (accept(QRect(box.left() + 2, box.top() + 2, w, h))) return true;
    return false;
}

}  // namespace

LabelLayout placeLabels(const std::vector<MarkLabel>& marks,
                        const std::function<int(const QString&)>& labelWidth, int labelHeight,
                        QSize picture, const std::vector<QRect>& keepClear) {
    LabelLayout layout;
    layout.labelOf.assign(marks.size(), -1);
    Occupancy grouping(picture);
    // Marks with nearly the same box join the label of the first of them.
    for (size_t k = 0; k < marks.size(); ++k) {
        const int same = grouping.sameBox(marks[k].box);
        if (same >= 0) {
            PlacedLabel& label = layout.labels[size_t(same)];
            label.marks.push_back(int(k));
            label.text += " + " + marks[k].text;
            layout.labelOf[k] = same;
            continue;
        }
        layout.labelOf[k] = int(layout.labels.size());
        layout.labels.push_back({{int(k)}, marks[k].text, QRect(), true});
        grouping.add(framed(marks[k].box), layout.labelOf[k]);
    }

    // The dividers belong to no label: they block every one.
    for (const QRect& r : keepClear) grouping.add(r, noOwner);

    // Labels in the given order take the first free place; those left without one go first in
    // another round, since a crowded neighbour may have taken the only place they had. The round
    // that leaves the fewest without a free place is kept.
    const int h = labelHeight;
    std::vector<int> order(layout.labels.size());
    for (size_t g = 0; g < order.size(); ++g) order[g] = int(g);
    std::vector<int> widths(layout.labels.size());
    for (size_t g = 0; g < widths.size(); ++g) widths[g] = labelWidth(layout.labels[g].text);
    std::vector<PlacedLabel> best;
    size_t fewestUnplaced = layout.labels.size() + 1;
    for (int round = 0; round < placingRounds; ++round) {
        Occupancy taken = grouping;
        std::vector<int> unplaced;
        for (const int g : order) {
            PlacedLabel& label = layout.labels[size_t(g)];
            const QRect box = marks[size_t(label.marks.front())].box;
            const int w = widths[size_t(g)];
            const auto accept = [&](const QRect& r) {
                if (!inside(r, picture) || !taken.free(r, g)) return false;
                label.rect = r;
                return true;
            };
            label.free = tryPlaces(box, w, h, picture.width(), accept);
            if (!label.free) {
                // Too crowded: the label goes to the tooltip rather than over something else.
                unplaced.push_back(g);
                label.rect = QRect();
                continue;
            }
            taken.add(label.rect.adjusted(-labelSpacing, -labelSpacing, labelSpacing, labelSpacing),
                      -1 - g);
        }
        if (unplaced.empty()) return layout;
        if (unplaced.size() >= fewestUnplaced) break;  // another round would not help
        fewestUnplaced = unplaced.size();
        best = layout.labels;
        std::vector<int> next = unplaced;
        for (const int g : order)
            if (layout.labels[size_t(g)].free) next.push_back(g);
        order.swap(next);
    }
    layout.labels.swap(best);
    return layout;
}

}  // namespace velkor
