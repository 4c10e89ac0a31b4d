// Throughput arithmetic: objects per bin of lines, the replay's curve, and the recorded curve's
// mean over a stretch of time; and the CSV fields, durations and error lines of velkor-count.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "csv_reading.h"
#include "io/errors.h"
#include "replay/throughput.h"
#include "tools/velkor-count/count_recording.h"
#include "tools/velkor-count/csv_writer.h"

namespace velkor::test {
namespace {

TEST(Throughput, TallyBinsByTheLineAnObjectClosedOn) {
    ThroughputTally tally(linesPerMinute);
    for (const auto& [line, channel] : std::vector<std::pair<int32_t, int32_t>>{
             {1, 1}, {66960, 1}, {66961, 1}, {66961, 2}, {200000, 4}, {0, 1}, {5, 5}, {5, 0}}) {
        tally.count(line, channel);
    }
    EXPECT_EQ(tally.at(0, 1), 2);
    EXPECT_EQ(tally.at(1, 1), 1);
    EXPECT_EQ(tally.at(1, 2), 1);
    EXPECT_EQ(tally.at(2, 4), 1);
    EXPECT_EQ(tally.at(7, 1), 0);  // past the last object
    EXPECT_EQ(tally.at(-1, 1), 0);
    EXPECT_EQ(tally.at(0, 5), 0);

    const struct {
        int64_t lines;
        int32_t linesPerBin;
        int64_t bins;
    } counts[] = {
        {0, linesPerMinute, 0},
        {1, linesPerMinute, 1},
        {66960, linesPerMinute, 1},
        {66961, linesPerMinute, 2},
        {133920, linesPerMinute, 2},
        {2147483646, linesPerMinute, 32072},
        {-5, linesPerMinute, 0},
        {5, 1, 5},
        {5, 0, 0},  // no bins of no lines, rather than a division by zero
    };
    for (const auto& c : counts)
        EXPECT_EQ(binCount(c.lines, c.linesPerBin), c.bins) << c.lines << " / " << c.linesPerBin;
}

TEST(Throughput, ReplayCurveInFishPerMinute) {
    const double start = 42632.75;                      // 18:00
    ThroughputTally tally(11160);                       // 10-second bins
    for (int i = 0; i < 5; ++i) tally.count(100, 1);    // bin 0: 5 fish in 10 s = 30 per minute
    for (int i = 0; i < 2; ++i) tally.count(22320, 1);  // bin 1: 2 fish = 12 per minute
    tally.count(22321, 2);                              // bin 2 (short, 1000 lines)
    const ThroughputCurve curve = replayCurve(tally, 1, 23320, start, 100);
    ASSERT_EQ(curve.size(), 3u);
    EXPECT_NEAR(curve[0].first, 0.75 + 10.0 / 86400, 1e-12);
    EXPECT_DOUBLE_EQ(curve[0].second, 30);
    EXPECT_DOUBLE_EQ(curve[1].second, 12);
    EXPECT_NEAR(curve[2].first, 0.75 + 23320.0 / 1116 / 86400, 1e-12);  // the recording's end
    EXPECT_DOUBLE_EQ(curve[2].second, 0);

    // At most two points: bins are added in pairs, 7 fish in 20 s = 21 per minute.
    const ThroughputCurve merged = replayCurve(tally, 1, 23320, start, 2);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_DOUBLE_EQ(merged[0].second, 21);
    EXPECT_NEAR(merged[0].first, 0.75 + 20.0 / 86400, 1e-12);
    EXPECT_TRUE(replayCurve(tally, 1, 0, start, 2).empty());

    // One point at most (or a count of points that makes no sense): the whole recording in one,
    // 7 fish in three bins of 10 s (the short last one counts whole, as an interval of the
    // counter's own curve does). A recording shorter than a bin has its one point.
    for (const int32_t maxPoints : {1, 0}) {
        const ThroughputCurve one = replayCurve(tally, 1, 23320, start, maxPoints);
        ASSERT_EQ(one.size(), 1u) << maxPoints;
        EXPECT_DOUBLE_EQ(one[0].second, 14) << maxPoints;
        EXPECT_NEAR(one[0].first, curve[2].first, 1e-12) << maxPoints;
    }
    // Bins after the last object hold no fish.
    const ThroughputCurve quietEnd = replayCurve(tally, 2, 5 * 11160, start, 100);
    ASSERT_EQ(quietEnd.size(), 5u);
    for (size_t i = 0; i < quietEnd.size(); ++i)
        EXPECT_DOUBLE_EQ(quietEnd[i].second, i == 2 ? 6 : 0) << i;
    const ThroughputCurve shortOne = replayCurve(tally, 1, 1000, start, 100);
    ASSERT_EQ(shortOne.size(), 1u);
    EXPECT_DOUBLE_EQ(shortOne[0].second, 30);
}

TEST(Throughput, RecordedCurveMean) {
    const double minute = 1.0 / 1440;
    // Start at 10:00, samples at 10:01 (60) and 10:03 (120), end at 10:04.
    const ThroughputCurve curve{
        {10 * 60 * minute, 0}, {601 * minute, 60}, {603 * minute, 120}, {604 * minute, 0}};
    const struct {
        double from, to;
        std::optional<double> mean;
    } cases[] = {
        {600 * minute, 601 * minute, 30},  // the ramp up from the start: its middle
        {601 * minute, 603 * minute, 90},  // between two samples
        {601 * minute, 602 * minute, 75},
        {603 * minute, 605 * minute, 60},  // past the end: the covered minute only
        {610 * minute, 611 * minute, std::nullopt},
        {590 * minute, 591 * minute, std::nullopt},
        {602 * minute, 602 * minute, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto mean = curveMean(curve, c.from, c.to);
        ASSERT_EQ(mean.has_value(), c.mean.has_value()) << c.from / minute;
        if (c.mean) {
            EXPECT_NEAR(*mean, *c.mean, 1e-6) << c.from / minute;
        }
    }
    // No samples between the two closing points: no curve.
    EXPECT_FALSE(curveMean({{0.4, 0}, {0.5, 0}}, 0.41, 0.42));

    // Across midnight: points and stretches after it, written past 1 or as the time of day, are
    // on the next day.
    const ThroughputCurve nights[] = {
        {{1439 * minute, 0}, {1.0 + 1 * minute, 60}, {2 * minute, 0}},
        {{1439 * minute, 0}, {1 * minute, 60}, {2 * minute, 0}},
    };
    for (const ThroughputCurve& night : nights) {
        const auto mean = [&night](double from, double to) {
            return curveMean(night, from, to).value_or(-1);
        };
        EXPECT_NEAR(mean(1.0, 1.0 + minute), 60 - 15, 1e-6) << night[1].first;
        EXPECT_NEAR(mean(0.0, minute), 45, 1e-6) << night[1].first;
        EXPECT_NEAR(mean(minute, 2 * minute), 30, 1e-6) << night[1].first;
    }
}

TEST(CsvFields, QuotedWhenTheyMustBe) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"Cage 4, north", "\"Cage 4, north\""},
        {"the \"big\" one", "\"the \"\"big\"\" one\""},
        {"\"", "\"\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {" padded ", "\" padded \""},
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {"\tlead", "\"\tlead\""},
        {"trail\t", "\"trail\t\""},
        {"in side", "in side"},
        {"Ørriði", "Ørriði"},
    };
    for (const auto& c : cases) EXPECT_EQ(csvField(c.text), c.field) << c.text;

    CsvRecord record;
    record.text("a,b").number(-12).empty().text("say \"hi\"").empty();
    EXPECT_EQ(record.line(), "\"a,b\",-12,,\"say \"\"hi\"\"\",\n");
    const auto rows = readCsv(record.line() + CsvRecord().text("x\ny").line());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (CsvRow{"a,b", "-12", "", "say \"hi\"", ""}));
    EXPECT_EQ(rows[1], (CsvRow{"x\ny"}));
}

TEST(VelkorCountTexts, DurationsAndErrorLines) {
    const struct {
        int64_t lines;
        const char* shown;
    } durations[] = {
        {0, "0:00:00"},
        {1115, "0:00:00"},
        {1116, "0:00:01"},
        {59 * 1116, "0:00:59"},
        {3599 * 1116, "0:59:59"},
        {3600 * 1116, "1:00:00"},
        {(25 * 3600 + 61) * int64_t{1116}, "25:01:01"},
    };
    for (const auto& d : durations) EXPECT_EQ(recordingDuration(d.lines), d.shown) << d.lines;

    // An error names its file once: its own, or else the recording's.
    EXPECT_EQ(countingError("r.blb", FileAccessError("r.mse", "cannot read it")),
              "r.mse: cannot read it");
    EXPECT_EQ(countingError("r.blb", OverflowError("", "frame count out of range")),
              "r.blb: frame count out of range");
    EXPECT_EQ(countingError("r.blb", std::runtime_error("out of memory")), "r.blb: out of memory");
}

}  // namespace
}  // namespace velkor::test
