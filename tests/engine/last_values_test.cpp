// The last value a caller gets from a long operation: a cancelled background count ends without
// a result and without an error, having reported the last frame it finished; a count that runs
// to the end reports the last frame and draws the last, short, ten seconds as the counter does.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "engine_fixture.h"
#include "replay/background_count.h"

namespace velkor::test {
namespace {

bool waitFor(const std::function<bool()>& condition) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

// 30000 lines with a fish starting every 100 lines on one channel: each closes ten lines after
// it starts, so 112 close in the first ten seconds (11160 lines), 112 in the next and 76 in the
// last 7680 lines.
struct SteadySession {
    TempDir dir;
    std::string blb = dir.file("steady.blb");
    SteadySession() {
        Scene scene(30000);
        for (int l = 1; l + 10 <= 30000; l += 100) scene.fish(l, 10, 100, 120);
        writeRecording(blb, scene);
        writeReport(dir.file("steady.mse"), {{0, 511, "One"}});
    }
};

TEST(LastValues, ACancelledCountEndsWithNeitherResultNorError) {
    SteadySession session;
    BackgroundCount count(session.blb, 1000, -1);
    std::atomic<int32_t> reached{0};
    count.onFrameCounted = [&](const BackgroundCount& self, int32_t done, int32_t) {
        reached = done;
        while (done == 5 && !self.cancelRequested())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    count.start();
    ASSERT_TRUE(waitFor([&] { return reached == 5; }));
    count.cancel();
    EXPECT_TRUE(count.finished());
    EXPECT_EQ(count.framesDone(), 5);  // the last frame it reported, not the end
    EXPECT_EQ(count.frameCount(), 31);
    EXPECT_FALSE(count.result().counted);
    EXPECT_EQ(count.result().error, "");
    EXPECT_EQ(count.result().channelCount, 0);
    EXPECT_EQ(count.result().totals[1], 0);
    EXPECT_TRUE(count.result().curves[1].empty());
}

TEST(LastValues, AFinishedCountReportsItsLastFrameAndItsLastShortStretch) {
    SteadySession session;
    BackgroundCount count(session.blb, 1000, -1);
    std::vector<std::pair<int32_t, int32_t>> reports;
    count.onFrameCounted = [&](const BackgroundCount&, int32_t done, int32_t frames) {
        reports.emplace_back(done, frames);
    };
    count.start();
    ASSERT_TRUE(waitFor([&] { return count.finished(); }));
    ASSERT_EQ(reports.size(), 31u);
    EXPECT_EQ(reports.front(), std::make_pair(1, 31));
    EXPECT_EQ(reports.back(), std::make_pair(31, 31));
    const BackgroundCount::Result& result = count.result();
    ASSERT_TRUE(result.counted) << result.error;
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.totals[1], 300);
    const ThroughputCurve& curve = result.curves[1];
    ASSERT_EQ(curve.size(), 3u);
    EXPECT_DOUBLE_EQ(curve[1].second, 112 * 6);
    // The last 7680 lines count as a whole interval of ten seconds: 76 fish, 456 per minute.
    EXPECT_DOUBLE_EQ(curve[2].second, 76 * 6);
    EXPECT_NEAR(curve[2].first - curve[0].first, (30000 - 11160) / linesPerDay, 1e-12);
}

TEST(LastValues, ACountThatCannotStartEndsWithItsReasonNamingTheRecordingOnce) {
    SteadySession session;
    const std::string noReport = session.dir.file("alone.blb");
    writeRecording(noReport, Scene(100));
    const std::string missing = session.dir.file("missing.blb");
    const struct {
        std::string recording, error;
    } cases[] = {
        {noReport, noReport + ": Cant find corresponding reportfile (.mse)"},
        {missing, missing + ": cannot open the recording: " + std::strerror(ENOENT)},
    };
    for (const auto& c : cases) {
        BackgroundCount count(c.recording, 1000, -1);
        count.start();
        ASSERT_TRUE(waitFor([&] { return count.finished(); })) << c.recording;
        EXPECT_FALSE(count.result().counted) << c.recording;
        EXPECT_EQ(count.result().error, c.error);
    }
}

}  // namespace
}  // namespace velkor::test
