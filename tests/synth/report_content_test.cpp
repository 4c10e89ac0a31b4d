// The report of a generated session value by value: a session of three channels whose live counts
// differ from one another, from their sum and from the fish drawn, so that each recorded figure
// can only come from its own source; and the program's other values (length, end, tank,
// comments, the curve's scale) as the session's options give them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "io/errors.h"
#include "settings/profile_ini.h"
#include "settings/recorded_figures.h"
#include "synth_fixture.h"

namespace velkor::synth::test {
namespace {

TEST(SynthReportContent, EveryRecordedFigureIsTheLiveCountsOwn) {
    TempDir dir;
    SessionOptions o;
    o.out = dir.file("three");
    o.scene.seed = 5;
    o.scene.lines = 75 * linesPerSecond + 300;
    o.scene.channels = {{10, 160, 1, 0}, {171, 330, 4, 0}, {341, 500, 6, 0}};
    o.scene.density = 3;
    o.scene.touching = 0.25;
    o.scene.noise = 1;
    o.scene.counterWidthMm = 1400;
    o.start = "2026-03-01 23:59:30";
    o.tank = "Kví µ… é";
    const SessionResult made = writeSession(o);
    const LiveCount& live = made.live;
    ASSERT_EQ(live.totals.size(), 3u);
    // The fixture's figures all differ: channel from channel, and each from the fish drawn.
    int64_t sum = 0;
    for (size_t c = 0; c < 3; ++c) {
        sum += live.totals[c];
        EXPECT_NE(live.totals[c], made.truth.fish[c]) << c;
        for (size_t d = c + 1; d < 3; ++d) ASSERT_NE(live.totals[c], live.totals[d]);
        // Each total is the sum of its own channel's intervals.
        int64_t intervals = 0;
        for (const int32_t n : live.perInterval[c]) intervals += n;
        EXPECT_EQ(intervals, live.totals[c]) << c;
    }

    const ProfileIni ini = ProfileIni::load(reportName(o.out));
    const RecordedFigures recorded = readRecordedFigures(ini);
    for (int32_t c = 1; c <= 3; ++c) {
        EXPECT_EQ(recorded.sessionTotals[c], live.totals[static_cast<size_t>(c - 1)]) << c;
        // Never cleared: the counter at the end holds the whole session's count.
        EXPECT_EQ(recorded.endCounters[c], live.totals[static_cast<size_t>(c - 1)]) << c;
    }
    EXPECT_FALSE(recorded.sessionTotals[4]);
    EXPECT_EQ(recorded.total, sum);
    EXPECT_EQ(recorded.tank, o.tank);
    const double lasting = static_cast<double>(o.scene.lines) / linesPerSecond / 86400;
    ASSERT_TRUE(recorded.lasting);
    EXPECT_NEAR(*recorded.lasting, lasting, 1e-7);  // as written, to a few ms
    // 2026-03-01 is day 46082; the session ends past midnight.
    ASSERT_TRUE(recorded.dateTime);
    EXPECT_NEAR(*recorded.dateTime, 46082 + (86400 - 30) / 86400.0 + lasting, 1e-7);
    ASSERT_EQ(recorded.comments.size(), 2u);
    EXPECT_EQ(recorded.comments[0], "Synthetic session written by velkor-synth");
    EXPECT_EQ(recorded.comments[1],
              "seed 5, 3 fish per second per channel, touching 0.25, noise 1");

    // The curve's scale: the busiest interval of any channel as fish per minute, 10 % above,
    // rounded up to tens.
    int32_t busiest = 0;
    for (const auto& channel : live.perInterval)
        busiest = std::max(busiest, *std::max_element(channel.begin(), channel.end()));
    const double maximum = std::max(10.0, std::ceil(6.0 * busiest * 1.1 / 10.0) * 10.0);
    EXPECT_EQ(std::stod(ini.readString("Program", "Maximum", "")), maximum);
    EXPECT_EQ(ini.readInteger("Kest", "channelwidth", -1), 2);  // 1400 mm, the third width
    EXPECT_EQ(ini.readString("Settings", "ScanRate", ""), "1116");
    EXPECT_EQ(ini.readString("Program", "operator", ""), "velkor-synth");
    EXPECT_EQ(ini.readString("Program", "Counter name", ""), "Synthetic counter");
    EXPECT_EQ(ini.readString("Settings", "EnableMulti", ""), "1");
    for (int32_t c = 1; c <= 3; ++c)
        EXPECT_EQ(ini.readInteger("Kest", "Size Group" + std::to_string(c), -1),
                  o.scene.channels[static_cast<size_t>(c - 1)].sizeGroup)
            << c;
}

// One channel: no multi-channel layout, and a quiet session's scale is 10 at the least.
TEST(SynthReportContent, OneQuietChannel) {
    TempDir dir;
    SessionOptions o;
    o.out = dir.file("one");
    o.scene.lines = 20 * linesPerSecond;
    o.scene.density = 0.001;
    o.scene.channels = {{10, 500, 0, 0}};
    const SessionResult made = writeSession(o);
    const ProfileIni ini = ProfileIni::load(reportName(o.out));
    EXPECT_EQ(ini.readString("Settings", "EnableMulti", ""), "0");
    EXPECT_EQ(ini.readInteger("Kest", "channelwidth", -1), 0);
    EXPECT_EQ(ini.readInteger("Kest", "Size Group1", -1), 0);
    int32_t busiest = 0;
    for (const int32_t n : made.live.perInterval[0]) busiest = std::max(busiest, n);
    EXPECT_LE(6.0 * busiest * 1.1, 10.0);
    EXPECT_EQ(std::stod(ini.readString("Program", "Maximum", "")), 10.0);
}

// The counter's multi-channel layout is on from two channels.
TEST(SynthReportContent, MultiChannelLayoutFromTwoChannelsOn) {
    const struct {
        std::vector<SynthChannel> channels;
        const char* enableMulti;
    } cases[] = {
        {{{10, 500, 2, 0}}, "0"},
        {{{10, 250, 2, 0}, {261, 500, 2, 0}}, "1"},
        {{{10, 100, 2, 0}, {111, 200, 2, 0}, {211, 300, 2, 0}, {311, 500, 2, 0}}, "1"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        SessionOptions o;
        o.out = dir.file("m");
        o.scene.lines = 2 * linesPerSecond;
        o.scene.channels = c.channels;
        writeSession(o);
        const ProfileIni ini = ProfileIni::load(reportName(o.out));
        EXPECT_EQ(ini.readString("Settings", "EnableMulti", ""), c.enableMulti)
            << c.channels.size() << " channels";
        EXPECT_EQ(ini.readInteger("Settings", "NrChannels", -1),
                  static_cast<int32_t>(c.channels.size()));
    }
}

// A live count that cannot be made names the recording with the reason: the replay's own error
// as it is (a missing recording), or "could not be counted" and the engine's message.
TEST(SynthReportContent, ALiveCountThatCannotBeMadeNamesTheRecording) {
    TempDir dir;
    SessionOptions o;
    o.out = dir.file("lonely");
    o.scene.lines = 2 * linesPerSecond;
    writeSession(o);
    std::filesystem::remove(reportName(o.out));
    const struct {
        std::string recording, message;
    } cases[] = {
        {dir.file("missing.blb"), ": cannot open the recording: No such file or directory"},
        {recordingName(o.out), ": could not be counted: Cant find corresponding reportfile (.mse)"},
    };
    for (const auto& c : cases) {
        try {
            countAsLive(c.recording, 1, 1000);
            ADD_FAILURE() << c.recording << ": no error";
        } catch (const VelkorError& e) {
            EXPECT_EQ(e.file(), c.recording);
            EXPECT_EQ(std::string(e.what()), c.recording + c.message);
        }
    }
}

}  // namespace
}  // namespace velkor::synth::test
