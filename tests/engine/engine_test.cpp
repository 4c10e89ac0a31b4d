// The replay engine over small recordings: counting across frames and after jumps, frames at the
// ends of a recording, the read-outs, the overload correction, the automatic count, the opening's
// refusals and the errors that end a frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

#include "core/extended_precision.h"
#include "engine_fixture.h"
#include "io/errors.h"

#ifdef _WIN32
#include <process.h>
#define NOMINMAX
#include <windows.h>
#endif

namespace velkor::test {
namespace {

// Fish are 10 pixels wide: with size class 2 on 511 pixels over 500 mm an object is counted when
// it has at least 3 lines, and it is counted on the line after its last one.

TEST(ReplayEngine, SteppingContinuesObjectsReadingAgainStartsAfresh) {
    Session s(Scene().fish(15, 8, 100, 110).length(40), 20);  // lines 15..22, closes on 23
    ReplayEngine& e = s.open();
    EXPECT_EQ(e.frameCount(), 3);
    EXPECT_EQ(e.channelTotal(1), 0);
    e.FarwardbtnClick();
    EXPECT_EQ(e.channelTotal(1), 1);  // the fish continued across the boundary
    const FrameStore& store = e.frameStore();
    EXPECT_EQ(store[0][0].left, 1);  // line 21: the fish
    EXPECT_EQ(store[0][1].left, 100);
    EXPECT_EQ(store[0][1].right, 110);
    EXPECT_EQ(store[2][0].left, 0);  // line 23: nothing left
    EXPECT_EQ(e.frameColumn(), 20);

    e.lesaramma(2);  // the same frame again is a jump: only the 2-line tail, too short
    EXPECT_EQ(e.channelTotal(1), 0);
}

TEST(ReplayEngine, FramesAtTheEndsOfARecording) {
    struct Case {
        int lines, W, frameCount, lastFrameColumns;
    };
    for (const Case& c :
         {Case{10, 20, 1, 10}, Case{0, 20, 1, 0}, Case{60, 20, 4, 0}, Case{61, 20, 4, 1}}) {
        SCOPED_TRACE(c.lines);
        Session s(Scene(c.lines), c.W);
        ReplayEngine& e = s.open();
        EXPECT_EQ(e.lineCount(), c.lines);
        EXPECT_EQ(e.frameCount(), c.frameCount);
        EXPECT_EQ(e.trackBar().maximum, c.frameCount);
        EXPECT_FALSE(e.readOuts().beginEnabled);
        EXPECT_EQ(e.readOuts().forwardEnabled, c.frameCount > 1);
        EXPECT_EQ(e.readOuts().endEnabled, c.frameCount > 1);
        s.stepTo(c.frameCount);
        e.FarwardbtnClick();  // beyond the last frame: ignored
        EXPECT_EQ(e.lastFrameRead(), c.frameCount);
        EXPECT_EQ(static_cast<int>(s.framesRead.size()), c.frameCount);
        EXPECT_EQ(e.frameColumn(), c.lastFrameColumns);
        EXPECT_FALSE(e.readOuts().forwardEnabled);
        EXPECT_EQ(e.readOuts().beginEnabled, c.frameCount > 1);
    }
}

TEST(ReplayEngine, LastFrameOfAnExactMultipleReadsNothingAndKeepsTheTotal) {
    Session s(Scene().fish(41, 5, 100, 110).length(60), 20);  // closes on line 46, frame 3
    ReplayEngine& e = s.open();
    s.stepTo(3);
    EXPECT_EQ(e.channelTotal(1), 1);
    e.FarwardbtnClick();
    EXPECT_EQ(e.lastFrameRead(), 4);
    EXPECT_EQ(e.frameColumn(), 0);
    EXPECT_EQ(e.channelTotal(1), 1);
}

TEST(ReplayEngine, TrackBarMaximum) {
    for (auto [lines, maximum] : {std::pair{149, 100}, std::pair{39, 40}, std::pair{98, 99}}) {
        Session s(Scene(lines), 1);
        EXPECT_EQ(s.open().trackBar().maximum, maximum) << lines;
        EXPECT_EQ(s.engine->trackBar().position, 1);
    }
}

TEST(ReplayEngine, TimeLabelMarkerAndCaption) {
    Session s(Scene(1200), 1116);  // the session starts at 10:00:00
    ReplayEngine& e = s.open();
    EXPECT_EQ(e.readOuts().timeText, "10:00:00");
    EXPECT_NEAR(e.readOuts().markerX, 0.4166667, 1e-6);
    EXPECT_EQ(e.readOuts().caption, "3000");  // capacity 50 per 1116 lines
    EXPECT_EQ(e.readOuts().totalText, "0");
    e.FarwardbtnClick();
    EXPECT_EQ(e.readOuts().timeText, "10:00:01");
}

// 20 fish side by side on lines 2..11 of a 200-line frame whose capacity is 9.
Scene crowdedFrame() {
    Scene scene(400);
    for (int i = 0; i < 20; ++i) scene.fish(2, 10, 10 + 24 * i, 20 + 24 * i);
    return scene;
}

TEST(ReplayEngine, OverloadCorrectionOnlyForCounterTypeFive) {
    for (auto [countertype, total] : {std::pair{5, 22}, std::pair{-1, 20}, std::pair{4, 20}}) {
        Session s(crowdedFrame(), 200, {{0, 511, "One"}}, countertype);
        ReplayEngine& e = s.open();
        EXPECT_EQ(e.frameCapacity(1), 9);
        EXPECT_EQ(e.channelTotal(1), total) << countertype;  // + truncated(2.6)
        EXPECT_EQ(e.lastFrameTotal(1), total);
        EXPECT_EQ(e.readOuts().counters[1], total);
    }
}

TEST(ReplayEngine, NoCorrectionWhenTheTotalBeforeAJumpWasLarger) {
    Session s(crowdedFrame(), 200, {{0, 511, "One"}}, 5);
    ReplayEngine& e = s.open();
    ASSERT_EQ(e.channelTotal(1), 22);
    e.lesaramma(1);  // 20 counted again, compared with 22 from before the jump: d = -2
    EXPECT_EQ(e.channelTotal(1), 20);
    EXPECT_EQ(e.lastFrameTotal(1), 20);
}

TEST(ReplayEngine, TwoClosesOnOneLineInDifferentChannels) {
    // The middle fish starts on the left channel's right edge and reaches into the right
    // channel: it is counted in the channel of its left end.
    Session s(Scene().fish(2, 6, 100, 110).fish(2, 6, 255, 265).fish(2, 6, 300, 310).length(30), 20,
              {{0, 255, "Left"}, {256, 511, "Right"}});
    std::vector<std::array<int32_t, 3>> counted;
    s.engine->onObjectCounted = [&](int32_t frame, int32_t line, int32_t channel,
                                    const tskepna& o) {
        counted.push_back({frame, line, channel});
        EXPECT_EQ(o.lengd, 6);
    };
    ReplayEngine& e = s.open();
    EXPECT_EQ(e.channelTotal(1), 2);
    EXPECT_EQ(e.channelTotal(2), 1);
    EXPECT_EQ(e.readOuts().totalText, "3");
    EXPECT_EQ(counted, (std::vector<std::array<int32_t, 3>>{{1, 8, 1}, {1, 8, 1}, {1, 8, 2}}));
}

// One fish inside each of 12 frames of 20 lines (lines 3..10, closing on 11).
Scene fishEveryFrame() {
    Scene scene(240);
    for (int k = 0; k < 12; ++k) scene.fish(k * 20 + 3, 8, 100, 110);
    return scene;
}

TEST(ReplayEngine, AutomaticCount) {
    struct Case {
        int markAt, runAt, total;
        std::vector<int32_t> runReads;
    };
    // Run at the marked frame, at the frame before it (the mark's start: nothing to count) and
    // further back.
    for (const Case& c : {Case{5, 9, 5, {5, 6, 7, 8, 9}}, Case{5, 5, 1, {5}}, Case{5, 4, 0, {}},
                          Case{5, 3, 0, {}}}) {
        SCOPED_TRACE(c.runAt);
        Session s(fishEveryFrame(), 20);
        ReplayEngine& e = s.open();
        s.stepTo(c.markAt);
        e.AutocountbtnClick();
        EXPECT_EQ(e.autocountImage(), 5);
        while (e.currentFrame() > c.runAt) e.backwardbtnClick();
        s.stepTo(c.runAt);
        const int32_t before = e.channelTotal(1);
        s.framesRead.clear();
        int drawn = 0;
        bool drawingOn = true;  // whenever the frame is drawn, drawing is on again
        e.onFrameDrawn = [&] {
            ++drawn;
            drawingOn = drawingOn && e.drawEnabled();
        };
        std::vector<std::pair<int32_t, int32_t>> progress;
        e.AutocountbtnClick([&](int32_t done, int32_t all) { progress.emplace_back(done, all); });
        EXPECT_EQ(e.autocountImage(), 4);
        EXPECT_EQ(s.framesRead, c.runReads);
        // Nothing is drawn during the run; the frame it ends at is drawn once, after it.
        EXPECT_EQ(drawn, c.runReads.empty() ? 0 : 1);
        EXPECT_TRUE(drawingOn);
        EXPECT_TRUE(e.drawEnabled());
        EXPECT_EQ(progress.size(), c.runReads.size());
        if (c.runReads.empty()) {
            EXPECT_EQ(e.channelTotal(1), before);
            EXPECT_EQ(e.currentFrame(), c.runAt);  // the frame shown stays
            continue;
        }
        EXPECT_EQ(e.channelTotal(1), c.total);
        EXPECT_EQ(progress.back(), std::pair(c.total, c.total));
        EXPECT_EQ(e.currentFrame(), c.runAt);
        EXPECT_EQ(e.trackBar().selEnd, e.trackBar().position);
    }
}

// Stopped after its third frame, a run from frame 3 to 10 leaves the totals of frames 3..5, shows
// frame 5 and makes the next step a jump: frame 6 is then counted alone.
// A stop asked for while no run is going leaves the next run to count every frame to its target.
TEST(ReplayEngine, AStopOutsideARunDoesNotCutTheNextShort) {
    Session s(fishEveryFrame(), 20);
    ReplayEngine& e = s.open();
    e.stopAutoCount();
    s.stepTo(5);
    e.AutocountbtnClick();
    s.stepTo(8);
    s.framesRead.clear();
    e.AutocountbtnClick();
    EXPECT_EQ(s.framesRead, (std::vector<int32_t>{5, 6, 7, 8}));
    EXPECT_FALSE(e.autoCountStopped());
    EXPECT_EQ(e.channelTotal(1), 4);
}

TEST(ReplayEngine, AutomaticCountStoppedMidway) {
    Session s(fishEveryFrame(), 20);
    ReplayEngine& e = s.open();
    s.stepTo(3);
    e.AutocountbtnClick();
    s.stepTo(10);
    s.framesRead.clear();
    int drawn = 0;
    e.onFrameDrawn = [&] { ++drawn; };
    e.AutocountbtnClick([&](int32_t done, int32_t) {
        if (done == 3) e.stopAutoCount();
    });
    EXPECT_EQ(s.framesRead, (std::vector<int32_t>{3, 4, 5}));
    EXPECT_TRUE(e.autoCountStopped());
    EXPECT_EQ(e.autoCountTarget(), 10);
    EXPECT_EQ(e.countedFrom(), 3);
    EXPECT_EQ(e.lastFrameRead(), 5);
    EXPECT_EQ(e.currentFrame(), 5);
    EXPECT_EQ(e.channelTotal(1), 3);
    EXPECT_EQ(e.readOuts().counters[1], 3);
    EXPECT_EQ(e.readOuts().totalText, "3");
    EXPECT_EQ(e.trackBar().position, 5);
    EXPECT_EQ(drawn, 1);  // the frame read last, which the thumb now marks
    EXPECT_TRUE(e.drawEnabled());
    EXPECT_EQ(e.autocountImage(), 4);

    e.FarwardbtnClick();
    EXPECT_FALSE(e.autoCountStopped());
    EXPECT_EQ(e.countedFrom(), 6);
    EXPECT_EQ(e.channelTotal(1), 1);

    // A run that is not stopped reaches its target and leaves no stop behind.
    e.AutocountbtnClick();
    s.stepTo(8);
    e.AutocountbtnClick();
    EXPECT_FALSE(e.autoCountStopped());
    EXPECT_EQ(e.countedFrom(), 6);
    EXPECT_EQ(e.channelTotal(1), 3);
}

TEST(ReplayEngine, MissingReportRefusesReading) {
    TempDir dir;
    writeRecording(dir.file("alone.blb"), fishEveryFrame());
    Tsett settings;
    MemorySettingsBackend store;
    ReplayEngine e(settings, &store);
    e.setFrameWidth(20);
    int reads = 0;
    e.onFrameRead = [&](int32_t) { ++reads; };
    EXPECT_FALSE(e.OpenBlbFile(dir.file("alone.blb")));
    EXPECT_EQ(e.message(), "Cant find corresponding reportfile (.mse)");
    EXPECT_FALSE(e.isOpen());
    e.lesaramma(1);
    e.FarwardbtnClick();
    e.endbtnClick();
    e.beginbtnClick();
    EXPECT_FALSE(e.TrackBar1Change(50));
    e.AutocountbtnClick();
    e.AutocountbtnClick();
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(store.readText("lastfolderopend"), dir.file(""));
    EXPECT_EQ(settings.countertype, -1);
}

TEST(ReplayEngine, CompressedRecordingOpenedByItsName) {
    Session s(fishEveryFrame(), 20);
    const std::string packed = s.dir.file("packed.BLC");
    compressRecord(s.blb, packed);
    writeReport(s.dir.file("packed.mse"), {{0, 511, "One"}});
    ReplayEngine& e = *s.engine;
    ASSERT_TRUE(e.OpenBlbFile(packed));
    EXPECT_EQ(e.recordingName(), s.dir.file("packed.blb"));
    EXPECT_EQ(e.lineCount(), 240);
    s.stepTo(e.frameCount());
    EXPECT_EQ(e.channelTotal(1), 12);
}

TEST(ReplayEngine, OverflowEndsTheFrameAndTheNextReadStartsAfresh) {
    // One 32000-pixel object for 70000 lines: its area passes the Integer range.
    Scene scene;
    scene.fish(1, 70000, 0, 32000);
    Session s(scene, 2001);
    writeReport(s.dir.file("session.mse"), {{0, 32767, "One"}}, 42632.4166667, 32767);
    ReplayEngine& e = s.open();
    int32_t failedAt = 0;
    while (failedAt == 0 && e.currentFrame() < e.frameCount()) {
        try {
            e.FarwardbtnClick();
        } catch (const OverflowError& err) {
            failedAt = e.currentFrame();
            EXPECT_NE(std::string(err.what()).find("session.blb"), std::string::npos);
            EXPECT_NE(std::string(err.what()).find("line "), std::string::npos) << err.what();
        }
    }
    ASSERT_GT(failedAt, 1);
    ASSERT_LT(failedAt, e.frameCount());
    s.framesRead.clear();
    EXPECT_NO_THROW(e.FarwardbtnClick());
    EXPECT_EQ(s.framesRead, std::vector<int32_t>{failedAt + 1});
    EXPECT_EQ(e.trackBar().selStart, e.trackBar().position);  // it was a jump
}

TEST(ReplayEngine, WholeSessionCountedFrameByFrame) {
    Session s(threeChannelSession(), 100, threeChannels);
    ReplayEngine& e = s.open();
    s.stepTo(e.frameCount());
    EXPECT_EQ(e.frameCount(), 31);
    EXPECT_EQ(e.channelTotal(1), 60);
    EXPECT_EQ(e.channelTotal(2), 30);
    EXPECT_EQ(e.channelTotal(3), 90);
    EXPECT_EQ(e.readOuts().totalText, "180");

    // Frames 5..9 counted automatically: the tail of frame 4's channel-2 fish is long enough to
    // count after the jump, frame 9's closes in frame 10.
    e.setCurrentFrame(5);
    e.AutocountbtnClick();
    e.setCurrentFrame(9);
    e.AutocountbtnClick();
    EXPECT_EQ(e.channelTotal(1), 10);
    EXPECT_EQ(e.channelTotal(2), 5);
    EXPECT_EQ(e.channelTotal(3), 15);
}

// Counting on a thread that begins rounding to 53 bits, as threads that Windows starts itself do,
// gives the main thread's counts: the engine sets the 64-bit precision on the thread it runs on.
struct ThreadCount {
    int total = -1;
    bool preciseAfter = false;
};

ThreadCount countWholeSession() {
    Scene scene(1200);
    for (int k = 0; k < 12; ++k)
        scene.fish(k * 100 + 5, 9, 40 + k, 52 + k).fish(k * 100 + 40, 6, 300, 317);
    Session s(scene, 100, {{0, 250, "Left"}, {251, 511, "Right"}});
    s.open();
    s.stepTo(s.engine->frameCount());
    return {s.total(), extendedPrecisionActive()};
}

#if defined(__i386__) || defined(__x86_64__)
TEST(ReplayEngine, CountsAlikeOnAThreadThatBeginsAt53BitPrecision) {
    const ThreadCount main = countWholeSession();
    ThreadCount other;
    std::thread([&other] {
        uint16_t word;
        __asm__ volatile("fnstcw %0" : "=m"(word));
        word = static_cast<uint16_t>((word & ~0x0300) | 0x0200);
        __asm__ volatile("fldcw %0" : : "m"(word));
        other = countWholeSession();
    }).join();
    EXPECT_EQ(main.total, 24);
    EXPECT_EQ(other.total, main.total);
    EXPECT_TRUE(other.preciseAfter);
}
#endif

#ifdef _WIN32
unsigned __stdcall countOnWindowsThread(void* result) {
    *static_cast<ThreadCount*>(result) = countWholeSession();
    return 0;
}

TEST(ReplayEngine, CountsAlikeOnAThreadStartedByWindows) {
    const ThreadCount main = countWholeSession();
    ThreadCount other;
    const uintptr_t thread = _beginthreadex(nullptr, 0, countOnWindowsThread, &other, 0, nullptr);
    ASSERT_NE(thread, 0u);
    WaitForSingleObject(reinterpret_cast<HANDLE>(thread), INFINITE);
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    EXPECT_EQ(other.total, main.total);
    EXPECT_TRUE(other.preciseAfter);
}
#endif

}  // namespace
}  // namespace velkor::test
