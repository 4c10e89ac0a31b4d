// Lines of velkor-count's output that list or sum a range of channels, classes or verdicts, with
// only the first member of the range holding anything, then only the last: a loop that stops one
// short or starts one late shows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "count_cli.h"
#include "csv_reading.h"
#include "recorded_session.h"
#include "tools/velkor-count/sweep_findings.h"

namespace velkor::test {
namespace {

using nlohmann::json;

struct OneChannelHolds {
    int channel;  // 1 or 4, of four
    std::vector<RecordedChannel> channels;
};

// Four channels of which only `channel` holds fish (6) and records a session total (8); "Total" 9.
OneChannelHolds onlyChannel(int channel) {
    OneChannelHolds s{channel, {{"A", 0, 0, 0}, {"B", 0, 0, 0}, {"C", 0, 0, 0}, {"D", 0, 0, 0}}};
    s.channels[static_cast<size_t>(channel - 1)] = {"Only", 6, 8, 5};
    return s;
}

TEST(VelkorCountChannelRanges, OnlyTheFirstOrOnlyTheLastChannelHoldsFish) {
    for (const int channel : {1, 4}) {
        SCOPED_TRACE("only channel " + std::to_string(channel));
        const OneChannelHolds s = onlyChannel(channel);
        TempDir dir;
        const std::string blb = dir.file("four.blb");
        writeRecordedSession(blb, s.channels, 9);
        const std::string quoted = shellQuoted(blb);
        std::vector<int> totals(4, 0), recorded(4, 0);
        totals[static_cast<size_t>(channel - 1)] = 6;
        recorded[static_cast<size_t>(channel - 1)] = 8;

        const json summary = json::parse(runCount("--json " + quoted).out)["summary"];
        EXPECT_EQ(summary["totals"], json(totals));
        EXPECT_EQ(summary["total"], 6);
        EXPECT_EQ(summary["recorded"]["totals"], json(recorded));
        EXPECT_EQ(summary["recorded"]["total"], 9);

        // The frame records of the trace list every channel.
        json frame;
        for (const std::string& line : linesOf(runCount("--trace " + quoted).out)) {
            const json record = json::parse(line);
            if (record.contains("frame")) frame = record;
        }
        ASSERT_TRUE(frame.contains("totals"));
        EXPECT_EQ(frame["totals"], json(totals));
        EXPECT_EQ(frame["params"].size(), 4u);

        // The explained summary's verdicts: the channel's six counted objects, in its place.
        const json explained =
            json::parse(linesOf(runCount("--explain " + quoted).out).back())["summary"];
        ASSERT_EQ(explained["verdicts"].size(), 4u);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(explained["verdicts"][c]["counted"], totals[static_cast<size_t>(c)]) << c;

        const std::vector<std::string> table = linesOf(runCount(quoted).out);
        ASSERT_EQ(table.size(), 8u);
        for (int c = 1; c <= 4; ++c) {
            const std::string expected = c == channel
                                             ? "Only 6 8 -25.0 %"
                                             : std::string(1, char('A' + c - 1)) + " 0 0 0.0 %";
            EXPECT_EQ(squeezed(table[1 + static_cast<size_t>(c)]), expected);
        }
        EXPECT_EQ(squeezed(table[6]), "Sum 6 9 -33.3 %");

        const auto rows = readCsv(runCount("--csv " + quoted).out);
        ASSERT_EQ(rows.size(), 2u);
        auto cell = [&](const std::string& name) {
            const auto at = std::find(rows[0].begin(), rows[0].end(), name);
            EXPECT_NE(at, rows[0].end()) << name;
            return at == rows[0].end() ? "" : rows[1][static_cast<size_t>(at - rows[0].begin())];
        };
        for (int c = 1; c <= 4; ++c) {
            const std::string n = std::to_string(c);
            EXPECT_EQ(cell("replay " + n), std::to_string(totals[static_cast<size_t>(c - 1)]));
            EXPECT_EQ(cell("recorded " + n), std::to_string(recorded[static_cast<size_t>(c - 1)]));
            EXPECT_EQ(cell("difference % " + n), c == channel ? "-25.0" : "0.0");
            EXPECT_EQ(cell("class " + n), "1 g");
        }
        EXPECT_EQ(cell("replay total"), "6");
        EXPECT_EQ(cell("recorded total"), "9");
        EXPECT_EQ(cell("difference % total"), "-33.3");

        // Per minute: the channel's column holds its fish.
        const auto minutes = readCsv(runCount("--per-minute " + quoted).out);
        ASSERT_EQ(minutes.size(), 2u);
        ASSERT_EQ(minutes[0].size(), 9u);
        EXPECT_EQ(minutes[0][static_cast<size_t>(channel)], "Only replay");
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(minutes[1][static_cast<size_t>(c)],
                      std::to_string(totals[static_cast<size_t>(c - 1)]));

        // The sweep: each channel's figures in its own place.
        const json sweep = json::parse(runCount("--class-sweep --json " + quoted).out)["sweep"];
        ASSERT_EQ(sweep["channels"].size(), 4u);
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(sweep["channels"][c]["classes"][2]["total"], totals[static_cast<size_t>(c)]);
            EXPECT_EQ(sweep["channels"][c]["recorded"], recorded[static_cast<size_t>(c)]);
        }
    }
}

// --class for only the first or only the last channel says which classes were used, in the summary
// and in the table's columns.
TEST(VelkorCountChannelRanges, AClassGivenForTheFirstOrTheLastChannelAloneIsShown) {
    TempDir dir;
    const std::string blb = dir.file("four.blb");
    writeRecordedSession(blb, onlyChannel(4).channels, 9);
    for (const int channel : {1, 4}) {
        const std::string option = "--class " + std::to_string(channel) + "=7 ";
        const json summary =
            json::parse(runCount("--json " + option + shellQuoted(blb)).out)["summary"];
        ASSERT_TRUE(summary.contains("classes")) << option;
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(summary["classes"][c - 1]["used"], c == channel ? 7 : 2) << option << c;
        const auto rows = readCsv(runCount("--csv " + option + shellQuoted(blb)).out);
        ASSERT_EQ(rows.size(), 2u);
        ASSERT_EQ(rows[0].back(), "counter type") << option;
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(rows[1][rows[0].size() - 6 + static_cast<size_t>(c)],
                      c == channel ? "300 g" : "1 g")
                << option << c;
    }
}

// The findings of a sweep over the ends of the class and verdict ranges.
TEST(VelkorCountChannelRanges, FindingsAtTheEndsOfTheClassesAndVerdicts) {
    using Counts = std::array<int32_t, fishClassCount>;
    EXPECT_EQ(nearestClass(Counts{40, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 40, 5), 0);
    EXPECT_EQ(nearestClass(Counts{0, 0, 0, 0, 0, 0, 0, 0, 0, 40}, 40, 5), 9);
    EXPECT_EQ(nearestClass(Counts{0, 0, 0, 0, 0, 0, 0, 0, 0, 40}, 40, 0), 9);

    using Tally = std::array<int32_t, endingVerdictCount>;
    const int last = endingVerdictCount - 1;
    const struct {
        int verdict;  // the only one that moves
        size_t moved;
    } cases[] = {{0, 0}, {1, 1}, {last, 1}};
    for (const auto& c : cases) {
        Tally from{}, to{};
        to[static_cast<size_t>(c.verdict)] = 3;
        const std::vector<VerdictMove> moved = movedMost(from, to, 2);
        ASSERT_EQ(moved.size(), c.moved) << c.verdict;
        if (c.moved == 1) {
            EXPECT_EQ(static_cast<int>(moved[0].verdict), c.verdict);
            EXPECT_EQ(moved[0].from, 0);
            EXPECT_EQ(moved[0].to, 3);
        }
    }
}

}  // namespace
}  // namespace velkor::test
