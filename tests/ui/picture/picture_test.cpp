// The picture's arithmetic and drawing: skal, the counter field placement, the stroke recognizer
// and the pixels teiknaramman and teiknaskilrum leave in an image.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/picture/frame_painter.h"
#include "ui/picture/picture_geometry.h"
#include "ui/picture/stroke_recognizer.h"

namespace velkor {
namespace {

TEST(Skal, MapsTheCountingAreaOntoThePictureHeight) {
    struct Case {
        int j, left, right, H, row;
    } cases[] = {
        {0, 0, 511, 256, 0},           // the left edge: the top row
        {511, 0, 511, 256, 256},       // the right edge: just past the bottom
        {255, 0, 511, 256, 127},       // 255 / 511 x 256 = 127.7, truncated
        {100, 100, 300, 400, 0},       // a counting area that does not start at 0
        {99, 100, 300, 400, -2},       // left of the area: above the picture, truncated toward zero
        {50, 100, 300, 1, 0},          // -0.25 truncates toward zero, not down
        {7, 7, 7, 300, 0},             // equal edges: no division by zero
        {32767, 0, 1, 2000, 1000000},  // far outside: held, not overflowed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(skal(c.j, c.left, c.right, c.H), c.row)
            << "j=" << c.j << " edges " << c.left << ".." << c.right << " H=" << c.H;
    }
}

TEST(CounterFieldTops, EachFieldSitsAtTheMiddleOfItsChannelsBand) {
    struct Case {
        int P, channels;
        CounterFieldTops tops;
    } cases[] = {
        {456, 2, {0, 114, 342, hiddenFieldTop, hiddenFieldTop}},
        {456, 1, {0, 228, hiddenFieldTop, hiddenFieldTop, hiddenFieldTop}},
        {400, 3, {0, 66, 200, 333, hiddenFieldTop}},  // 400 x 5 div 6 = 333
        {456, 4, {0, 57, 171, 285, 399}},
        {456, 0, {0, 228, hiddenFieldTop, hiddenFieldTop, hiddenFieldTop}},  // held at 1
    };
    for (const Case& c : cases) {
        const CounterFieldTops tops = counterFieldTops(c.P, c.channels);
        for (int i = 1; i <= 4; ++i) {
            EXPECT_EQ(tops[i], c.tops[i])
                << "P=" << c.P << " channels=" << c.channels << " i=" << i;
        }
    }
}

// A stroke through the given corners, with a point every 4 pixels between them.
std::vector<StrokePoint> stroke(std::initializer_list<StrokePoint> corners) {
    std::vector<StrokePoint> points;
    const StrokePoint* previous = nullptr;
    for (const StrokePoint& corner : corners) {
        if (previous != nullptr) {
            const int dx = corner.x - previous->x, dy = corner.y - previous->y;
            const int steps = std::max(1, std::max(std::abs(dx), std::abs(dy)) / 4);
            for (int s = 1; s <= steps; ++s) {
                points.push_back({previous->x + dx * s / steps, previous->y + dy * s / steps});
            }
        } else {
            points.push_back(corner);
        }
        previous = &corner;
    }
    return points;
}

TEST(StrokeRecognizer, KnowsTheSixGesturesAndNothingElse) {
    using G = StrokeGesture;
    struct Case {
        const char* what;
        std::vector<StrokePoint> points;
        G expected;
    } cases[] = {
        {"left", stroke({{300, 100}, {100, 110}}), G::sgiLeft},
        {"right", stroke({{100, 100}, {300, 90}}), G::sgiRight},
        {"up", stroke({{200, 300}, {210, 120}}), G::sgiUp},
        {"down", stroke({{200, 100}, {195, 260}}), G::sgiDown},
        {"< drawn downwards", stroke({{250, 100}, {150, 180}, {250, 260}}), G::sgiChevronLeft},
        {"< drawn upwards", stroke({{250, 260}, {150, 180}, {250, 100}}), G::sgiChevronLeft},
        {"> drawn downwards", stroke({{150, 100}, {250, 180}, {150, 260}}), G::sgiChevronRight},
        {"> narrow and tall", stroke({{150, 100}, {190, 200}, {150, 300}}), G::sgiChevronRight},
        {"a click", {{200, 200}}, G::none},
        {"a click that jitters", stroke({{200, 200}, {203, 201}, {201, 204}}), G::none},
        {"too short", stroke({{200, 200}, {225, 200}}), G::none},
        {"diagonal", stroke({{100, 100}, {250, 250}}), G::none},
        {"there and back", stroke({{100, 200}, {300, 200}, {110, 205}}), G::none},
        {"a circle", stroke({{200, 100}, {300, 200}, {200, 300}, {100, 200}, {200, 105}}), G::none},
        {"an L", stroke({{100, 100}, {100, 300}, {300, 300}}), G::none},
        {"a hooked line", stroke({{100, 200}, {300, 200}, {290, 215}}), G::sgiRight},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(recognizeStroke(c.points), c.expected) << c.what;
    }
}

// A frame store on the heap with the given objects per column.
std::unique_ptr<FrameStore> storeWith(
    std::initializer_list<std::pair<int, std::vector<std::pair<int16_t, int16_t>>>> columns) {
    auto store = std::make_unique<FrameStore>();
    for (const auto& [c, objects] : columns) {
        (*store)[c][0].left = int16_t(objects.size());
        for (size_t k = 0; k < objects.size(); ++k) {
            (*store)[c][k + 1] = {objects[k].first, objects[k].second};
        }
    }
    return store;
}

TEST(FramePainter, StrokeCoversItsStartRowAndNotItsEndRow) {
    // Scan line 0..511 on 256 rows: pixel 255 is row 127, pixel 400 row 200, pixel 20 row 10.
    auto store = storeWith({{0, {{255, 400}}}, {3, {{20, 255}, {400, 400}}}, {5, {}}});
    ChannelArray<ChannelBounds> table{};
    table[1] = {0, 511, 500};
    FramePictureSource source{store.get(), 6, 1, &table, 0, 511};
    QImage picture(8, 256, QImage::Format_RGB32);
    picture.fill(Qt::red);
    teiknaramman(picture, source, 0xFFC0C0C0);

    auto pixel = [&](int x, int y) { return picture.pixel(x, y); };
    EXPECT_EQ(pixel(0, 126), pictureBackground);
    EXPECT_EQ(pixel(0, 127), strokeColour);
    EXPECT_EQ(pixel(0, 199), strokeColour);
    EXPECT_EQ(pixel(0, 200), pictureBackground);  // the end row stays white
    EXPECT_EQ(pixel(3, 10), strokeColour);
    EXPECT_EQ(pixel(3, 126), strokeColour);
    EXPECT_EQ(pixel(3, 127), pictureBackground);
    EXPECT_EQ(pixel(3, 200), pictureBackground);  // both ends on one row: nothing
    for (int x : {1, 2, 4, 5, 6, 7}) {
        for (int y = 0; y < 256; ++y) ASSERT_EQ(pixel(x, y), pictureBackground) << x << "," << y;
    }
}

TEST(FramePainter, OnlyTheFramesColumnsAreDrawn) {
    auto store = storeWith({{0, {{0, 511}}}, {1, {{0, 511}}}, {2, {{0, 511}}}});
    ChannelArray<ChannelBounds> table{};
    table[1] = {0, 511, 500};
    FramePictureSource source{store.get(), 2, 1, &table, 0, 511};  // column 2 is an old line
    QImage picture(4, 64, QImage::Format_RGB32);
    teiknaramman(picture, source, 0xFFC0C0C0);
    EXPECT_EQ(picture.pixel(0, 0), strokeColour);
    EXPECT_EQ(picture.pixel(1, 63), strokeColour);
    EXPECT_EQ(picture.pixel(2, 0), pictureBackground);
}

TEST(FramePainter, DividersAreRaisedBarsOverTheStrokes) {
    // Channels 0..250 and 261..512 on 512 rows: a = 250, b = 261 (exact in binary).
    auto store = storeWith({{1, {{0, 511}}}});
    ChannelArray<ChannelBounds> table{};
    table[1] = {0, 250, 250};
    table[2] = {261, 512, 250};
    const QRgb face = 0xFFD4D0C8;
    FramePictureSource source{store.get(), 3, 2, &table, 0, 512};
    QImage picture(6, 512, QImage::Format_RGB32);
    teiknaramman(picture, source, face);
    for (int x : {0, 1, 5}) {
        EXPECT_EQ(picture.pixel(x, 249), face) << x;  // the line above the bar
        EXPECT_EQ(picture.pixel(x, 250), dividerLight) << x;
        EXPECT_EQ(picture.pixel(x, 255), face) << x;
        EXPECT_EQ(picture.pixel(x, 260), face) << x;
        EXPECT_EQ(picture.pixel(x, 261), dividerShadow) << x;
        EXPECT_EQ(picture.pixel(x, 262), dividerDark) << x;
    }
    EXPECT_EQ(picture.pixel(1, 248), strokeColour);
    EXPECT_EQ(picture.pixel(1, 263), strokeColour);
    EXPECT_EQ(picture.pixel(0, 248), pictureBackground);

    // One channel: no divider; four channels: three.
    for (int channels : {1, 4}) {
        ChannelArray<ChannelBounds> four{};
        four[1] = {0, 100, 0};
        four[2] = {120, 220, 0};
        four[3] = {240, 340, 0};
        four[4] = {360, 511, 0};
        FramePictureSource s{store.get(), 0, channels, &four, 0, 511};
        teiknaramman(picture, s, face);
        int darkRows = 0;
        for (int y = 0; y < picture.height(); ++y) darkRows += picture.pixel(3, y) == dividerDark;
        EXPECT_EQ(darkRows, channels - 1) << channels << " channels";
    }
}

}  // namespace
}  // namespace velkor
