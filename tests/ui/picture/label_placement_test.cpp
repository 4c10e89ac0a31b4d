// Where the marks' labels go: next to their own boxes, never over another label or another
// object's box, inside the picture at every width, six-digit numbers in a crowded frame included;
// split pieces of nearly the same box share one label "9 + 10" whose tooltip names both.
#include "ui/picture/label_placement.h"

#include <gtest/gtest.h>

#include <QImage>

#include "ui/picture/ending_marks.h"

namespace velkor::test {
namespace {

constexpr int labelHeight = 12;
// Labels of fixed-pitch digits: 6 pixels a character and 3 of margin, as the picture's font gives.
int pitchWidth(const QString& text) {
    return 6 * int(text.size()) + 3;
}

LabelLayout place(const std::vector<MarkLabel>& marks, QSize picture) {
    return placeLabels(marks, pitchWidth, labelHeight, picture);
}

// Every mark is named by one label; every label lies inside the picture, next to its own box, off
// every other box and apart from every other label.
void expectSound(const std::vector<MarkLabel>& marks, const LabelLayout& layout, QSize picture) {
    ASSERT_EQ(layout.labelOf.size(), marks.size());
    for (size_t k = 0; k < marks.size(); ++k) {
        ASSERT_GE(layout.labelOf[k], 0) << k;
        const auto& named = layout.labels[size_t(layout.labelOf[k])].marks;
        EXPECT_NE(std::find(named.begin(), named.end(), int(k)), named.end()) << k;
    }
    for (size_t g = 0; g < layout.labels.size(); ++g) {
        const PlacedLabel& label = layout.labels[g];
        const QRect own = marks[size_t(label.marks.front())].box;
        SCOPED_TRACE(label.text.toStdString());
        EXPECT_TRUE(label.free);
        EXPECT_TRUE(QRect(QPoint(0, 0), picture).contains(label.rect)) << label.rect.x();
        EXPECT_EQ(label.rect.width(), pitchWidth(label.text));
        EXPECT_TRUE(label.rect.intersects(own.adjusted(-5, -5, 5, 5)))
            << "away from its box at " << label.rect.x() << "," << label.rect.y();
        for (size_t k = 0; k < marks.size(); ++k) {
            if (layout.labelOf[k] == int(g)) continue;
            EXPECT_FALSE(label.rect.intersects(marks[k].box.adjusted(-2, -2, 2, 2)))
                << "over the box of mark " << k;
        }
        for (size_t h = g + 1; h < layout.labels.size(); ++h)
            EXPECT_FALSE(label.rect.adjusted(-1, -1, 1, 1).intersects(layout.labels[h].rect))
                << "touches label " << layout.labels[h].text.toStdString();
    }
}

// Small scenes in a picture 100 x 60 and where each label goes.
TEST(PlaceLabels, NextToTheBoxInTheFirstFreePlace) {
    struct Case {
        const char* name;
        std::vector<MarkLabel> marks;
        std::vector<QRect> expected;  // per label
    };
    const QSize picture(100, 60);
    const Case cases[] = {
        {"room above", {{QRect(30, 30, 10, 10), "12"}}, {QRect(28, 15, 15, 12)}},
        {"at the top: below", {{QRect(30, 2, 10, 10), "12"}}, {QRect(28, 15, 15, 12)}},
        {"at the right edge: above, moved left",
         {{QRect(96, 30, 4, 10), "13"}},
         {QRect(85, 15, 15, 12)}},
        {"as tall as the picture at the right edge: left of it",
         {{QRect(96, 2, 4, 56), "13"}},
         {QRect(77, 2, 15, 12)}},
        {"the next box: above it, clear of the first label",
         {{QRect(30, 30, 10, 10), "1"}, {QRect(44, 30, 10, 10), "2"}},
         {QRect(28, 15, 9, 12), QRect(42, 15, 9, 12)}},
        // The middle box's four usual places meet the first label, the boxes beside it or the
        // picture's bottom: its label goes down its left side, below the first box.
        {"hemmed in",
         {{QRect(30, 30, 10, 10), "1234"},
          {QRect(44, 30, 10, 26), "2"},
          {QRect(58, 0, 42, 60), "3"}},
         {QRect(28, 15, 27, 12), QRect(31, 42, 9, 12), QRect(45, 0, 9, 12)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LabelLayout layout = place(c.marks, picture);
        ASSERT_EQ(layout.labels.size(), c.expected.size());
        for (size_t g = 0; g < c.expected.size(); ++g)
            EXPECT_EQ(layout.labels[g].rect, c.expected[g]) << g;
        expectSound(c.marks, layout, picture);
    }
}

// Split pieces whose boxes differ by a pixel or two share one label naming both; boxes further
// apart keep a label each.
TEST(PlaceLabels, NearlyTheSameBoxSharesOneLabel) {
    const QSize picture(200, 100);
    const std::vector<MarkLabel> pieces{{QRect(50, 40, 20, 30), "9"},
                                        {QRect(51, 41, 19, 30), "10"},
                                        {QRect(120, 40, 20, 30), "11"},
                                        {QRect(120, 46, 20, 30), "12"}};
    const LabelLayout layout = place(pieces, picture);
    ASSERT_EQ(layout.labels.size(), 3u);
    EXPECT_EQ(layout.labels[0].text, "9 + 10");
    EXPECT_EQ(layout.labels[0].marks, (std::vector<int>{0, 1}));
    EXPECT_EQ(layout.labelOf, (std::vector<int>{0, 0, 1, 2}));
    EXPECT_EQ(layout.labels[1].text, "11");
    EXPECT_EQ(layout.labels[2].text, "12");
    EXPECT_NE(layout.labels[1].rect, layout.labels[2].rect);
    expectSound(pieces, layout, picture);
}

// Boxes share a label up to sameBoxTolerance pixels apart on every side, and not one pixel beyond:
// each side moved on its own, to the limit and one past it.
TEST(PlaceLabels, SharingEndsExactlyAtTheTolerance) {
    const QSize picture(200, 100);
    const QRect box(60, 30, 30, 30);
    const int t = sameBoxTolerance;
    const struct {
        int left, top, right, bottom;
        bool shared;
    } cases[] = {
        {-t, 0, 0, 0, true},      {-t - 1, 0, 0, 0, false}, {t, 0, 0, 0, true},
        {t + 1, 0, 0, 0, false},  {0, -t, 0, 0, true},      {0, -t - 1, 0, 0, false},
        {0, t, 0, 0, true},       {0, t + 1, 0, 0, false},  {0, 0, t, 0, true},
        {0, 0, t + 1, 0, false},  {0, 0, -t, 0, true},      {0, 0, -t - 1, 0, false},
        {0, 0, 0, t, true},       {0, 0, 0, t + 1, false},  {0, 0, 0, -t, true},
        {0, 0, 0, -t - 1, false}, {t, t, t, t, true},       {-t, -t, -t, -t, true},
    };
    for (const auto& c : cases) {
        const std::vector<MarkLabel> marks{{box, "9"},
                                           {box.adjusted(c.left, c.top, c.right, c.bottom), "10"}};
        const LabelLayout layout = place(marks, picture);
        SCOPED_TRACE(::testing::Message()
                     << c.left << " " << c.top << " " << c.right << " " << c.bottom);
        EXPECT_EQ(layout.labels.size(), c.shared ? 1u : 2u);
        EXPECT_EQ(layout.labels[0].text, c.shared ? "9 + 10" : "9");
    }
}

// A box that fills a picture too low for a label above, below or inside it: the label has no free
// place, so it is not drawn at all; its text goes to the mark's tooltip.
TEST(PlaceLabels, ALabelWithNoFreePlaceGoesToTheTooltip) {
    for (const int height : {labelHeight, labelHeight + 2, labelHeight + 3}) {
        const QSize picture(40, height);
        const std::vector<MarkLabel> marks{{QRect(0, 0, 40, height), "7"}};
        const LabelLayout layout = place(marks, picture);
        SCOPED_TRACE(height);
        ASSERT_EQ(layout.labels.size(), 1u);
        EXPECT_FALSE(layout.labels[0].free);
        EXPECT_TRUE(layout.labels[0].rect.isNull());
    }
}

// Adversarial frames: blobs that split and merge, so that boxes nest, overlap and nearly coincide,
// crowd the edges and straddle the channel dividers, in pictures from tiny to wide. Whatever the
// frame, a drawn label lies inside the picture, off every divider, apart from every other drawn
// label and off every other box; a label without room is not drawn (tooltip only). Every mark
// stays named by one label.
TEST(PlaceLabels, AdversarialFramesNeverStackLabelsOrCoverADivider) {
    int drawn = 0, tooltipOnly = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        uint32_t state = seed * 2654435761u;
        auto random = [&state](int n) {
            state = state * 1664525u + 1013904223u;
            return int((state >> 8) % uint32_t(std::max(1, n)));
        };
        const QSize picture(20 + random(600), 16 + random(300));
        std::vector<QRect> dividers;
        const int channels = 1 + random(4);
        for (int c = 1; c < channels; ++c) {
            const int y = picture.height() * c / channels;
            dividers.push_back(QRect(0, y - 2, picture.width(), 4 + random(6)));
        }
        std::vector<MarkLabel> marks;
        const int blobs = 1 + random(25);
        for (int b = 0; b < blobs; ++b) {
            QRect box(random(picture.width()) - 5, random(picture.height()) - 5, 1 + random(60),
                      1 + random(80));
            box = box.intersected(QRect(QPoint(0, 0), picture));
            if (box.isEmpty()) box = QRect(0, 0, 2, 2);
            const int number = 1 + random(999999);
            marks.push_back({box, QString::number(number)});
            // Its pieces: splits that nearly coincide with it, or part of it, or merge with the
            // next.
            for (int k = random(4); k > 0; --k) {
                QRect piece = random(2) == 0 ? box.adjusted(random(3) - 1, random(3) - 1,
                                                            random(3) - 1, random(3) - 1)
                                             : box.adjusted(random(box.width() / 2 + 1), 0, 0,
                                                            -random(box.height() / 2 + 1));
                if (piece.isEmpty()) piece = box;
                marks.push_back(
                    {piece, random(3) == 0 ? QString("piece") : QString::number(number + k)});
            }
        }
        const LabelLayout layout = placeLabels(marks, pitchWidth, labelHeight, picture, dividers);
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        ASSERT_EQ(layout.labelOf.size(), marks.size());
        for (size_t k = 0; k < marks.size(); ++k) ASSERT_GE(layout.labelOf[k], 0);
        for (size_t g = 0; g < layout.labels.size(); ++g) {
            const PlacedLabel& label = layout.labels[g];
            if (!label.free) {
                EXPECT_TRUE(label.rect.isNull()) << label.text.toStdString();
                ++tooltipOnly;
                continue;
            }
            ++drawn;
            ASSERT_TRUE(QRect(QPoint(0, 0), picture).contains(label.rect)) << g;
            for (const QRect& d : dividers) ASSERT_FALSE(label.rect.intersects(d)) << g;
            for (size_t k = 0; k < marks.size(); ++k) {
                if (layout.labelOf[k] != int(g)) {
                    ASSERT_FALSE(label.rect.intersects(marks[k].box)) << g << " over box " << k;
                }
            }
            for (size_t h = g + 1; h < layout.labels.size(); ++h) {
                if (layout.labels[h].free) {
                    ASSERT_FALSE(label.rect.intersects(layout.labels[h].rect)) << g << " " << h;
                }
            }
        }
    }
    // Both kinds occur: the frames are crowded enough to leave some labels without room.
    EXPECT_GT(drawn, 1000);
    EXPECT_GT(tooltipOnly, 10);
}

// A crowded frame of four channels with six-digit running numbers: fish 24 lines long and 20
// pixels wide every 30 lines, the next channel's fish 10 lines on; the picture at the widths a
// window takes. Every fish keeps its label, whole, clear of the others.
TEST(PlaceLabels, SixDigitNumbersInACrowdedFrameAtEveryWidth) {
    for (const int width : {300, 557, 700, 1116, 1473}) {
        SCOPED_TRACE(width);
        const QSize picture(width, 420);
        std::vector<MarkLabel> marks;
        for (int c = 0; c < 4; ++c) {
            int number = 119880 + 1000 * c;
            for (int x = 10 * c; x + 24 <= width; x += 30) {
                const int top = 10 + 105 * c + (x / 30 % 3) * 20;
                marks.push_back({QRect(x, top, 24, 20), QString::number(number++)});
            }
        }
        const LabelLayout layout = place(marks, picture);
        EXPECT_EQ(layout.labels.size(), marks.size());
        expectSound(marks, layout, picture);
    }
}

// The marks drawn on a picture: two pieces of one split on nearly the same box get one label
// "9 + 10", and the tooltip of either names both.
TEST(PlaceLabels, TheMarksOfTwoPiecesOnOneBoxAreNamedAndExplainedTogether) {
    FrameEndings endings;
    endings.allocate();
    for (const int number : {9, 10}) {
        EndedObject e;
        e.line = 150;
        e.number = number;
        e.ending.object.lengd = number == 9 ? 30 : 29;
        e.ending.object.xv = 100;
        e.ending.object.xh = 180;
        e.ending.object.klofinn = 3;
        endings.add(e);
    }
    QImage picture(200, 256, QImage::Format_RGB32);
    picture.fill(Qt::white);
    EndingMarks marks;
    marks.draw(picture, endings, MarkFrame{101, 200, 0, 511, 256},
               {"", "Counter 1", "Counter 2", "Counter 3", "Counter 4"});
    ASSERT_EQ(marks.count(), 2);
    ASSERT_NE(marks.label(0), nullptr);
    EXPECT_EQ(marks.label(0)->text, "9 + 10");
    EXPECT_EQ(marks.label(1), marks.label(0));
    for (int mark : {0, 1}) {
        const QString tip = marks.explain(mark);
        EXPECT_TRUE(tip.contains("counted as no. 9 in Counter 1")) << tip.toStdString();
        EXPECT_TRUE(tip.contains("counted as no. 10 in Counter 1")) << tip.toStdString();
    }
}

}  // namespace
}  // namespace velkor::test
