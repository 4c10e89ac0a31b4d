// Damaged line content: negative counts, counts above a line's 500 entries, and a last line cut
// off by the end of the file, also where the damage straddles a block boundary. The reader must
// keep the following lines in step, deliver what is sound, count each damaged line once and end.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "recording_builder.h"
#include "replay/record_reader.h"

namespace velkor::testing {
namespace {

// A stored line of `count` pairs whose pairs are 1,2, 3,4, ...; `present` words follow the count.
std::vector<int16_t> storedLine(int16_t count, int32_t present) {
    std::vector<int16_t> w{count};
    for (int32_t i = 1; i <= present; ++i) w.push_back(static_cast<int16_t>(i));
    return w;
}

ExpectedLine delivering(int16_t raw, int32_t pairs) {
    ExpectedLine e{raw, {}};
    for (int32_t j = 0; j < pairs; ++j) e.pairs.push_back({2 * j + 1, 2 * j + 2});
    return e;
}

struct DamageCase {
    const char* name;
    std::function<void(RecordingBuilder&)> build;
    int64_t damaged;
    int32_t firstDamaged;
};

const DamageCase damageCases[] = {
    {"negative count is one word",
     [](auto& b) {
         b.line(1), b.raw({-3}, {-3, {}}), b.line(2), b.line(0);
     },
     1, 2},
    {"most negative count",
     [](auto& b) {
         b.raw({-32768}, {-32768, {}}), b.line(1);
     },
     1, 1},
    {"count of 30000 is consumed whole",
     [](auto& b) { b.line(1), b.raw(storedLine(30000, 60000), delivering(30000, 500)), b.line(3); },
     1, 2},
    {"count of 501", [](auto& b) { b.raw(storedLine(501, 1002), delivering(501, 500)), b.line(0); },
     1, 1},
    {"last line cut off after one pair",
     [](auto& b) { b.line(2), b.raw(storedLine(3, 3), delivering(3, 1)); }, 1, 2},
    {"last line cut off at its count word",
     [](auto& b) { b.raw(storedLine(4, 0), delivering(4, 0)); }, 1, 1},
    {"cut-off line and an odd byte",
     [](auto& b) { b.raw(storedLine(2, 3), delivering(2, 1)), b.oddByte(); }, 1, 1},
    {"negative count as the last word of a block",
     [](auto& b) {
         b.fillTo(1'000'000), b.raw({-1}, {-1, {}}), b.line(2);
     },
     1, 0},
    {"count of 30000 across a block boundary",
     [](auto& b) {
         b.fillTo(990'001), b.raw(storedLine(30000, 60000), delivering(30000, 500)), b.line(1);
     },
     1, 0},
    {"cut-off line whose rest is alone in the last block",
     [](auto& b) { b.fillTo(999'998), b.raw(storedLine(10, 9), delivering(10, 4)); }, 1, 0},
    {"cut-off line ending exactly with the block",
     [](auto& b) { b.fillTo(999'998), b.raw(storedLine(10, 2), delivering(10, 1)); }, 1, 0},
    {"several damaged lines",
     [](auto& b) {
         b.raw({-2}, {-2, {}}), b.fillTo(1'000'000), b.raw({-5}, {-5, {}}), b.line(1),
             b.raw(storedLine(600, 5), delivering(600, 2));
     },
     3, 1},
};

class DamagedLines : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedLines, KeepLinesInStepAndAreCountedOnce) {
    TempDir folder;
    const std::string path = folder.file("r.blb");
    RecordingBuilder b(path);
    GetParam().build(b);
    b.finish();
    const int32_t lineCount = b.lines();
    // Where the case puts damage after filler lines, the first damaged line is the one after them.
    int32_t firstDamaged = GetParam().firstDamaged;
    if (firstDamaged == 0) {
        for (int32_t k = 0; k < lineCount && firstDamaged == 0; ++k) {
            const int16_t raw = b.expected()[k].raw;
            if (raw < 0 || raw > 500 || static_cast<int32_t>(b.expected()[k].pairs.size()) != raw)
                firstDamaged = k + 1;
        }
    }

    RecordReader r;
    auto line = std::make_unique<LineArray>();
    r.open(path);
    ASSERT_EQ(r.fjoldilinaiskra(), lineCount);
    EXPECT_EQ(r.damagedLines(), GetParam().damaged);
    EXPECT_EQ(r.firstDamagedLine(), firstDamaged);

    for (int pass = 0; pass < 2; ++pass) {
        r.seekLine(1);
        EXPECT_EQ(readAndCompare(r, b.expected(), 1, *line), lineCount);
        EXPECT_TRUE(r.endOfData());
        r.readRecordLine(*line);
        EXPECT_EQ(r.deliveredSegmentCount(), 0);
    }
    r.seekLine(lineCount);
    readAndCompare(r, b.expected(), lineCount, *line);
    EXPECT_EQ(r.damagedLines(), GetParam().damaged);
    EXPECT_EQ(r.firstDamagedLine(), firstDamaged);
}

TEST_P(DamagedLines, AreCountedByReadingWithoutCountingFirst) {
    TempDir folder;
    const std::string path = folder.file("r.blb");
    RecordingBuilder b(path);
    GetParam().build(b);
    b.finish();
    RecordReader r;
    auto line = std::make_unique<LineArray>();
    r.open(path);
    readAndCompare(r, b.expected(), 1, *line);
    EXPECT_EQ(r.damagedLines(), GetParam().damaged);
}

// Readers that share the blocks and the line count of a reader that counted the recording (the
// counts of a class sweep) read every line, damaged or not, as that reader does: two of them taking
// turns line by line, and the counting reader itself once it reads through the shared blocks too.
TEST_P(DamagedLines, ReadersSharingTheBlocksReadAsOneAlone) {
    TempDir folder;
    const std::string path = folder.file("r.blb");
    RecordingBuilder b(path);
    GetParam().build(b);
    b.finish();
    const int32_t lineCount = b.lines();

    RecordReader counting;
    counting.open(path);
    ASSERT_EQ(counting.fjoldilinaiskra(), lineCount);
    SharedBlocks blocks(path, counting.lineCountMade());
    counting.shareBlocks(&blocks);

    RecordReader a, b2;
    for (RecordReader* r : {&a, &b2}) {
        r->shareBlocks(&blocks);
        r->open(path);
        ASSERT_EQ(r->fjoldilinaiskra(), lineCount);
        EXPECT_EQ(r->damagedLines(), counting.damagedLines());
        EXPECT_EQ(r->firstDamagedLine(), counting.firstDamagedLine());
        r->restartbuffer();
    }
    auto line = std::make_unique<LineArray>();
    for (int32_t k = 1; k <= lineCount; ++k) {
        ASSERT_EQ(readAndCompare(a, b.expected(), k, *line, 1), 1);
        ASSERT_EQ(readAndCompare(b2, b.expected(), k, *line, 1), 1);
    }
    counting.seekLine(1);
    EXPECT_EQ(readAndCompare(counting, b.expected(), 1, *line), lineCount);
    for (const RecordReader* r : {&a, &b2, &counting}) {
        EXPECT_EQ(r->damagedLines(), GetParam().damaged);
        EXPECT_EQ(r->readLineNumber(), lineCount + 1);
    }
    // Each block was read from the file once, however many readers walked it.
    EXPECT_LE(blocks.blocksRead(), static_cast<int64_t>(blocks.lineCount().index.size()));
}

INSTANTIATE_TEST_SUITE_P(Recordings, DamagedLines, ::testing::ValuesIn(damageCases),
                         [](const auto& info) {
                             std::string n;
                             for (const char* c = info.param.name; *c; ++c)
                                 n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return n;
                         });

}  // namespace
}  // namespace velkor::testing
