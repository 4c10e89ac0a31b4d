// The generated scene line by line: runs valid for the recording (ordered, disjoint, within their
// channels, at most 500), fish of the class's size, a throughput with a denser and a quieter
// stretch; and the options and start times that are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/fish_classes.h"
#include "tools/velkor-synth/day_number.h"
#include "tools/velkor-synth/scene_generator.h"

namespace velkor::synth {
namespace {

// Within the channels: both ends in a channel and no pixel between channels. (Fish at the
// border of two adjacent channels make one dark run over both.)
bool insideChannels(const SceneOptions& o, const PixelRun& r) {
    auto inChannel = [&](int32_t x) {
        for (const SynthChannel& ch : o.channels)
            if (x >= ch.left && x <= ch.right) return true;
        return false;
    };
    for (size_t c = 1; c < o.channels.size(); ++c) {
        const int32_t gapFirst = o.channels[c - 1].right + 1, gapLast = o.channels[c].left - 1;
        if (gapFirst <= gapLast && r.left <= gapLast && r.right >= gapFirst) return false;
    }
    return inChannel(r.left) && inChannel(r.right);
}

struct SceneCase {
    const char* what;
    std::vector<SynthChannel> channels;
    double density, touching, noise;
};

TEST(SceneRuns, OrderedDisjointWithinChannelsAtMost500) {
    const SceneCase cases[] = {
        {"one channel, class 2", {{10, 500, 2, 0}}, 1.0, 0.15, 0.5},
        {"four channels of all sizes, crowded, two of them adjacent",
         {{0, 120, 0, 0}, {121, 250, 3, 0}, {260, 380, 6, 0}, {391, 511, 9, 0}},
         30.0,
         0.8,
         50.0},
        {"narrow channels of large fish", {{5, 40, 8, 0}, {45, 70, 9, 0}}, 5.0, 0.5, 5.0},
        {"wide counter, many specks", {{0, 2000, 1, 0}}, 20.0, 0.5, 1000.0},
    };
    for (const SceneCase& sc : cases) {
        SCOPED_TRACE(sc.what);
        SceneOptions o;
        o.seed = 3;
        o.lines = 20 * linesPerSecond;
        o.channels = sc.channels;
        o.density = sc.density;
        o.touching = sc.touching;
        o.noise = sc.noise;
        SceneGenerator g(o);
        std::vector<PixelRun> runs;
        int64_t darkLines = 0;
        while (!g.done()) {
            const int64_t line = g.nextLineNumber();
            g.nextLine(runs);
            ASSERT_LE(runs.size(), static_cast<size_t>(maxRunsPerLine)) << "line " << line;
            for (size_t i = 0; i < runs.size(); ++i) {
                ASSERT_LE(runs[i].left, runs[i].right) << "line " << line;
                ASSERT_TRUE(insideChannels(o, runs[i])) << "line " << line;
                // Runs of one line are separated by at least one light pixel.
                if (i > 0) {
                    ASSERT_GE(runs[i].left, runs[i - 1].right + 2) << "line " << line;
                }
            }
            darkLines += !runs.empty();
        }
        EXPECT_GT(darkLines, 0);
        for (size_t c = 0; c < o.channels.size(); ++c) EXPECT_GT(g.truth().fish[c], 0);
        EXPECT_GT(g.truth().specks, 0);
    }
}

// Fish alone in the channel, no noise: every dark stretch is one fish, whose length in lines and
// greatest width follow the class table within the speed and width variation.
TEST(SceneFish, LengthsAndWidthsFollowTheClass) {
    // The class the report names, and the class of the fish drawn (-1: the same).
    const std::pair<int32_t, int32_t> classes[] = {{2, -1}, {5, -1}, {8, -1}, {3, 7}, {9, 2}};
    for (const auto& [group, fishClass] : classes) {
        SCOPED_TRACE(std::to_string(group) + " " + std::to_string(fishClass));
        SceneOptions o;
        o.seed = 5;
        o.lines = 120 * linesPerSecond;
        o.channels = {{0, 511, group, 0, fishClass}};
        o.density = 0.3;
        o.touching = 0;
        o.noise = 0;
        SceneGenerator g(o);
        const FishClass& cls = fishClassTable[fishClass >= 0 ? fishClass : group];
        const double nominalWidth = pixelWidth(511, cls.nominalWidthMm, 500);
        std::vector<PixelRun> runs;
        int32_t length = 0, widest = 0, fish = 0;
        bool together = false;  // two fish met a line of this stretch: not measured
        int32_t shortest = 1 << 30, longest = 0;
        double widthSum = 0;
        while (!g.done()) {
            g.nextLine(runs);
            ASSERT_LE(runs.size(), 2u);  // at most two fish meet a line at this density
            if (runs.size() == 1) {
                ++length;
                widest = std::max(widest, runs[0].right - runs[0].left + 1);
            } else if (runs.size() == 2) {
                together = true;
            } else if (length > 0) {
                if (!together) {
                    ++fish;
                    shortest = std::min(shortest, length);
                    longest = std::max(longest, length);
                    widthSum += widest;
                }
                length = widest = 0;
                together = false;
            }
        }
        ASSERT_GT(fish, 10);
        EXPECT_GE(shortest, static_cast<int32_t>(0.64 * cls.nominalLength));
        EXPECT_LE(longest, static_cast<int32_t>(1.36 * cls.nominalLength) + 1);
        EXPECT_LT(shortest, longest);  // speeds differ
        EXPECT_NEAR(widthSum / fish, nominalWidth, 0.12 * nominalWidth + 1);
    }
}

TEST(SceneThroughput, DenserAndQuieterStretches) {
    SceneOptions o;
    o.seed = 9;
    o.lines = 20 * 60 * linesPerSecond;
    o.density = 2.0;
    SceneGenerator g(o);
    std::vector<PixelRun> runs;
    while (!g.done()) g.nextLine(runs);
    const auto& heads = g.truth().fishStartsPerInterval[0];
    auto meanOver = [&](double from, double to) {
        size_t a = static_cast<size_t>(from * heads.size()),
               b = static_cast<size_t>(to * heads.size());
        double sum = 0;
        for (size_t i = a; i < b; ++i) sum += heads[i];
        return sum / (b - a) / 10.0;  // fish per second
    };
    const double mean = meanOver(0, 1);
    EXPECT_NEAR(mean, o.density, 0.15 * o.density);
    EXPECT_GT(meanOver(0.25, 0.35), 1.5 * mean);
    EXPECT_LT(meanOver(0.65, 0.75), 0.6 * mean);
}

TEST(SceneOptionCheck, UnusableOptionsAreRefused) {
    auto with = [](auto change) {
        SceneOptions o;
        change(o);
        return o;
    };
    const SceneOptions bad[] = {
        with([](SceneOptions& o) { o.lines = 0; }),
        with([](SceneOptions& o) { o.channels.clear(); }),
        with([](SceneOptions& o) { o.channels.assign(5, SynthChannel{}); }),
        with([](SceneOptions& o) {
            o.channels = {{100, 100, 2, 0}};
        }),
        with([](SceneOptions& o) {
            o.channels = {{-1, 100, 2, 0}};
        }),
        with([](SceneOptions& o) {
            o.channels = {{0, 40000, 2, 0}};
        }),
        with([](SceneOptions& o) {
            o.channels = {{0, 200, 2, 0}, {200, 400, 2, 0}};
        }),
        with([](SceneOptions& o) {
            o.channels = {{0, 200, 10, 0}};
        }),
        with([](SceneOptions& o) {
            o.channels = {{0, 200, 2, 0, 10}};
        }),
        with([](SceneOptions& o) {
            o.channels = {{0, 200, 2, 0, -2}};
        }),
        with([](SceneOptions& o) { o.counterWidthMm = 600; }),
        with([](SceneOptions& o) { o.density = -1; }),
        with([](SceneOptions& o) { o.touching = 1.5; }),
        with([](SceneOptions& o) { o.noise = -0.1; }),
    };
    for (const SceneOptions& o : bad) EXPECT_THROW(SceneGenerator{o}, OptionError);
}

TEST(StartTime, DayNumbersOfDateTexts) {
    EXPECT_DOUBLE_EQ(*parseDateTime("1900-01-01 00:00:00"), 2.0);
    EXPECT_DOUBLE_EQ(*parseDateTime("2016-09-19 12:00:00"), 42632.5);
    EXPECT_DOUBLE_EQ(*parseDateTime("2024-02-29 18:00:00"), 45351.75);
    for (const char* bad : {"2026-02-29 10:00:00", "2026-13-01 10:00:00", "2026-01-01 24:00:00",
                            "2026-1-01 10:00:00", "2026-01-01T10:00:00", "2026-01-01 10:00", "",
                            "2026-01-01 10:00:00x", "+026-01-01 10:00:00", "1899-12-31 10:00:00"})
        EXPECT_FALSE(parseDateTime(bad).has_value()) << bad;
}

// Each field at both ends of its range is a date; one past either end is none.
TEST(StartTime, EachFieldAtItsEndsAndOnePast) {
    const struct {
        const char* text;
        bool date;
    } cases[] = {
        {"1900-01-01 00:00:00", true},  {"1899-12-31 23:59:59", false},
        {"2025-12-31 23:59:59", true},  {"2025-00-10 10:00:00", false},
        {"2025-13-10 10:00:00", false}, {"2025-01-00 10:00:00", false},
        {"2025-01-31 10:00:00", true},  {"2025-01-32 10:00:00", false},
        {"2025-04-30 10:00:00", true},  {"2025-04-31 10:00:00", false},
        {"2025-01-01 24:00:00", false}, {"2025-01-01 10:60:00", false},
        {"2025-01-01 10:00:60", false},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDateTime(c.text).has_value(), c.date) << c.text;
}

}  // namespace
}  // namespace velkor::synth
