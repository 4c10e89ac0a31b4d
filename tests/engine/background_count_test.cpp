// The whole count on a worker thread, without a window: it starts once however often it is asked,
// gathers its curve in ten-second steps, and ends every error in a message that names the
// recording once.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "engine_fixture.h"
#include "io/errors.h"
#include "replay/background_count.h"

namespace velkor::test {
namespace {

// Waits until the count has finished; false after a minute.
bool waitUntilFinished(const BackgroundCount& count) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!count.finished() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return count.finished();
}

// 30000 lines (about 27 s) with a fish every 100 lines on one channel.
Scene steadyScene() {
    Scene scene(30000);
    for (int l = 1; l + 10 <= 30000; l += 100) scene.fish(l, 10, 100, 120);
    return scene;
}

TEST(BackgroundCount, StartsOnceAndDrawsItsCurveInTenSecondSteps) {
    TempDir dir;
    const std::string blb = dir.file("steady.blb");
    writeRecording(blb, steadyScene());
    writeReport(dir.file("steady.mse"), {{0, 511, "One"}});

    BackgroundCount count(blb, 1000, -1);
    std::atomic<bool> release{false};
    std::atomic<int> calls{0};
    count.onFrameCounted = [&](const BackgroundCount& self, int32_t done, int32_t) {
        ++calls;
        while (done == 2 && !release && !self.cancelRequested())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    count.start();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (calls < 2 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(calls, 2);  // held at frame 2
    count.start();        // while it runs: the same count goes on
    release = true;
    ASSERT_TRUE(waitUntilFinished(count));
    count.start();  // once it has finished: nothing is counted again
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(calls, count.frameCount());
    EXPECT_EQ(count.framesDone(), count.frameCount());

    const BackgroundCount::Result& result = count.result();
    ASSERT_TRUE(result.counted) << result.error;
    ASSERT_EQ(result.channelCount, 1);
    EXPECT_EQ(result.totals[1], 300);
    // One point per ten seconds of lines (11160), the last one at the recording's end.
    const ThroughputCurve& curve = result.curves[1];
    ASSERT_EQ(curve.size(), 3u);
    const double tenSeconds = 11160 / linesPerDay;
    EXPECT_NEAR(curve[1].first - curve[0].first, tenSeconds, 1e-12);
    EXPECT_NEAR(curve[2].first - curve[1].first, (30000 - 2 * 11160) / linesPerDay, 1e-12);
    EXPECT_DOUBLE_EQ(curve[0].second, 112 * 6);  // 112 fish in the first ten seconds
}

// Whatever ends the count, the window gets one line that names the recording once.
TEST(BackgroundCount, EveryErrorEndsTheCountNamingTheRecordingOnce) {
    // One 32000-pixel object for 70000 lines: its area passes the integer range mid-way.
    TempDir dir;
    const std::string blb = dir.file("session.blb");
    Scene overflowing;
    overflowing.fish(1, 70000, 0, 32000);
    writeRecording(blb, overflowing);
    writeReport(dir.file("session.mse"), {{0, 32767, "One"}}, 42632.4166667, 32767);
    {
        BackgroundCount count(blb, 2001, -1);
        count.start();
        ASSERT_TRUE(waitUntilFinished(count));
        EXPECT_FALSE(count.result().counted);
        EXPECT_EQ(count.result().error.rfind(blb + ": line ", 0), 0u) << count.result().error;
        EXPECT_EQ(count.result().error.find(blb, 1), std::string::npos) << count.result().error;
    }

    const std::string small = dir.file("small.blb");
    writeRecording(small, steadyScene());
    writeReport(dir.file("small.mse"), {{0, 511, "One"}});
    const struct {
        void (*raise)();
        std::string error;  // after the recording's name and ": "
    } cases[] = {
        {[] { throw OverflowError("", "frame count out of range"); }, "frame count out of range"},
        {[] { throw std::runtime_error("out of memory"); }, "out of memory"},
        {[] { throw 7; }, "the count ended with an unexpected error"},
    };
    for (const auto& c : cases) {
        BackgroundCount count(small, 1000, -1);
        count.onFrameCounted = [&c](const BackgroundCount&, int32_t done, int32_t) {
            if (done == 3) c.raise();
        };
        count.start();
        ASSERT_TRUE(waitUntilFinished(count)) << c.error;
        EXPECT_FALSE(count.result().counted);
        EXPECT_EQ(count.result().error, small + ": " + c.error);
    }
}

// A recording the count cannot open: the engine's reason after the recording's name, once.
TEST(BackgroundCount, ARecordingThatCannotBeOpenedGivesTheReasonAfterItsName) {
    TempDir dir;
    const std::string blb = dir.file("without report.blb");
    writeRecording(blb, steadyScene());
    BackgroundCount count(blb, 1000, -1);
    count.start();
    ASSERT_TRUE(waitUntilFinished(count));
    EXPECT_FALSE(count.result().counted);
    EXPECT_EQ(count.result().error, blb + ": Cant find corresponding reportfile (.mse)");
}

// Cancelling stops the count after the frame it is reading: it ends as not counted, with no
// error, at the frame it had reached.
TEST(BackgroundCount, CancelStopsTheCountAtTheFrameItIsReading) {
    TempDir dir;
    const std::string blb = dir.file("steady.blb");
    writeRecording(blb, steadyScene());
    writeReport(dir.file("steady.mse"), {{0, 511, "One"}});
    BackgroundCount count(blb, 1000, -1);
    std::atomic<bool> held{false};
    count.onFrameCounted = [&](const BackgroundCount& self, int32_t done, int32_t) {
        if (done != 2) return;
        held = true;
        // Held until the cancel is seen; a cancel that is never seen lets the count go on.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!self.cancelRequested() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    count.start();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!held && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(held);
    count.cancel();
    EXPECT_TRUE(count.cancelRequested());
    EXPECT_TRUE(count.finished());
    EXPECT_FALSE(count.result().counted);
    EXPECT_EQ(count.result().error, "");
    EXPECT_EQ(count.framesDone(), 2);
    EXPECT_GT(count.frameCount(), 2);
}

}  // namespace
}  // namespace velkor::test
