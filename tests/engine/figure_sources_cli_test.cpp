// Each figure velkor-count prints comes from its own source: a session whose replay totals, its
// report's session totals ("CountersT"), end counters ("Counters") and "Total" all differ from one
// another and from channel to channel, so that a figure taken from a neighbouring source shows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "count_cli.h"
#include "csv_reading.h"
#include "recorded_session.h"

namespace velkor::test {
namespace {

using nlohmann::json;

// Replay 5, 9, 2 (sum 16); recorded 7, 4, 11 (sum 22) with "Total" 29; end counters 50, 60, 70.
const std::vector<RecordedChannel> distinctFigures{
    {"North", 5, 7, 50}, {"Middle", 9, 4, 60}, {"South", 2, 11, 70}};
constexpr int64_t recordedTotal = 29;

TEST(VelkorCountFigureSources, SummaryTableAndCsvTakeEachFigureFromItsOwnSource) {
    TempDir dir;
    const std::string blb = dir.file("distinct.blb");
    writeRecordedSession(blb, distinctFigures, recordedTotal, "Kví µ…");

    const CliRun summary = runCount("--json " + shellQuoted(blb));
    ASSERT_EQ(summary.status, 0) << summary.err;
    EXPECT_EQ(summary.out,
              "{\"summary\": {\"lines\": 600, \"frames\": 1, \"frameWidth\": 1116, "
              "\"totals\": [5, 9, 2], \"total\": 16, \"damagedLines\": 0, "
              "\"recorded\": {\"totals\": [7, 4, 11], \"total\": 29}}}\n");

    const CliRun table = runCount(shellQuoted(blb));
    ASSERT_EQ(table.status, 0) << table.err;
    const std::vector<std::string> lines = linesOf(table.out);
    ASSERT_EQ(lines.size(), 7u) << table.out;
    const char* rows[] = {"Replay Recorded Difference", "North 5 7 -28.6 %", "Middle 9 4 +125.0 %",
                          "South 2 11 -81.8 %", "Sum 16 29 -44.8 %"};
    for (size_t r = 0; r < std::size(rows); ++r) EXPECT_EQ(squeezed(lines[1 + r]), rows[r]);

    const CliRun csv = runCount("--csv " + shellQuoted(blb));
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto cells = readCsv(csv.out);
    ASSERT_EQ(cells.size(), 2u) << csv.out;
    const struct {
        const char* column;
        const char* value;
    } expected[] = {
        {"tank", "Kví µ…"},
        {"channels", "3"},
        {"replay 1", "5"},
        {"replay 2", "9"},
        {"replay 3", "2"},
        {"replay 4", ""},
        {"replay total", "16"},
        {"recorded 1", "7"},
        {"recorded 2", "4"},
        {"recorded 3", "11"},
        {"recorded 4", ""},
        {"recorded total", "29"},
        {"difference % 1", "-28.6"},
        {"difference % 2", "125.0"},
        {"difference % 3", "-81.8"},
        {"difference % 4", ""},
        {"difference % total", "-44.8"},
    };
    for (const auto& e : expected) {
        const auto at = std::find(cells[0].begin(), cells[0].end(), e.column);
        ASSERT_NE(at, cells[0].end()) << e.column;
        EXPECT_EQ(cells[1][static_cast<size_t>(at - cells[0].begin())], e.value) << e.column;
    }
}

// The sweep compares every class's count with the channel's own session total: each channel's
// "recorded" and the difference of its report's class (the plain count).
TEST(VelkorCountFigureSources, SweepComparesEachChannelWithItsOwnSessionTotal) {
    TempDir dir;
    const std::string blb = dir.file("distinct.blb");
    writeRecordedSession(blb, distinctFigures, recordedTotal);
    const CliRun run = runCount("--class-sweep --json " + shellQuoted(blb));
    ASSERT_EQ(run.status, 0) << run.err;
    const json channels = json::parse(run.out)["sweep"]["channels"];
    ASSERT_EQ(channels.size(), 3u);
    const double differences[] = {-28.6, 125.0, -81.8};
    for (size_t c = 0; c < 3; ++c) {
        EXPECT_EQ(channels[c]["name"], distinctFigures[c].name);
        EXPECT_EQ(channels[c]["recorded"], distinctFigures[c].sessionTotal) << c;
        const json& plain = channels[c]["classes"][2];
        EXPECT_EQ(plain["total"], distinctFigures[c].fish) << c;
        EXPECT_EQ(plain["difference"], differences[c]) << c;
    }

    const CliRun table = runCount("--class-sweep " + shellQuoted(blb));
    ASSERT_EQ(table.status, 0) << table.err;
    const std::vector<std::string> lines = linesOf(table.out);
    ASSERT_GE(lines.size(), 6u) << table.out;
    // Class 2 ("1 g"), the report's, is the fifth line: name, heading, classes 0 and 1 before it.
    EXPECT_EQ(squeezed(lines[5]), "1 g 5 * -28.6 % 9 * +125.0 % 2 * -81.8 %") << table.out;
}

}  // namespace
}  // namespace velkor::test
