// The frame records of velkor-count --trace, field by field: every channel's running total (the
// last channel's too), the last frame's totals equal to the summary's, and each channel's
// parameters under their own names in their order.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "count_cli.h"
#include "engine_fixture.h"

namespace velkor::test {
namespace {

using ordered_json = nlohmann::ordered_json;

std::vector<std::string> keysOf(const ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) keys.push_back(item.key());
    return keys;
}

TEST(TraceRecords, EveryChannelToTheLastAndEveryParameterByName) {
    TempDir dir;
    const std::string blb = dir.file("tank.blb");
    writeRecording(blb, threeChannelSession());
    writeReport(dir.file("tank.mse"), threeChannels);
    const CliRun run = runCount("--frame-width 100 --trace " + shellQuoted(blb));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_FALSE(lines.empty());
    const ordered_json summary = ordered_json::parse(lines.back())["summary"];

    const std::vector<std::string> parameterNames{
        "minSegmentWidth", "mergeGap", "minLength",       "maxLength", "minWidth", "maxWidth",
        "minArea",         "maxArea",  "edgeAngleWeight", "avgLength", "avgWidth", "avgArea"};
    ordered_json last;
    int frames = 0;
    for (const std::string& line : lines) {
        const ordered_json record = ordered_json::parse(line);
        if (!record.contains("frame")) continue;
        ++frames;
        EXPECT_EQ(keysOf(record),
                  (std::vector<std::string>{"frame", "totals", "capacity", "params"}));
        ASSERT_EQ(record["totals"].size(), 3u) << line;
        ASSERT_EQ(record["capacity"].size(), 3u) << line;
        ASSERT_EQ(record["params"].size(), 3u) << line;
        for (const ordered_json& params : record["params"])
            EXPECT_EQ(keysOf(params), parameterNames) << line;
        if (!last.is_null()) {
            for (size_t c = 0; c < 3; ++c)
                EXPECT_GE(record["totals"][c], last["totals"][c]) << line;  // running totals
        }
        last = record;
    }
    EXPECT_EQ(frames, 31);
    EXPECT_EQ(last["totals"], summary["totals"]);
    EXPECT_EQ(summary["totals"], ordered_json::parse("[60, 30, 90]"));
}

}  // namespace
}  // namespace velkor::test
