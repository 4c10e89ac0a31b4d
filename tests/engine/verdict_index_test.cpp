// Where the session's verdicts end: the index the background count fills holds, per channel and
// verdict, exactly the frames of velkor-count --explain's "ended" records with that verdict, its
// tallies are the summary's, and stepping to the next or previous frame wraps at either end.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <thread>

#include "count_cli.h"
#include "replay/background_count.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {
namespace {

using nlohmann::json;

TEST(VerdictIndex, NextAndPreviousWrapAndKeepEachFrameOnce) {
    VerdictIndex index;
    for (int32_t frame : {3, 3, 8, 8, 8, 20}) index.add(frame, 2, EndingVerdict::tooLarge);
    index.add(5, 0, EndingVerdict::tooLarge);  // no such channel: ignored
    index.add(9, 2, EndingVerdict::counted);
    EXPECT_EQ(index.frames(2, EndingVerdict::tooLarge), (std::vector<int32_t>{3, 8, 20}));

    const struct {
        int32_t channel;
        EndingVerdict verdict;
        int32_t from, next, previous;
    } cases[] = {
        {2, EndingVerdict::tooLarge, 0, 3, 20},   // before the first: back wraps to the last
        {2, EndingVerdict::tooLarge, 3, 8, 20},   // on the first
        {2, EndingVerdict::tooLarge, 5, 8, 3},    // between
        {2, EndingVerdict::tooLarge, 20, 3, 8},   // on the last: next wraps to the first
        {2, EndingVerdict::tooLarge, 99, 3, 20},  // after the last
        {2, EndingVerdict::counted, 9, 9, 9},     // a single frame is its own next and previous
        {2, EndingVerdict::tooShort, 5, 0, 0},    // none
        {1, EndingVerdict::tooLarge, 5, 0, 0},    // another channel
        {7, EndingVerdict::tooLarge, 5, 0, 0},    // out of range
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.channel) + " from " + std::to_string(c.from));
        EXPECT_EQ(index.next(c.channel, c.verdict, c.from), c.next);
        EXPECT_EQ(index.previous(c.channel, c.verdict, c.from), c.previous);
    }
}

TEST(VerdictIndex, TheFirstAndLastChannelsAreKeptAndNoneBeyond) {
    VerdictIndex index;
    const std::size_t empty = index.memoryBytes();
    for (int32_t channel : {0, 1, 4, 5}) index.add(10 + channel, channel, EndingVerdict::counted);
    const struct {
        int32_t channel;
        std::vector<int32_t> frames;
    } cases[] = {{0, {}}, {1, {11}}, {4, {14}}, {5, {}}};
    for (const auto& c : cases) {
        EXPECT_EQ(index.frames(c.channel, EndingVerdict::counted), c.frames) << c.channel;
        const int32_t only = c.frames.empty() ? 0 : c.frames.front();
        EXPECT_EQ(index.next(c.channel, EndingVerdict::counted, only), only) << c.channel;
        EXPECT_EQ(index.previous(c.channel, EndingVerdict::counted, only), only) << c.channel;
    }
    // Once shrunk, the lists hold the two frames and nothing more.
    index.shrink();
    EXPECT_EQ(index.memoryBytes(), empty + 2 * sizeof(int32_t));
}

bool waitUntilFinished(const BackgroundCount& count) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!count.finished() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return count.finished();
}

EndingVerdict verdictNamed(const std::string& text) {
    for (int v = 0; v < endingVerdictCount; ++v)
        if (text == verdictText(static_cast<EndingVerdict>(v)))
            return static_cast<EndingVerdict>(v);
    ADD_FAILURE() << "no verdict " << text;
    return EndingVerdict::counted;
}

TEST(VerdictIndex, BackgroundCountHoldsTheFramesAndTalliesOfExplain) {
    const struct {
        const char* what;
        std::vector<synth::SynthChannel> channels;
        int32_t frameWidth;
        int32_t reportClass;  // -1: as generated; else the class the report names for channel 1
    } cases[] = {
        {"one channel, big fish under a small class", {{10, 500, 7, 0}}, 1116, 0},
        {"four channels, crowded, narrow frames",
         {{10, 120, 2, 0}, {131, 250, 3, 0}, {261, 380, 2, 0}, {391, 500, 1, 0}},
         97,
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        synth::SessionOptions o;
        o.out = dir.file("session");
        o.scene.seed = 11;
        o.scene.lines = 40 * 1116;
        o.scene.channels = c.channels;
        o.scene.density = 0.5;
        o.scene.touching = 0.5;
        synth::writeSession(o);
        if (c.reportClass >= 0) {
            const std::string report = std::regex_replace(
                readBytes(synth::reportName(o.out)), std::regex("Size Group1=[0-9]"),
                "Size Group1=" + std::to_string(c.reportClass));
            writeBytes(synth::reportName(o.out), report);
        }
        const std::string recording = synth::recordingName(o.out);

        const CliRun explain = runCount("--frame-width " + std::to_string(c.frameWidth) +
                                        " --explain " + shellQuoted(recording));
        ASSERT_EQ(explain.status, 0) << explain.err;
        std::map<std::pair<int, EndingVerdict>, std::set<int32_t>> expected;
        json summary;
        for (const std::string& text : linesOf(explain.out)) {
            const json record = json::parse(text);
            if (record.contains("ended")) {
                const json& e = record["ended"];
                expected[{e["channel"].get<int>(), verdictNamed(e["verdict"])}].insert(
                    e["frame"].get<int32_t>());
            } else if (record.contains("summary")) {
                summary = record["summary"];
            }
        }
        ASSERT_TRUE(summary.contains("verdicts"));

        BackgroundCount count(recording, c.frameWidth, -1);
        count.start();
        ASSERT_TRUE(waitUntilFinished(count));
        const BackgroundCount::Result& result = count.result();
        ASSERT_TRUE(result.counted) << result.error;
        ASSERT_EQ(result.channelCount, static_cast<int32_t>(c.channels.size()));
        bool rejectedSomewhere = false;
        std::size_t entries = 0;
        for (int32_t ch = 1; ch <= result.channelCount; ++ch) {
            for (int v = 0; v < endingVerdictCount; ++v) {
                const auto verdict = static_cast<EndingVerdict>(v);
                SCOPED_TRACE(std::to_string(ch) + " " + verdictText(verdict));
                EXPECT_EQ(result.verdicts[ch][v],
                          summary["verdicts"][ch - 1][verdictText(verdict)]);
                const std::set<int32_t>& frames = expected[{ch, verdict}];
                const std::vector<int32_t>& kept = result.verdictFrames.frames(ch, verdict);
                EXPECT_EQ(std::vector<int32_t>(frames.begin(), frames.end()), kept);
                entries += kept.size();
                EXPECT_LE(kept.size(), static_cast<std::size_t>(count.frameCount()));
                if (v != 0 && !frames.empty()) rejectedSomewhere = true;
                // "next" from the start visits every such frame once and wraps to the first.
                int32_t frame = 0;
                for (int32_t want : frames) {
                    frame = result.verdictFrames.next(ch, verdict, frame);
                    EXPECT_EQ(frame, want);
                }
                if (!frames.empty()) {
                    EXPECT_EQ(result.verdictFrames.next(ch, verdict, frame), *frames.begin());
                }
            }
        }
        EXPECT_TRUE(rejectedSomewhere);
        // Four bytes per kept frame, besides the lists' own bookkeeping.
        EXPECT_EQ(result.verdictFrames.memoryBytes(),
                  sizeof(VerdictIndex) + entries * sizeof(int32_t));
    }
}

}  // namespace
}  // namespace velkor::test
