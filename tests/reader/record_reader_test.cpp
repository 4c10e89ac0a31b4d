// The record reader's block rules: lines at and across block boundaries, files that end exactly
// at a block's end, odd lengths, empty recordings, seeking back and forth, and open errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "io/errors.h"
#include "recording_builder.h"
#include "replay/record_reader.h"

namespace velkor::testing {
namespace {

struct BlockCase {
    const char* name;
    std::function<void(RecordingBuilder&)> build;
};

// File words are numbered from 1; block 1 holds words 1..1,000,000.
const BlockCase blockCases[] = {
    {"small recording", [](auto& b) { b.line(1), b.line(0), b.line(3); }},
    {"count word is the last word of a block",
     [](auto& b) { b.fillTo(1'000'000), b.line(3), b.line(2); }},
    {"pairs split between two blocks", [](auto& b) { b.fillTo(999'998), b.line(3), b.line(1); }},
    {"left and right end split between blocks",
     [](auto& b) { b.fillTo(999'999), b.line(2), b.line(0); }},
    {"empty line is the last word of a block",
     [](auto& b) { b.fillTo(1'000'000), b.line(0), b.line(4); }},
    {"exactly one block, ending in an empty line", [](auto& b) { b.fillTo(1'000'000), b.line(0); }},
    {"exactly one block, last line ends the block", [](auto& b) { b.fillTo(999'996), b.line(2); }},
    {"last block holds only the rest of a line", [](auto& b) { b.fillTo(999'999), b.line(5); }},
    {"odd length", [](auto& b) { b.fillTo(999'999), b.line(5), b.oddByte(); }},
    {"exactly one block and an odd byte",
     [](auto& b) { b.fillTo(999'996), b.line(2), b.oddByte(); }},
    {"header only", [](auto&) {}},
    {"header and an odd byte", [](auto& b) { b.oddByte(); }},
    {"two full blocks and a rest", [](auto& b) { b.fillTo(2'000'000), b.line(1), b.line(0); }},
    {"exactly two blocks", [](auto& b) { b.fillTo(2'000'000), b.line(0); }},
    {"a run of empty lines across a boundary",
     [](auto& b) {
         b.fillTo(999'990);
         for (int k = 0; k < 23; ++k) b.line(0);
         b.line(2), b.line(0), b.line(0), b.line(0), b.line(0), b.line(0);
     }},
};

class BlockRules : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockRules, CountsReadsAndSeeksEveryLineOnce) {
    TempDir folder;
    const std::string path = folder.file("r.blb");
    RecordingBuilder b(path);
    GetParam().build(b);
    b.finish();
    const auto& expected = b.expected();
    const int32_t lineCount = b.lines();

    RecordReader r;
    auto line = std::make_unique<LineArray>();
    r.open(path);
    ASSERT_EQ(r.fjoldilinaiskra(), lineCount);
    EXPECT_TRUE(r.endOfData());

    // Straight through, as the replay reads a recording.
    r.restartbuffer();
    r.seekLine(1);
    EXPECT_EQ(readAndCompare(r, expected, 1, *line), lineCount);
    EXPECT_TRUE(r.endOfData());
    EXPECT_EQ(r.readLineNumber(), lineCount + 1);
    r.readRecordLine(*line);  // nothing is left
    EXPECT_EQ(r.deliveredSegmentCount(), 0);
    EXPECT_EQ(r.readLineNumber(), lineCount + 1);

    // Straight through again, passing over lines without segments in bulk where the reader
    // allows it: the other lines come with the same numbers and contents.
    r.seekLine(1);
    for (int32_t number = 1; number <= lineCount; ++number) {
        const int32_t skipped = r.skipEmptyLines(lineCount - number + 1);
        for (int32_t k = number; k < number + skipped; ++k)
            EXPECT_EQ(expected[k - 1].raw, 0) << "line " << k;
        number += skipped;
        if (number > lineCount) break;
        EXPECT_EQ(readAndCompare(r, expected, number, *line, 1), 1);
    }
    EXPECT_EQ(r.readLineNumber(), lineCount + 1);

    // Seeks backward and forward, each followed by reading the rest.
    for (int32_t L : {lineCount, lineCount - 1, 1, lineCount / 2, lineCount - 2}) {
        if (L < 1) continue;
        SCOPED_TRACE("seek to line " + std::to_string(L));
        r.seekLine(L);
        EXPECT_EQ(readAndCompare(r, expected, L, *line), lineCount - L + 1);
        EXPECT_TRUE(r.endOfData());
    }

    r.seekLine(1);
    r.seekLine(lineCount + 1);
    EXPECT_TRUE(r.endOfData());
    r.readRecordLine(*line);
    EXPECT_EQ(r.deliveredSegmentCount(), 0);
    EXPECT_EQ(r.readLineNumber(), lineCount + 1);
    EXPECT_EQ(r.damagedLines(), 0);
}

INSTANTIATE_TEST_SUITE_P(Recordings, BlockRules, ::testing::ValuesIn(blockCases),
                         [](const auto& info) {
                             std::string n;
                             for (const char* c = info.param.name; *c; ++c)
                                 n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return n;
                         });

TEST(RecordReader, RecordingsWithoutLines) {
    for (const std::string& bytes : {std::string(), std::string("\x01", 1),
                                     std::string("\x0a\x00", 2), std::string("\x0a\x00\xdc", 3)}) {
        SCOPED_TRACE(bytes.size());
        TempDir folder;
        writeBytes(folder.file("r.blb"), bytes);
        RecordReader r;
        auto line = std::make_unique<LineArray>();
        r.open(folder.file("r.blb"));
        EXPECT_EQ(r.fjoldilinaiskra(), 0);
        r.restartbuffer();
        r.seekLine(1);
        EXPECT_TRUE(r.endOfData());
        r.readRecordLine(*line);
        EXPECT_EQ(r.deliveredSegmentCount(), 0);
        EXPECT_EQ(r.readLineNumber(), 1);
        EXPECT_EQ(r.damagedLines(), 0);
    }
}

TEST(RecordReader, RereadsTheFileOnlyToGoBackBeforeTheBlockInMemory) {
    TempDir folder;
    const std::string path = folder.file("r.blb");
    RecordingBuilder b(path);
    b.fillTo(1'200'000);
    const int32_t inBlock2 = b.lines() + 1;
    b.fillTo(2'100'000);
    const int32_t inBlock3 = b.lines() + 1;
    b.line(7);
    b.fillTo(2'200'000);
    b.finish();

    RecordReader r;
    auto line = std::make_unique<LineArray>();
    r.open(path);
    r.fjoldilinaiskra();
    r.restartbuffer();
    const int64_t atStart = r.blocksRead();

    r.seekLine(inBlock2);
    EXPECT_EQ(r.blocksRead(), atStart + 1);
    r.seekLine(inBlock3);  // forward: block 3 only
    EXPECT_EQ(r.blocksRead(), atStart + 2);
    r.seekLine(inBlock3 + 1);  // within the block in memory
    EXPECT_EQ(r.blocksRead(), atStart + 2);
    r.seekLine(inBlock3);
    readAndCompare(r, b.expected(), inBlock3, *line);

    // Line 1 while block 3 is in memory: back to the start of the file.
    r.seekLine(inBlock3);
    const int64_t before = r.blocksRead();
    r.seekLine(1);
    EXPECT_EQ(r.blocksRead(), before + 1);
    EXPECT_EQ(r.readLineNumber(), 1);
    r.readRecordLine(*line);
    EXPECT_EQ(r.rawSegmentCount(), b.expected()[0].raw);
    EXPECT_EQ((*line)[1].v, b.expected()[0].pairs[0].v);
}

// After the lines have been counted, a seek anywhere reads at most the one block that holds the
// line, and delivers what a walk from the start of the file delivers.
TEST(RecordReader, SeeksThroughTheBlockIndexMatchAWalkFromTheStart) {
    TempDir folder;
    const std::string path = folder.file("r.blb");
    RecordingBuilder b(path);
    std::vector<int32_t> targets{1, 2};
    // One boundary of each kind; the line that straddles it and the lines around it are sought.
    auto straddle = [&](int64_t countWord, int32_t segments) {
        b.fillTo(countWord);
        const int32_t across = b.lines() + 1;
        b.line(segments);
        b.line(1);
        targets.insert(targets.end(), {across - 1, across, across + 1, across + 2});
    };
    straddle(1'000'000, 3);  // the count word is the last word of block 1
    straddle(1'999'998, 3);  // the pairs are split between blocks 2 and 3
    straddle(2'999'999, 2);  // a left and a right end are split between blocks 3 and 4
    straddle(4'000'000, 0);  // an empty line is the last word of block 4
    b.fillTo(4'300'000);
    b.line(2);
    b.finish();
    const int32_t lineCount = b.lines();
    targets.insert(targets.end(), {lineCount - 1, lineCount, lineCount + 1});

    RecordReader r, walker;
    auto line = std::make_unique<LineArray>();
    r.open(path);
    ASSERT_EQ(r.fjoldilinaiskra(), lineCount);
    walker.open(path);  // never counts: every seek back walks from the start

    // Forward through every target, then backward, then alternating ends.
    std::vector<int32_t> order = targets;
    order.insert(order.end(), targets.rbegin(), targets.rend());
    for (size_t k = 0; k < targets.size(); ++k)
        order.push_back(k % 2 ? targets[k] : targets[targets.size() - 1 - k]);
    for (int32_t L : order) {
        SCOPED_TRACE("seek to line " + std::to_string(L));
        const int64_t before = r.blocksRead();
        r.seekLine(L);
        walker.seekLine(L);
        EXPECT_LE(r.blocksRead() - before, 1);
        EXPECT_EQ(r.readLineNumber(), walker.readLineNumber());
        EXPECT_EQ(r.endOfData(), walker.endOfData());
        EXPECT_EQ(readAndCompare(r, b.expected(), L, *line, 3), std::min(3, lineCount - L + 1));
        if (L == lineCount + 1) {
            r.readRecordLine(*line);
            EXPECT_TRUE(r.endOfData());
            EXPECT_EQ(r.deliveredSegmentCount(), 0);
        }
    }
    EXPECT_EQ(r.damagedLines(), 0);
}

TEST(RecordReader, RestartStandsAtLineOneAndLinesReadAfterwards) {
    TempDir folder;
    RecordingBuilder b(folder.file("r.blb"));
    b.line(2), b.line(0), b.line(1);
    b.finish();
    RecordReader r;
    auto line = std::make_unique<LineArray>();
    r.open(folder.file("r.blb"));
    EXPECT_EQ(readAndCompare(r, b.expected(), 1, *line), 3);
    EXPECT_TRUE(r.endOfData());
}

TEST(RecordReader, OpenErrorsNameTheFileAndTheReason) {
    TempDir folder;
    struct Case {
        std::string path;
        const char* reason;
    } cases[] = {{folder.file("missing.blb"), "No such file"},
                 {folder.path().string(), "directory"}};
    for (const Case& c : cases) {
        RecordReader r;
        try {
            r.open(c.path);
            ADD_FAILURE() << "no error for " << c.path;
        } catch (const FileAccessError& e) {
            EXPECT_EQ(e.file(), c.path);
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        EXPECT_FALSE(r.isOpen());
    }
}

}  // namespace
}  // namespace velkor::testing
