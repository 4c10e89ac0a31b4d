// The read-outs' texts and widths as plain functions, and the status bar as a widget of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>

#include "settings/session_report.h"
#include "ui/counters/read_out_widths.h"
#include "ui/window/session_title.h"
#include "ui/window/status_bar_panel.h"

namespace velkor::test {
namespace {

TEST(ReadOutWidths, RoomForTheWidestTextsAndNeverBelowTheDesign) {
    QFont font = QApplication::font();
    for (const int points : {6, 9, 14, 20}) {
        font.setPointSize(points);
        const QFontMetrics m(font);
        const ReadOutWidths w = readOutWidths(font, 16, 31, 32, 80, 111);
        EXPECT_GE(w.field, 80);
        EXPECT_GE(w.panel, 111);
        EXPECT_GT(w.field, m.horizontalAdvance(widestCount)) << points;
        EXPECT_GE(w.panel, 16 + m.horizontalAdvance(widestRecordedText())) << points;
        EXPECT_GE(w.panel, 31 + m.horizontalAdvance(widestTime)) << points;
    }
}

// Whichever read-out reaches furthest right sets the panel's width: its left edge, its widest
// text and the margin, to the pixel.
TEST(ReadOutWidths, ThePanelEndsAfterTheReadOutThatReachesFurthest) {
    QFont font = QApplication::font();
    font.setPointSize(9);
    const QFontMetrics normal(font);
    QFont boldFont = font;
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    const int margin = 6;
    const int recorded = normal.horizontalAdvance(widestRecordedText());
    const struct {
        int fieldLeft, timeLeft, totalLeft, designField, panel;
    } cases[] = {
        {1000, 31, 32, 500, 1000 + 500 + margin},  // a count field wider than any text
        {1000, 31, 32, 10,
         1000 + std::max(readOutWidths(font, 0, 0, 0, 10, 0).field, recorded) + margin},
        {16, 1000, 32, 80, 1000 + normal.horizontalAdvance(widestTime) + margin},
        {16, 31, 1000, 80, 1000 + bold.horizontalAdvance(widestTotal) + margin},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            readOutWidths(font, c.fieldLeft, c.timeLeft, c.totalLeft, c.designField, 111).panel,
            c.panel)
            << c.fieldLeft << " " << c.timeLeft << " " << c.totalLeft;
    }
}

TEST(SessionTitle, FileTankDateAndTimes) {
    SessionReport report;
    report.tank = "T\xc3\xb8nk 3";
    const double start = 45000.0 + 23.0 / 24 + 58.0 / 1440;  // 23:58:00
    const double end = 45001.0 + 4.0 / 1440;                 // 00:04:00 the next day
    // The tank as the report has it, and past midnight the end's own date, as the session
    // check puts it.
    EXPECT_EQ(sessionTitle("/data/a/night.blb", report, start, end),
              QString::fromUtf8("night.blb \u2013 T\u00f8nk 3 \u2013 "
                                "15 Mar 2023 23:58:00\u201316 Mar 2023 00:04:00 \u2013 Velkor"));
    report.tank = "Tank 41";
    EXPECT_EQ(sessionTitle("day.blb", report, start - 0.5, end - 0.5),
              QString::fromUtf8("day.blb \u2013 Tank 41 \u2013 "
                                "15 Mar 2023 11:58:00\u201312:04:00 \u2013 Velkor"));
    report.tank.clear();
    EXPECT_EQ(sessionTitle("night.blb", report, start, end),
              QString::fromUtf8("night.blb \u2013 15 Mar 2023 23:58:00\u2013"
                                "16 Mar 2023 00:04:00 \u2013 Velkor"));
    EXPECT_EQ(sessionTitle(QString(), report, 0, 0),
              QString::fromUtf8("View Record \u2013 Velkor"));
}

TEST(StatusTexts, FrameWidthInLinesAndSecondsAndCapacity) {
    const struct {
        int lines;
        const char* text;
    } widths[] = {{1116, "frames of 1116 lines = 1.00 s"},
                  {1473, "frames of 1473 lines = 1.32 s"},
                  {1, "frames of 1 line = 0.00 s"},
                  {2001, "frames of 2001 lines = 1.79 s"},
                  // Either side of half a hundredth of a second: rounded, not cut off.
                  {5, "frames of 5 lines = 0.00 s"},
                  {6, "frames of 6 lines = 0.01 s"},
                  {1121, "frames of 1121 lines = 1.00 s"},
                  {1122, "frames of 1122 lines = 1.01 s"},
                  {0, ""}};
    for (const auto& w : widths) EXPECT_EQ(frameWidthText(w.lines), w.text) << w.lines;
    EXPECT_EQ(capacityText(1000), "capacity 1000 fish/min at this frame width");
    // Whose capacity: channel 1's, by its name.
    EXPECT_EQ(capacityText(1000, "Left"), "Left: capacity 1000 fish/min at this frame width");
    EXPECT_EQ(capacityText(std::nullopt), "");
}

TEST(SeparatedFieldTops, FieldsMoveDownOnlyWhereTheyWouldOverlap) {
    const struct {
        CounterFieldTops tops, expected;
    } cases[] = {
        // Room enough: the tops stay beside their channels.
        {{0, 100, 300, 500, 700}, {0, 100, 300, 500, 700}},
        // A low panel: the first caption clears the total, each field the one above it.
        {{0, 40, 120, 200, 280}, {0, 60, 125, 200, 280}},
        {{0, 40, 70, 100, 130}, {0, 60, 125, 190, 255}},
        // Fields out of sight stay out of sight.
        {{0, 40, -1000, -1000, -1000}, {0, 60, -1000, -1000, -1000}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(separatedFieldTops(c.tops, 45, 15, 50), c.expected) << c.tops[1];
}

TEST(SeparatedFieldTops, TheLastFieldsMoveUpToStayInsideThePanel) {
    const struct {
        CounterFieldTops tops;
        int bottom;
        CounterFieldTops expected;
    } cases[] = {
        // Room enough: nothing moves.
        {{0, 100, 300, 500, 700}, 800, {0, 100, 300, 500, 700}},
        // The last block would reach past the bottom: it moves up, and the one above it as far
        // as it must.
        {{0, 100, 300, 500, 700}, 720, {0, 100, 300, 500, 670}},
        {{0, 100, 300, 500, 700}, 600, {0, 100, 300, 485, 550}},
        // Too low for every block: the upper ones keep their places.
        {{0, 40, 70, 100, 130}, 200, {0, 60, 125, 190, 255}},
        {{0, 40, -1000, -1000, -1000}, 100, {0, 60, -1000, -1000, -1000}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldTopsWithin(c.tops, 45, 15, 50, c.bottom), c.expected) << c.bottom;
}

TEST(StatusBarPanel, APassingMessageShowsWholeAndClears) {
    StatusBarPanel panel;
    panel.resize(300, 40);
    panel.show();
    const QString text = "Set the mark first: A at the first frame, then A at the last";
    panel.showMessage(text);
    QApplication::processEvents();
    EXPECT_EQ(panel.message(), text);
    EXPECT_TRUE(panel.messageLine->isVisible());
    // Wrapped at this width, and the panel as high as the wrapped text needs.
    EXPECT_GE(panel.messageLine->height(),
              panel.messageLine->heightForWidth(panel.messageLine->width()));
    panel.clearMessage();
    EXPECT_FALSE(panel.messageLine->isVisible());
    panel.setFrameWidth(1116);
    panel.setCapacity(1000);
    panel.clear();
    for (const QLabel* l : {panel.countedFrames, panel.frameWidth, panel.capacity,
                            panel.frameSummary, panel.frameWidthNote, panel.messageLine})
        EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
}

}  // namespace
}  // namespace velkor::test
