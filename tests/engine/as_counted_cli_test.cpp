// velkor-count --from A --to B --as-counted: the records of frames A..B as the continuous count
// from frame 1 has them, the very lines of the whole --trace (or --explain), and the totals of
// frames 1..B in the summary.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "count_cli.h"
#include "synth_session.h"

namespace velkor::test {
namespace {

using nlohmann::json;

int32_t frameOf(const json& record) {
    for (const char* kind : {"closed", "ended"})
        if (record.contains(kind)) return record[kind]["frame"].get<int32_t>();
    return record["frame"].get<int32_t>();
}

TEST(AsCounted, RecordsOfTheFramesAreTheWholeTracesLines) {
    TempDir dir;
    const std::string blb = writeSynthSession(dir, {4, 20000, 4.0, 0.6, 6.0, true, 21});
    struct {
        int32_t frameWidth;
        const char* output;
        int32_t from, to;
    } cases[] = {
        {557, "--trace", 1, 1},     {557, "--trace", 5, 9},   {557, "--trace", 36, 36},
        {1116, "--explain", 7, 12}, {2001, "--trace", 3, 10}, {1, "--trace", 9000, 9040},
    };
    std::map<std::string, std::vector<std::string>> wholeRuns;
    for (const auto& c : cases) {
        const std::string width = "--frame-width " + std::to_string(c.frameWidth) + " ";
        const std::string range = std::to_string(c.from) + ".." + std::to_string(c.to);
        SCOPED_TRACE(width + c.output + " " + range);
        const std::string wholeKey = width + c.output;
        if (!wholeRuns.count(wholeKey)) {
            const CliRun run = runCount(wholeKey + " " + shellQuoted(blb));
            ASSERT_EQ(run.status, 0) << run.err;
            wholeRuns[wholeKey] = linesOf(run.out);
        }
        const std::vector<std::string>& whole = wholeRuns[wholeKey];
        std::string expected;
        json lastFrame;
        for (size_t i = 0; i + 1 < whole.size(); ++i) {  // all but the summary
            const json record = json::parse(whole[i]);
            const int32_t f = frameOf(record);
            if (f < c.from || f > c.to) continue;
            expected += whole[i] + "\n";
            if (record.contains("totals")) lastFrame = record;
        }
        ASSERT_FALSE(expected.empty());

        const CliRun part = runCount(wholeKey + " --from " + std::to_string(c.from) + " --to " +
                                     std::to_string(c.to) + " --as-counted " + shellQuoted(blb));
        ASSERT_EQ(part.status, 0) << part.err;
        const size_t summaryAt = part.out.rfind("{\"summary\"");
        ASSERT_NE(summaryAt, std::string::npos);
        EXPECT_EQ(part.out.substr(0, summaryAt), expected);
        const json summary = json::parse(part.out.substr(summaryAt))["summary"];
        EXPECT_EQ(summary["totals"], lastFrame["totals"]);
    }
}

TEST(AsCounted, NeedsARange) {
    TempDir dir;
    const std::string blb = writeSynthSession(dir, {1, 3000, 2.0, 0.4, 3.0, false, 5});
    const CliRun run = runCount("--trace --as-counted " + shellQuoted(blb));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--as-counted"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace velkor::test
