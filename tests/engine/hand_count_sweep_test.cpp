// The class sweep of one channel against a hand count, as the window runs it on a thread of its
// own: every figure that of `velkor-count --class-sweep --reference` for that channel, on a session
// whose four channels all count differently; progress read from another thread; a cancel that
// ends it and waits; the reason when a recording cannot be swept; and the line under the hand
// count.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>
#include <vector>

#include "count_cli.h"
#include "engine_fixture.h"
#include "io/file_names.h"
#include "settings/recorded_figures.h"
#include "synth_session.h"
#include "tests/support/temp_dir.h"
#include "tools/velkor-count/hand_count_sweep.h"
#include "tools/velkor-count/hand_count_text.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {
namespace {

using nlohmann::json;

// Four channels, each with fish of another class than the report names, so that every channel
// counts differently and the classes of one channel move its count a long way.
std::string fourChannelSession(const TempDir& dir, const std::string& name, int64_t seconds,
                               bool compressed = false) {
    synth::SessionOptions o;
    o.out = dir.file(name);
    o.scene.seed = 11;
    o.scene.lines = seconds * linesPerSecond;
    o.scene.channels = {
        {10, 120, 2, 0, 1}, {131, 250, 5, 0, 3}, {261, 380, 1, 0, 4}, {391, 500, 7, 0, 6}};
    o.scene.density = 3;
    o.compressed = compressed;
    synth::writeSession(o);
    if (compressed) std::filesystem::remove(synth::recordingName(o.out));
    return compressed ? synth::compressedName(o.out) : synth::recordingName(o.out);
}

HandCountSweep::Result sweptToTheEnd(HandCountSweep& sweep) {
    sweep.start();
    while (!sweep.finished()) std::this_thread::yield();
    return sweep.result();
}

TEST(HandCountSweep, EveryFigureIsThatOfTheToolsSweepWithTheReference) {
    TempDir dir;
    const std::string plain = fourChannelSession(dir, "Kví 4", 30);
    const std::string packed = fourChannelSession(dir, "packed", 30, true);
    // Damaged lines are stepped over alike.
    TempDir damagedDir;
    const std::string damaged = writeSynthSession(damagedDir, {.channels = 4, .damaged = true});
    {
        // The channels all count differently, so a figure of the wrong channel would show.
        const CliRun run = runCount("--json " + shellQuoted(plain));
        ASSERT_EQ(run.status, 0) << run.err;
        const json totals = json::parse(run.out)["summary"]["totals"];
        ASSERT_EQ(totals.size(), 4u);
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) EXPECT_NE(totals[a], totals[b]) << totals.dump();
    }
    const struct {
        std::string recording;
        int32_t channel;
        int64_t handCount;
        int32_t frameWidth;
        int32_t counterType;
    } cases[] = {
        {plain, 3, 630, 1116, -1}, {plain, 2, 0, 557, -1},    {plain, 4, 41, 2001, 5},
        {plain, 3, 1, 1, -1},      {packed, 4, 99, 1116, -1}, {damaged, 4, 17, 1116, -1},
    };
    for (const auto& c : cases) {
        const std::string what = c.recording + " channel " + std::to_string(c.channel) +
                                 " hand count " + std::to_string(c.handCount) + " width " +
                                 std::to_string(c.frameWidth);
        HandCountSweep sweep(c.recording, c.channel, c.handCount, c.frameWidth, c.counterType);
        const HandCountSweep::Result result = sweptToTheEnd(sweep);
        ASSERT_TRUE(result.swept) << what << ": " << result.error;
        EXPECT_EQ(result.error, "");

        const CliRun run =
            runCount("--class-sweep --json --frame-width " + std::to_string(c.frameWidth) +
                     " --counter-type " + std::to_string(c.counterType) + " --reference " +
                     std::to_string(c.channel) + "=" + std::to_string(c.handCount) + " " +
                     shellQuoted(c.recording));
        ASSERT_EQ(run.status, 0) << what << ": " << run.err;
        const json channel = json::parse(run.out)["sweep"]["channels"][c.channel - 1];
        const ChannelSweep& s = result.sweep;
        EXPECT_EQ(s.channel, c.channel);
        EXPECT_EQ(s.handCount, c.handCount);
        EXPECT_EQ(s.reportClass, channel["reportClass"]) << what;
        EXPECT_EQ(s.nearestClass, channel["reference"]["nearest"]) << what;
        int marked = 0;
        for (int32_t k = 0; k < fishClassCount; ++k) {
            const HandCountRow& row = s.rows[k];
            EXPECT_EQ(row.sizeClass, k);
            EXPECT_EQ(row.replay, channel["classes"][k]["total"]) << what << " class " << k;
            EXPECT_EQ(row.difference, row.replay - c.handCount);
            EXPECT_EQ(row.reportClass, k == s.reportClass);
            EXPECT_EQ(row.nearest, k == s.nearestClass);
            marked += row.nearest ? 1 : 0;
        }
        EXPECT_EQ(marked, 1);
        // The nearest class compared with the hand count, as the tool compares it.
        const HandCountRow& nearest = s.rows[s.nearestClass];
        const json& reference = channel["reference"];
        EXPECT_EQ(nearest.replay, reference["total"]) << what;
        EXPECT_EQ(nearest.difference, reference["difference"]) << what;
        if (reference["differencePercent"].is_null()) {
            EXPECT_FALSE(nearest.differencePercent) << what;
        } else {
            EXPECT_EQ(formatPerCentNumber(nearest.differencePercent),
                      formatPerCentNumber(reference["differencePercent"].get<double>()))
                << what;
        }
        EXPECT_EQ(sweep.framesDone(), sweep.framesTotal());
        EXPECT_EQ(sweep.framesTotal(), 10 * int64_t(json::parse(run.out)["sweep"]["frames"]));
    }
}

TEST(HandCountSweep, ProgressIsReadFromAnotherThreadAndCancelEndsItAndWaits) {
    TempDir dir;
    const std::string recording = fourChannelSession(dir, "long", 600);
    {
        // Read while it runs: never going back, and all of it at the end.
        HandCountSweep sweep(recording, 2, 630, 557, -1);
        sweep.start();
        int64_t last = 0, seen = 0;
        while (!sweep.finished()) {
            const int64_t done = sweep.framesDone();
            EXPECT_GE(done, last);
            EXPECT_LE(done, std::max<int64_t>(sweep.framesTotal(), 0) + 10);
            if (done != last) ++seen;
            last = done;
        }
        EXPECT_TRUE(sweep.result().swept) << sweep.result().error;
        EXPECT_GT(seen, 1);  // it was seen moving
        EXPECT_EQ(sweep.framesDone(), sweep.framesTotal());
    }
    {
        // Cancelled part of the way: it has ended when cancel returns, with nothing swept and
        // nothing wrong.
        HandCountSweep sweep(recording, 2, 630, 557, -1);
        sweep.start();
        while (sweep.framesTotal() == 0 || sweep.framesDone() < sweep.framesTotal() / 10)
            std::this_thread::yield();
        sweep.cancel();
        EXPECT_TRUE(sweep.finished());
        EXPECT_TRUE(sweep.cancelRequested());
        EXPECT_FALSE(sweep.result().swept);
        EXPECT_EQ(sweep.result().error, "");
        EXPECT_LT(sweep.framesDone(), sweep.framesTotal());
        sweep.cancel();  // again: nothing more to wait for
    }
    {
        // Cancelled before it starts: it stops while opening.
        HandCountSweep sweep(recording, 2, 630, 557, -1);
        sweep.cancel();
        sweep.start();
        sweep.cancel();
        EXPECT_TRUE(sweep.finished());
        EXPECT_FALSE(sweep.result().swept);
        EXPECT_EQ(sweep.result().error, "");
        EXPECT_EQ(sweep.framesDone(), 0);
    }
    {
        // Dropped while it runs (the window closes): the destructor cancels and waits.
        HandCountSweep sweep(recording, 4, 0, 1116, -1);
        sweep.start();
        while (sweep.framesDone() == 0) std::this_thread::yield();
    }
}

TEST(HandCountSweep, ARecordingThatCannotBeSweptSaysWhy) {
    TempDir dir;
    const std::string recording = fourChannelSession(dir, "Tänk", 5);
    std::filesystem::copy_file(pathFromUtf8(recording), pathFromUtf8(dir.file("alone.blb")));
    const struct {
        std::string recording;
        int32_t channel;
        std::string error;
    } cases[] = {
        {recording, 5, recording + ": has 4 channels, not channel 5"},
        {recording, 0, recording + ": has 4 channels, not channel 0"},
        {dir.file("alone.blb"), 1,
         dir.file("alone.blb") + ": Cant find corresponding reportfile (.mse)"},
    };
    for (const auto& c : cases) {
        HandCountSweep sweep(c.recording, c.channel, 630, 1116, -1);
        const HandCountSweep::Result result = sweptToTheEnd(sweep);
        EXPECT_FALSE(result.swept);
        EXPECT_EQ(result.error, c.error);
    }
}

// A recording that opens but fails in every count of the sweep (an object whose area passes the
// integer range): the sweep is not finished, and the error is told once, not once a class.
TEST(HandCountSweep, AnErrorOfEveryCountIsToldOnce) {
    TempDir dir;
    const std::string blb = dir.file("overflowing.blb");
    Scene overflowing;
    overflowing.fish(1, 70000, 0, 32000);
    writeRecording(blb, overflowing);
    writeReport(dir.file("overflowing.mse"), {{0, 32767, "One"}}, 42632.4166667, 32767);
    HandCountSweep sweep(blb, 1, 630, 2001, -1, 2);
    const HandCountSweep::Result result = sweptToTheEnd(sweep);
    EXPECT_FALSE(result.swept);
    EXPECT_EQ(result.error.rfind(blb + ": line ", 0), 0u) << result.error;
    EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
    EXPECT_EQ(result.error.find(blb, 1), std::string::npos) << result.error;

    // The sweep's own lines end as lines do, also the one of a channel it does not have.
    const std::string recording = fourChannelSession(dir, "four", 5);
    CountOptions options;
    options.frameWidth = 1116;
    ChannelSweep channelSweep;
    const CountResult counted = sweepChannel(recording, 5, 630, options, 1, nullptr, channelSweep);
    EXPECT_FALSE(counted.ok);
    EXPECT_EQ(counted.errors, recording + ": has 4 channels, not channel 5\n");
}

TEST(HandCountText, TheReplaysDifferenceInPerCentOfTheHandCount) {
    const struct {
        int64_t handCount;
        std::optional<int64_t> replay;
        const char* text;
    } cases[] = {
        {630, 615, "hand count 630: replay 615 (-2.4 %)"},
        {615, 630, "hand count 615: replay 630 (+2.4 %)"},
        {630, 630, "hand count 630: replay 630 (0.0 %)"},
        {630, 0, "hand count 630: replay 0 (-100.0 %)"},
        {0, 0, "hand count 0: replay 0 (0.0 %)"},
        {0, 12, "hand count 0: replay 12 (+12)"},  // no per cent of nothing: the fish instead
        {2000, 1999, "hand count 2000: replay 1999 (-0.1 %)"},
        {20000, 19999, "hand count 20000: replay 19999 (0.0 %)"},  // rounds to nothing: no sign
        {8, 9, "hand count 8: replay 9 (+12.5 %)"},                // rounded as the tool rounds
        {999'999'999, 1, "hand count 999999999: replay 1 (-100.0 %)"},
        {630, std::nullopt, "hand count 630: replay counting ..."},
        // Beyond the recorded figures' range: the difference in fish, unsigned when there is none.
        {3'000'000'000, 3'000'000'000, "hand count 3000000000: replay 3000000000 (0)"},
        {3'000'000'000, 3'000'000'001, "hand count 3000000000: replay 3000000001 (+1)"},
    };
    for (const auto& c : cases) EXPECT_EQ(handCountText(c.handCount, c.replay), c.text);
}

}  // namespace
}  // namespace velkor::test
