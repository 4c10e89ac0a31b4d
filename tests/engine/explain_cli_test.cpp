// velkor-count --explain on generated sessions: the trace's records come through unchanged and in
// order, every object that ends has an "ended" record right before its "closed" record if it is
// counted, the counted verdicts are exactly the closed objects, every other verdict agrees with
// the limits it names, and the summary's verdicts count the "ended" records.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>

#include "count_cli.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

const char* const objectFieldNames[] = {
    "lengd",        "v",           "h",         "breidd",
    "xv",           "xh",          "flatarmal", "litur",
    "sjalfs_lengd", "sjalfs_flat", "klofinn",   "vsn",
    "hsn",          "inte",        "astand",    "K_sami_fiskur"};

// Why an "ended" record's verdict does not follow from its fields and limits ("" if it does).
std::string disagreement(const json& e) {
    const json& l = e["limits"];
    const int lengd = e["lengd"], breidd = e["breidd"], area = e["flatarmal"];
    // The size test's bounds in their order, each with the verdict that names it.
    const std::pair<bool, const char*> bounds[] = {
        {lengd < l["minLength"], "too short"},  {lengd >= l["maxLength"], "too long"},
        {breidd < l["minWidth"], "too narrow"}, {breidd >= l["maxWidth"], "too wide"},
        {area < l["minArea"], "too small"},     {area >= l["maxArea"], "too large"}};
    std::string size = "counted";
    for (const auto& [fails, verdict] : bounds) {
        if (fails) {
            size = verdict;
            break;
        }
    }
    std::string expected = size;
    if (e["klofinn"] != 0) {
        if (e["K_sami_fiskur"] == true) {
            expected = "piece of the same fish";
        } else if (size != "counted") {
            expected = "piece " + size;
        } else if (e["sjalfs_lengd"].get<int>() <= (l["minLength"].get<int>() + 2) / 3) {
            expected = "piece too short on its own";
        } else if (e["sjalfs_flat"].get<int>() < l["minArea"].get<int>() / 4) {
            expected = "piece too small on its own";
        }
    }
    if (e["cut"] == true && e["astand"] != 3) return "cut without shape state 3";
    return expected == e["verdict"] ? "" : "expected " + expected;
}

struct ExplainCase {
    const char* what;
    std::vector<synth::SynthChannel> channels;
    double density, touching;
    int32_t frameWidth;
    int32_t reportClass;  // -1: as generated; else the class the report names for channel 1
    bool compressed;
};

TEST(VelkorCountExplain, TraceRecordsUnchangedAndEveryVerdictExplained) {
    const ExplainCase cases[] = {
        {"two classes, crowded and touching, compressed",
         {{10, 250, 2, 0}, {261, 500, 4, 0}},
         40,
         0.5,
         2001,
         -1,
         true},
        {"four channels, narrow frames",
         {{10, 120, 2, 0}, {131, 250, 3, 0}, {261, 380, 2, 0}, {391, 500, 1, 0}},
         6,
         0.3,
         37,
         -1,
         false},
        {"big fish under a small class: too long and too wide",
         {{10, 500, 7, 0}},
         2,
         0.15,
         1116,
         0,
         false},
        {"small fish under a large class: too short", {{10, 500, 2, 0}}, 2, 0.15, 500, 6, false},
    };
    for (const ExplainCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        synth::SessionOptions o;
        o.out = dir.file("explained");
        o.scene.seed = 5;
        o.scene.lines = 30 * 1116;
        o.scene.channels = c.channels;
        o.scene.density = c.density;
        o.scene.touching = c.touching;
        o.compressed = c.compressed;
        synth::writeSession(o);
        if (c.reportClass >= 0) {
            const std::string report = std::regex_replace(
                readBytes(synth::reportName(o.out)), std::regex("Size Group1=[0-9]"),
                "Size Group1=" + std::to_string(c.reportClass));
            writeBytes(synth::reportName(o.out), report);
        }
        const std::string recording =
            shellQuoted(c.compressed ? synth::compressedName(o.out) : synth::recordingName(o.out));
        const std::string width = "--frame-width " + std::to_string(c.frameWidth) + " ";
        const CliRun trace = runCount(width + "--trace " + recording);
        const CliRun explain = runCount(width + "--explain " + recording);
        ASSERT_EQ(trace.status, 0) << trace.err;
        ASSERT_EQ(explain.status, 0) << explain.err;

        const auto traced = linesOf(trace.out);
        const auto explained = linesOf(explain.out);
        std::vector<std::string> others;  // the explained output without its "ended" records
        std::map<std::pair<int, std::string>, int> verdicts;  // (channel, verdict) -> records
        int closedSeen = 0, rejections = 0;
        for (size_t k = 0; k < explained.size(); ++k) {
            const std::string& text = explained[k];
            if (text.rfind("{\"ended\": ", 0) != 0) {
                if (text.rfind("{\"closed\": ", 0) == 0) {
                    ++closedSeen;
                    // Every counted object was explained right before it.
                    ASSERT_GT(k, 0u);
                    const ordered_json before = ordered_json::parse(explained[k - 1]);
                    ASSERT_TRUE(before.contains("ended")) << text;
                    EXPECT_EQ(before["ended"]["verdict"], "counted") << text;
                }
                others.push_back(text);
                continue;
            }
            const ordered_json record = ordered_json::parse(text);
            const ordered_json& e = record["ended"];
            // Keys in their documented order.
            std::vector<std::string> keys;
            for (const auto& item : e.items()) keys.push_back(item.key());
            std::vector<std::string> expectedKeys{"frame", "line", "channel", "verdict", "cut"};
            expectedKeys.insert(expectedKeys.end(), std::begin(objectFieldNames),
                                std::end(objectFieldNames));
            expectedKeys.push_back("limits");
            ASSERT_EQ(keys, expectedKeys) << text;
            const std::string why = disagreement(json::parse(e.dump()));
            EXPECT_EQ(why, "") << text;
            verdicts[{e["channel"].get<int>(), e["verdict"].get<std::string>()}] += 1;
            if (e["verdict"] == "counted") {
                // The next record is the "closed" record of the same object.
                ASSERT_LT(k + 1, explained.size());
                const ordered_json next = ordered_json::parse(explained[k + 1]);
                ASSERT_TRUE(next.contains("closed")) << text;
                const ordered_json& closed = next["closed"];
                for (const char* key : {"frame", "line", "channel"})
                    EXPECT_EQ(closed[key], e[key]) << key << " " << text;
                for (const char* key : objectFieldNames)
                    EXPECT_EQ(closed[key], e[key]) << key << " " << text;
            } else {
                ++rejections;
            }
        }
        // Fish are counted, or (under the wrong class) rejected in numbers.
        EXPECT_GT(c.reportClass >= 0 ? rejections : closedSeen, 20);

        // Without the "ended" records the output is the trace, byte for byte, but for the
        // summary, which gains its verdicts.
        ASSERT_EQ(others.size(), traced.size());
        for (size_t k = 0; k + 1 < traced.size(); ++k) ASSERT_EQ(others[k], traced[k]) << k;
        ordered_json summary = ordered_json::parse(others.back());
        const ordered_json& counts = summary["summary"]["verdicts"];
        ASSERT_EQ(counts.size(), c.channels.size());
        for (size_t ch = 0; ch < counts.size(); ++ch) {
            EXPECT_EQ(counts[ch].size(), 16u);
            for (const auto& [verdict, n] : counts[ch].items()) {
                const auto it = verdicts.find({static_cast<int>(ch + 1), verdict});
                EXPECT_EQ(n, it == verdicts.end() ? 0 : it->second) << verdict;
            }
        }
        summary["summary"].erase("verdicts");
        EXPECT_EQ(summary.dump(), ordered_json::parse(traced.back()).dump());
    }
}

}  // namespace
}  // namespace velkor::test
