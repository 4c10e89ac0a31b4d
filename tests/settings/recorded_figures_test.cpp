// The counter's own figures read from a session report: every combination of recorded and missing
// totals, the forms a value may take, reports without sections, and the difference in per cent.
#include <gtest/gtest.h>

#include <cmath>

#include "settings/profile_ini.h"
#include "settings/recorded_figures.h"
#include "settings/session_report.h"
#include "test_files.h"

namespace velkor {
namespace {

using testing::crlf;
using testing::TempDir;
using testing::writeBytes;

// The nine integer figures: "Total", "CountersT"1..4 and "Counters"1..4.
struct Figure {
    const char* section;
    std::string key;
    int32_t value;
};
std::vector<Figure> nineFigures() {
    std::vector<Figure> figures{{"Program", "Total", 900}};
    for (int n = 1; n <= 4; ++n)
        figures.push_back({"Kest", "CountersT" + std::to_string(n), 100 + n});
    for (int n = 1; n <= 4; ++n)
        figures.push_back({"Kest", "Counters" + std::to_string(n), 10 + n});
    return figures;
}
std::optional<int32_t> figureOf(const RecordedFigures& r, size_t i) {
    if (i == 0) return r.total;
    return i <= 4 ? r.sessionTotals[int(i)] : r.endCounters[int(i) - 4];
}

TEST(RecordedFigures, EveryCombinationOfRecordedAndMissingTotals) {
    const auto figures = nineFigures();
    for (unsigned mask = 0; mask < (1u << figures.size()); ++mask) {
        // Each figure is recorded, missing, or (every third combination) present but not a number.
        std::string program = "[Program]\r\nTank=T\r\n", kest = "[Kest]\r\nCountname1=A\r\n";
        for (size_t i = 0; i < figures.size(); ++i) {
            std::string& section = figures[i].section == std::string("Program") ? program : kest;
            if (mask & (1u << i))
                section += figures[i].key + "=" + std::to_string(figures[i].value) + "\r\n";
            else if (mask % 3 == 0)
                section += figures[i].key + "=n/a\r\n";
        }
        const RecordedFigures r = readRecordedFigures(ProfileIni::parse(program + kest));
        for (size_t i = 0; i < figures.size(); ++i) {
            const bool recorded = mask & (1u << i);
            ASSERT_EQ(figureOf(r, i),
                      recorded ? std::optional<int32_t>(figures[i].value) : std::nullopt)
                << figures[i].key << " in combination " << mask;
        }
        // Totals to compare with: "Total", or the session total of a channel the session has.
        for (int32_t channels = 1; channels <= 4; ++channels) {
            bool anyTotal = false;
            for (int32_t i = 0; i <= channels; ++i) anyTotal = anyTotal || (mask & (1u << i));
            ASSERT_EQ(r.hasTotals(channels), anyTotal) << channels << " channels, " << mask;
        }
    }
}

TEST(RecordedFigures, FormsOfAValue) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"224", 224},
        {" 224 ", 224},
        {"\"224\"", 224},
        {"+7", 7},
        {"-3", -3},
        {"$E0", 224},
        {"0x10", 16},
        {"0", 0},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"1.5", std::nullopt},
        {"12a", std::nullopt},
        {"0x", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        const RecordedFigures r = readRecordedFigures(
            ProfileIni::parse(std::string("[kest]\ncounterst2=") + c.text + "\n"));
        EXPECT_EQ(r.sessionTotals[2], c.value) << '"' << c.text << '"';
        EXPECT_FALSE(r.sessionTotals[1]);
    }
}

TEST(RecordedFigures, LastingTankAndComments) {
    const struct {
        std::string program;
        std::optional<double> lasting;
        std::optional<std::string> tank;
        std::vector<std::string> comments;
    } cases[] = {
        {"Lasting=0,0416667\nTank=Cage 4, \"north\"\n", 0.0416667, "Cage 4, \"north\"", {}},
        {"Lasting=0.5\nTank=\n", 0.5, "", {}},
        {"Lasting=soon\n", std::nullopt, std::nullopt, {}},
        {"Lasting=\n", std::nullopt, std::nullopt, {}},
        // Up to "Nocommentlines" lines; without it, every line from comment0 on.
        {"Nocommentlines=2\ncomment0=a\ncomment1=b = c\ncomment2=x\n", {}, {}, {"a", "b = c"}},
        {"comment0=a\ncomment1=b\n", {}, {}, {"a", "b"}},
        {"Nocommentlines=3\ncomment0=a\ncomment2=c\n", {}, {}, {"a"}},
        {"Nocommentlines=0\ncomment0=a\n", {}, {}, {}},
        {"Nocommentlines=-2\ncomment0=a\n", {}, {}, {}},
    };
    for (const auto& c : cases) {
        const RecordedFigures r = readRecordedFigures(ProfileIni::parse("[Program]\n" + c.program));
        ASSERT_EQ(r.lasting.has_value(), c.lasting.has_value()) << c.program;
        if (c.lasting) {
            EXPECT_DOUBLE_EQ(*r.lasting, *c.lasting) << c.program;
        }
        EXPECT_EQ(r.tank, c.tank) << c.program;
        EXPECT_EQ(r.comments, c.comments) << c.program;
    }
}

// A report written without sections (a recovered session) records nothing, and the viewer's own
// reading of it is what it was: every key at its default.
TEST(RecordedFigures, ReportWithoutSectionsRecordsNothing) {
    TempDir folder;
    writeBytes(folder.file("s.mse"),
               crlf({"Total=500", "CountersT1=500", "Counters1=20", "Lasting=0.01", "Tank=A",
                     "comment0=x", "NrChannels=2"}));
    SessionReport report;
    ASSERT_TRUE(nyjarstillingar(folder.file("s.blb"), report, nullptr));
    EXPECT_FALSE(report.recorded.total);
    EXPECT_FALSE(report.recorded.sessionTotals[1]);
    EXPECT_FALSE(report.recorded.endCounters[1]);
    EXPECT_FALSE(report.recorded.lasting);
    EXPECT_FALSE(report.recorded.tank);
    EXPECT_TRUE(report.recorded.comments.empty());
    EXPECT_FALSE(report.recorded.hasTotals(4));
    EXPECT_EQ(report.channelCount, 1);
    EXPECT_EQ(report.sessionStart, 0);

    writeBytes(folder.file("s.mse"),
               crlf({"[Program]", "Total=500", "Lasting=0,25", "DateTime=42632,5", "[Settings]",
                     "NrChannels=2", "[Kest]", "CountersT1=300", "Counters1=20", "CountersT2=x"}));
    ASSERT_TRUE(nyjarstillingar(folder.file("s.blb"), report, nullptr));
    EXPECT_EQ(report.recorded.total, 500);
    EXPECT_EQ(report.recorded.sessionTotals[1], 300);
    EXPECT_FALSE(report.recorded.sessionTotals[2]);
    EXPECT_EQ(report.recorded.endCounters[1], 20);
    EXPECT_DOUBLE_EQ(*report.recorded.lasting, 0.25);
    EXPECT_DOUBLE_EQ(report.sessionStart, 42632.25);
    EXPECT_EQ(report.channelCount, 2);
}

TEST(RecordedFigures, DifferenceInPerCent) {
    const struct {
        int64_t replay;
        std::optional<int32_t> recorded;
        const char* shown;
    } cases[] = {
        {215, 224, "-4.0 %"}, {224, 215, "+4.2 %"},  {100, 100, "0.0 %"},   {0, 0, "0.0 %"},
        {5, 0, ""},           {5, std::nullopt, ""}, {1000, 999, "+0.1 %"}, {10000, 10004, "0.0 %"},
        {0, 7, "-100.0 %"},   {30, -10, "-400.0 %"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatDifference(differencePercent(c.replay, c.recorded)), c.shown)
            << c.replay << " vs " << (c.recorded ? std::to_string(*c.recorded) : "none");
    }
    EXPECT_DOUBLE_EQ(*differencePercent(215, 224), (215.0 - 224.0) / 224.0 * 100.0);
}

TEST(RecordedFigures, DateAndTimeOfADayNumber) {
    const struct {
        double dayNumber;
        const char* shown;
    } cases[] = {
        {42632.5, "2016-09-19 12:00:00"},
        {42632.4583333333, "2016-09-19 11:00:00"},
        {42632.999999999, "2016-09-20 00:00:00"},  // rounds up into the next day
        {0, "1899-12-30 00:00:00"},
        {-1.25, "1899-12-29 06:00:00"},
        {2958465.5, "9999-12-31 12:00:00"},
        {2958466, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDayNumberDateTime(c.dayNumber), c.shown) << c.dayNumber;
}

}  // namespace
}  // namespace velkor
