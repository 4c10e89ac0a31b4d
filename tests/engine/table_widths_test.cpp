// velkor-count's readable tables with text outside ASCII: every column as wide as its widest cell
// in characters as a terminal shows them, with "é", "µ", "…" or "→" in the cell that sets the
// width, so that the columns line up whatever the counter names hold.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/velkor-count/display_width.h"
#include "tools/velkor-count/recorded_output.h"
#include "tools/velkor-count/sweep_output.h"

namespace velkor {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The character column (from 0) just after the first `what` in `line`; npos when absent.
size_t endColumn(const std::string& line, const std::string& what) {
    const size_t at = line.find(what);
    return at == std::string::npos ? at : displayWidth(line.substr(0, at + what.size()));
}

size_t startColumn(const std::string& line, const std::string& what) {
    const size_t at = line.find(what);
    return at == std::string::npos ? at : displayWidth(line.substr(0, at));
}

TEST(DisplayWidth, CharactersNotBytes) {
    const struct {
        std::string text;
        size_t width;
    } cases[] = {
        {"", 0}, {"abc", 3}, {"é", 1}, {"µ", 1}, {"…", 1}, {"→", 1}, {"Kví 1 → …", 9},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(displayWidth(c.text), c.width) << c.text;
        EXPECT_EQ(displayWidth(padRight(c.text, 12)), 12u) << c.text;
        EXPECT_EQ(displayWidth(padLeft(c.text, 12)), 12u) << c.text;
        EXPECT_EQ(padRight(c.text, 0), c.text);
    }
}

// Every row of the count table (the heading, each channel and the sum) ends in the same
// character column: the name column is as wide in characters whatever its name holds.
TEST(CountTableWidths, NamesOutsideAsciiKeepTheFiguresInTheirColumns) {
    struct Case {
        const char* why;
        ChannelArray<std::string> names;
        int32_t channels;
    };
    const std::string long24 = "Kvíarnar é µ-seiði … 123";  // 24 characters, 30 bytes
    ASSERT_EQ(displayWidth(long24), 24u);
    const Case cases[] = {
        {"a name of 24 characters with é, µ and … sets the width",
         {"", long24, "One", "Two", "Three"},
         3},
        {"the accented name last", {"", "One", "Two", "Three", long24}, 4},
        {"a name wider than the column widens it for every row",
         {"", "Lón", long24 + " og Straumur", "µ", "x"},
         4},
    };
    RecordedFigures recorded;
    recorded.total = 1000;
    for (int32_t c = 1; c <= 4; ++c) recorded.sessionTotals[c] = 100 * c;
    const ChannelArray<int32_t> totals{0, 11, 222, 3333, 44444};
    for (const Case& c : cases) {
        for (const bool compared : {true, false}) {
            const std::string rows = countTableRows(c.names, totals, c.channels,
                                                    compared ? recorded : RecordedFigures{});
            const std::vector<std::string> lines = linesOf(rows);
            ASSERT_EQ(lines.size(), static_cast<size_t>(c.channels) + (compared ? 2 : 1)) << rows;
            for (const std::string& line : lines)
                EXPECT_EQ(displayWidth(line), displayWidth(lines.back()))
                    << c.why << (compared ? "" : ", nothing recorded") << "\n"
                    << rows;
            // The names stand whole at the start of their rows.
            for (int32_t ch = 1; ch <= c.channels; ++ch)
                EXPECT_EQ(lines[static_cast<size_t>(ch) - (compared ? 0 : 1)].rfind(
                              "  " + c.names[ch] + " ", 0),
                          0u)
                    << c.why;
        }
    }
}

// A sweep of two channels whose first channel's name, verdict moves and figures hold text
// outside ASCII: the second channel's columns start in the same character column on every line.
TEST(SweepTableWidths, TheSecondChannelLinesUpBehindTextOutsideAscii) {
    struct Case {
        const char* why;
        std::string firstName;
    };
    const Case cases[] = {
        {"an accented name shorter than its columns", "Kví é"},
        {"a name as wide as the columns", std::string(20, 'x') + "µ…é"},
        {"a name wider than its columns",
         "Kvíarnar við Lónið … og µ-seiðin úr Straumsvík, sem koma úr eldisstöðinni við Hraunsá 1"},
    };
    for (const Case& c : cases) {
        ClassSweep sweep;
        sweep.recording = "r.blb";
        sweep.channels = 2;
        sweep.lines = 11160;
        sweep.frames = 10;
        sweep.frameWidth = 1116;
        sweep.names = {"", c.firstName, "Two"};
        sweep.reportClass = {0, 3, 6};
        sweep.recorded.sessionTotals[1] = 500;
        sweep.recorded.sessionTotals[2] = 700;
        for (int32_t k = 0; k < fishClassCount; ++k) {
            // Channel 1's moves ("too short 40 → 41, ...") are the widest cells of their column,
            // each with an arrow; channel 2's counts are 7770..7779 to find them by.
            sweep.cells[1][k].total = 400 + k;
            sweep.cells[1][k].verdicts[static_cast<int>(EndingVerdict::tooShort)] = 40 + k;
            sweep.cells[1][k].verdicts[static_cast<int>(EndingVerdict::pieceTooWide)] = 90 - 3 * k;
            sweep.cells[2][k].total = 7770 + k;
        }
        const std::string table = sweepTable(sweep, nothingGiven);
        const std::vector<std::string> lines = linesOf(table);
        ASSERT_GE(lines.size(), 13u) << table;
        // lines[1]: the names, lines[2]: the heading, lines[3..12]: classes 0..9. Channel 2's
        // heading "Replay   " starts its columns; its counts end 3 characters before that
        // column's end (a blank and the marks).
        const std::string& heading = lines[2];
        const size_t secondReplay = displayWidth(heading.substr(0, heading.rfind("Replay")));
        size_t arrows = 0;
        for (int32_t k = 0; k < fishClassCount; ++k) {
            const std::string& row = lines[3 + static_cast<size_t>(k)];
            arrows += row.find("→") != std::string::npos ? 1 : 0;
            EXPECT_EQ(endColumn(row, std::to_string(7770 + k)) + 3, secondReplay + 9)
                << c.why << ", class " << k << "\n"
                << table;
        }
        EXPECT_EQ(arrows, 9u) << table;
        // The second name starts where the second channel's columns start.
        EXPECT_EQ(startColumn(lines[1], "Two"), secondReplay) << c.why << "\n" << table;
        EXPECT_EQ(lines[1].rfind("  Class   " + c.firstName + " ", 0), 0u) << table;
    }
}

}  // namespace
}  // namespace velkor
