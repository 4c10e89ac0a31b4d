// Test recordings built in place: a builder that writes lines with the record writer while noting
// what the reader must deliver for each line and which file word each line's count word lands on
// (so lines can be put exactly at block boundaries).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "replay/record_reader.h"
#include "replay/record_writer.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"

namespace velkor::testing {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// What reading one line must give.
struct ExpectedLine {
    int16_t raw = 0;
    std::vector<SegmentPair> pairs;  // the pairs delivered
};

inline SegmentPair pairOf(int64_t line, int32_t j) {
    const int32_t v = static_cast<int32_t>((line * 13 + j * 3) % 20000);
    return {v, v + 1 + j % 7};
}

class RecordingBuilder {
public:
    explicit RecordingBuilder(std::string path) : writer_(std::move(path), 10, 1500) {}

    // A sound line of n segments.
    void line(int32_t n) {
        std::vector<SegmentPair> pairs;
        for (int32_t j = 1; j <= n; ++j) pairs.push_back(pairOf(lines() + 1, j));
        writer_.writeLine(pairs);
        nextWord_ += 2 * n + 1;
        expected_.push_back({static_cast<int16_t>(n), pairs});
    }
    // Words making up one line as stored, and what reading it must give.
    void raw(const std::vector<int16_t>& words, ExpectedLine e) {
        writer_.writeRawWords(words);
        nextWord_ += static_cast<int64_t>(words.size());
        expected_.push_back(std::move(e));
    }
    // Sound lines until the next count word is file word `word`.
    void fillTo(int64_t word) {
        ASSERT_GE(word, nextWord_);
        while (nextWord_ < word) {
            const int64_t gap = word - nextWord_;
            line(static_cast<int32_t>(std::min<int64_t>(500, (gap - 1) / 2)));
        }
    }
    void oddByte() { writer_.writeRawBytes(std::vector<uint8_t>{0x7F}); }
    void finish() { writer_.finish(); }

    int64_t nextWord() const { return nextWord_; }
    int32_t lines() const { return static_cast<int32_t>(expected_.size()); }
    const std::vector<ExpectedLine>& expected() const { return expected_; }

private:
    RecordWriter writer_;
    int64_t nextWord_ = 3;
    std::vector<ExpectedLine> expected_;
};

// Reads lines from where the reader stands while lines remain (at most `most`), checking each
// against the expected lines from `first` on. Returns the number of lines read.
inline int32_t readAndCompare(RecordReader& r, const std::vector<ExpectedLine>& expected,
                              int32_t first, LineArray& line,
                              int32_t most = std::numeric_limits<int32_t>::max()) {
    int32_t n = 0;
    for (size_t k = first - 1; k < expected.size() && n < most; ++k) {
        const int32_t number = static_cast<int32_t>(k) + 1;
        EXPECT_EQ(r.readLineNumber(), number);
        r.readRecordLine(line);
        const ExpectedLine& e = expected[k];
        EXPECT_EQ(r.rawSegmentCount(), e.raw) << "line " << number;
        EXPECT_EQ(r.deliveredSegmentCount(), static_cast<int32_t>(e.pairs.size()))
            << "line " << number;
        for (size_t j = 0; j < e.pairs.size() && j < 500; ++j) {
            if (line[j + 1].v != e.pairs[j].v || line[j + 1].h != e.pairs[j].h) {
                ADD_FAILURE() << "line " << number << " segment " << j + 1 << ": (" << line[j + 1].v
                              << "," << line[j + 1].h << ") instead of (" << e.pairs[j].v << ","
                              << e.pairs[j].h << ")";
                break;
            }
        }
        ++n;
    }
    return n;
}

}  // namespace velkor::testing
