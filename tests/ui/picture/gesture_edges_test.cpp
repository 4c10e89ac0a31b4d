// The window's plain arithmetic at its edges: strokes right at the recognizer's limits (the
// shortest stroke, the steepest that is still sideways, the least straight that still counts,
// the shortest chevron arm, a point drawn as a short upright stretch), and the picture's scale and
// the counter fields where a count or a span is out of the ordinary.
#include <gtest/gtest.h>

#include <vector>

#include "ui/picture/picture_geometry.h"
#include "ui/picture/stroke_recognizer.h"

namespace velkor {
namespace {

TEST(GestureEdges, StrokesAtTheRecognizersLimits) {
    using G = StrokeGesture;
    struct Case {
        const char* what;
        std::vector<StrokePoint> points;  // the corners only, as a quick stroke gives them
        G expected;
    } cases[] = {
        {"exactly the shortest stroke", {{0, 0}, {40, 0}}, G::sgiRight},
        {"exactly the shortest, leftwards", {{100, 0}, {60, 0}}, G::sgiLeft},
        {"a pixel shorter", {{0, 0}, {39, 0}}, G::none},
        {"exactly twice as wide as high", {{0, 0}, {80, 40}}, G::sgiRight},
        {"a pixel higher", {{0, 0}, {80, 41}}, G::none},
        {"exactly twice as high as wide", {{0, 0}, {40, 80}}, G::sgiDown},
        {"the same upwards", {{40, 80}, {0, 0}}, G::sgiUp},
        // Start to end 80, drawn over 100: exactly the least straightness that counts.
        {"exactly straight enough", {{0, 0}, {40, 30}, {80, 0}}, G::sgiRight},
        {"a pixel less straight", {{0, 0}, {40, 31}, {80, 0}}, G::none},
        {"a short hook at the start", {{0, 0}, {0, 40}, {100, 40}}, G::none},
        {"a diagonal through three points", {{0, 0}, {50, 60}, {100, 120}}, G::none},
        // Chevron arms 30 long (three quarters of the shortest stroke), and 29.
        {"arms exactly long enough", {{30, 0}, {12, 24}, {30, 48}}, G::sgiChevronLeft},
        {"arms a pixel short", {{29, 0}, {9, 21}, {29, 42}}, G::none},
        // Upper arm: 80 from end to end, drawn over 100.
        {"an arm exactly straight enough",
         {{64, 0}, {50, 48}, {0, 48}, {64, 96}},
         G::sgiChevronLeft},
        {"an arm that bends", {{100, 0}, {100, 80}, {0, 80}, {100, 160}}, G::none},
        {"a flat <", {{200, 100}, {100, 110}, {200, 120}}, G::none},
        {"a down stroke with a slight bend", {{110, 100}, {100, 200}, {110, 300}}, G::sgiDown},
        {"a flat >", {{10, 20}, {80, 20}, {20, 0}}, G::none},
        // A point drawn as a short upright stretch: the point is where the stroke first reaches
        // furthest to that side.
        {"< with an upright point", {{80, 60}, {20, 40}, {20, 30}, {30, 10}}, G::sgiChevronLeft},
        {"> with an upright point and a bent arm",
         {{20, 100}, {80, 50}, {80, 60}, {40, 40}},
         G::none},
        {"< of three points drawn upwards", {{50, 80}, {0, 60}, {50, 40}}, G::sgiChevronLeft},
        {"> of three points", {{50, 40}, {80, 50}, {20, 80}}, G::sgiChevronRight},
        {"a > that starts at its point", {{100, 0}, {40, 20}, {0, 80}}, G::none},
    };
    for (const Case& c : cases) EXPECT_EQ(recognizeStroke(c.points), c.expected) << c.what;
}

TEST(GestureEdges, ScaleAndFieldsOutOfTheOrdinary) {
    // Equal edges are scaled as a counting area one pixel wide: a pixel off is the whole height.
    EXPECT_EQ(skal(8, 7, 7, 300), 300);
    EXPECT_EQ(skal(6, 7, 7, 300), -300);
    EXPECT_EQ(skal(7, 7, 7, 300), 0);
    // Edges the wrong way round turn the picture over.
    EXPECT_EQ(skal(0, 511, 0, 256), 256);
    // A channel count above four is held at four.
    const CounterFieldTops five = counterFieldTops(456, 5);
    const CounterFieldTops four = counterFieldTops(456, 4);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(five[i], four[i]) << i;
    EXPECT_EQ(four[4], 399);
    // A panel of one pixel: every field at its top.
    EXPECT_EQ(counterFieldTops(1, 4), (CounterFieldTops{0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace velkor
