// The files of a generated session read back through the program's own readers: the recording's
// lines, the compressed form, the report's layout, start time and throughput curves.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "replay/record_reader.h"
#include "replay/unpack.h"
#include "settings/report_writer.h"
#include "settings/session_report.h"
#include "synth_fixture.h"

namespace velkor::synth::test {
namespace {

class SessionFilesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        options_ = new SessionOptions(twoChannelSession(dir_->file("cage7")));
        result_ = new SessionResult(writeSession(*options_));
    }
    static void TearDownTestSuite() {
        delete result_;
        delete options_;
        delete dir_;
    }
    static TempDir* dir_;
    static SessionOptions* options_;
    static SessionResult* result_;
};
TempDir* SessionFilesTest::dir_ = nullptr;
SessionOptions* SessionFilesTest::options_ = nullptr;
SessionResult* SessionFilesTest::result_ = nullptr;

TEST_F(SessionFilesTest, RecordingHoldsTheDurationInLinesWithValidSegments) {
    RecordReader reader;
    reader.open(recordingName(options_->out));
    const int32_t lines = reader.fjoldilinaiskra();
    EXPECT_EQ(lines, options_->scene.lines);
    EXPECT_EQ(reader.damagedLines(), 0);

    reader.restartbuffer();
    reader.seekLine(1);
    LineArray line{};
    int64_t segments = 0;
    for (int32_t l = 1; l <= lines; ++l) {
        reader.readRecordLine(line);
        const int32_t n = reader.deliveredSegmentCount();
        ASSERT_EQ(n, reader.rawSegmentCount()) << "line " << l;
        for (int32_t i = 1; i <= n; ++i) {
            ASSERT_LE(line[i].v, line[i].h) << "line " << l;
            ASSERT_GE(line[i].v, 10) << "line " << l;
            ASSERT_LE(line[i].h, 500) << "line " << l;
            if (i > 1) {
                ASSERT_GE(line[i].v, line[i - 1].h + 2) << "line " << l;
            }
        }
        segments += n;
    }
    EXPECT_GT(segments, 10 * result_->truth.fish[0]);
}

TEST_F(SessionFilesTest, CompressedFormInflatesToTheRecordingByteForByte) {
    // Unpacked elsewhere, since unpacking replaces the .blb beside the .blc.
    std::filesystem::create_directory(dir_->file("unpacked"));
    const std::string copy = dir_->file("unpacked/cage7.blc");
    std::filesystem::copy_file(compressedName(options_->out), copy);
    const std::string unpacked = unpackRecord(copy);
    EXPECT_EQ(readBytes(unpacked), readBytes(recordingName(options_->out)));
}

TEST_F(SessionFilesTest, ReportGivesTheLayoutStartAndThinnedCurves) {
    SessionReport report;
    std::string message;
    ASSERT_TRUE(nyjarstillingar(recordingName(options_->out), report, &message)) << message;
    EXPECT_EQ(report.channelCount, 2);
    EXPECT_EQ(report.scanLeftEdge, 10);
    EXPECT_EQ(report.scanRightEdge, 500);
    EXPECT_EQ(report.counterWidthMm, 500);
    EXPECT_EQ(report.channelTable[1].leftEdge, 10);
    EXPECT_EQ(report.channelTable[1].rightEdge, 250);
    EXPECT_EQ(report.channelTable[2].leftEdge, 261);
    EXPECT_EQ(report.channelTable[2].rightEdge, 500);
    // Widths in mm in proportion to the pixels, so both channels have the counter's scale.
    EXPECT_EQ(report.channelTable[1].widthMm, 245);
    EXPECT_EQ(report.channelTable[2].widthMm, 244);
    EXPECT_EQ(report.sizeGroup[1], 2);
    EXPECT_EQ(report.sizeGroup[2], 4);
    EXPECT_EQ(report.windowTitle.substr(0, 12), "Tank: Cage 7");
    // The recorded totals are the live count's, not the fish drawn.
    for (int c = 1; c <= 2; ++c)
        EXPECT_EQ(report.recorded.sessionTotals[c], result_->live.totals[c - 1]) << c;
    EXPECT_EQ(report.recorded.total, result_->live.totals[0] + result_->live.totals[1]);
    // 2026-05-14 23:59:00 is day 46156 + 1439/1440.
    EXPECT_NEAR(report.sessionStart, 46156.0 + 1439.0 / 1440.0, 1e-6);

    // Every channel's curve: the start point, the points after X0 of one per 10 s (121 s of
    // recording: 13 points, s = 0, so positions 0..11 are written and 1..11 read), the end point.
    // Each point is the live count of its 10 seconds as fish per minute.
    for (int c = 1; c <= 2; ++c) {
        const auto& curve = report.curves[c];
        const auto& counted = result_->live.perInterval[c - 1];
        ASSERT_EQ(counted.size(), 13u);
        const auto positions = throughputSamplePositions(counted.size());
        ASSERT_EQ(curve.size(), positions.size() - 1 + 2) << "channel " << c;
        for (size_t j = 1; j < positions.size(); ++j) {
            EXPECT_DOUBLE_EQ(curve[j].second, 6.0 * counted[positions[j]]) << "sample " << j;
            // Past midnight the times go on rising above 1.
            EXPECT_NEAR(curve[j].first, 1439.0 / 1440.0 + (positions[j] + 1) * 10.0 / 86400.0,
                        1e-5);
        }
    }
}

TEST_F(SessionFilesTest, TruthNamesTheFishPutInAndTheOptions) {
    const auto j = nlohmann::json::parse(readBytes(truthName(options_->out)));
    EXPECT_EQ(j["generator"], "velkor-synth");
    EXPECT_TRUE(j["complete"].get<bool>());
    EXPECT_EQ(j["lines"], options_->scene.lines);
    ASSERT_EQ(j["channels"].size(), 2u);
    int64_t total = 0;
    int64_t recorded = 0;
    for (size_t c = 0; c < 2; ++c) {
        // The report names the class of the fish drawn; what it records is the live count.
        EXPECT_EQ(j["channels"][c]["fishClass"], j["channels"][c]["sizeGroup"]);
        EXPECT_EQ(j["channels"][c]["recorded"], result_->live.totals[c]);
        recorded += result_->live.totals[c];
        EXPECT_EQ(j["channels"][c]["fish"], result_->truth.fish[c]);
        total += result_->truth.fish[c];
        int64_t heads = 0;
        for (int32_t h : result_->truth.fishStartsPerInterval[c]) heads += h;
        EXPECT_EQ(heads, result_->truth.fish[c]);
    }
    EXPECT_EQ(j["totalFish"], total);
    EXPECT_EQ(j["recordedTotal"], recorded);
    EXPECT_EQ(j["options"]["seed"], 11);
    EXPECT_EQ(j["options"]["decimalSeparator"], ",");
}

TEST(SessionDeterminism, SameSeedSameBytesOtherSeedOtherScene) {
    TempDir dir;
    SessionOptions a = twoChannelSession(dir.file("a"));
    SessionOptions b = twoChannelSession(dir.file("b"));
    SessionOptions c = twoChannelSession(dir.file("c"));
    c.scene.seed = 12;
    writeSession(a);
    writeSession(b);
    writeSession(c);
    EXPECT_EQ(readBytes(recordingName(a.out)), readBytes(recordingName(b.out)));
    EXPECT_EQ(readBytes(compressedName(a.out)), readBytes(compressedName(b.out)));
    EXPECT_EQ(readBytes(reportName(a.out)), readBytes(reportName(b.out)));
    EXPECT_NE(readBytes(recordingName(a.out)), readBytes(recordingName(c.out)));
}

}  // namespace
}  // namespace velkor::synth::test
