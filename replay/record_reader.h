// The buffered reader of a recording (.blb): 16-bit little-endian words, two header words, then
// lines of a count word and (left, right) pairs. The reader holds one block of 2,000,000 bytes
// whatever the recording's length; lines are numbered from 1 and may straddle two blocks.
//
// Damaged content never takes the reader outside its buffer and never stops it from ending:
// a negative count word is a line without segments that occupies one word; a count above 500 is
// consumed whole but only its first 500 pairs are delivered; a last line cut off inside is
// counted and delivers the complete pairs present. Damaged lines are counted for the caller.
//
// Counting the lines also records, for every block, where its first line begins and that line's
// number: a few bytes per block. A seek outside the block in memory then reads the one block
// that holds the line instead of walking the file from its start.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/segmentation.h"
#include "core/tskepna.h"
#include "io/counter_constants.h"
#include "io/file_names.h"
#include "replay/shared_blocks.h"

namespace velkor {

class RecordReader {
public:
    RecordReader();
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // Opens the recording read-only and reads its first block. Raises FileAccessError naming the
    // file and the system's reason.
    void open(const std::string& fileName);
    bool isOpen() const;
    void close();
    const std::string& fileName() const { return fileName_; }

    // Back to the beginning of the recording: its first block is read and the reader stands at
    // line 1. Raises FileAccessError when the file cannot be read.
    void restartbuffer();
    // Reads the next block from the file's current position and finds the lines beginning in it.
    void lesa();
    // Moves on to the next block, or ends the data when the block in memory was the last one.
    void lesabuffer();
    // Counts the lines of the recording (reads the whole file once), records the block index and
    // leaves the reader at the end of the data. Raises OverflowError when the count does not fit a
    // 32-bit line number. `progress`, if set, is called after every block with the bytes read so
    // far and the file's size.
    int32_t fjoldilinaiskra(const std::function<void(int64_t, int64_t)>& progress = {});
    // Places the reader at the beginning of line L, 1 <= L <= lineCount + 1. Numbers outside
    // that range are held to it. Once the lines have been counted, a line outside the block in
    // memory costs one block read wherever it lies.
    void seekLine(int32_t L);
    // Reads the line at readPos into line entries 1..n (v, h only); leaves readPos at the next
    // line. With no line left to read it delivers nothing and sets endOfData.
    void readRecordLine(LineArray& line);

    // The runs of one line where they lie: (left, right) pairs of little-endian words, in the
    // block in memory when the line lies whole inside it, else in a copy the reader keeps. Valid
    // until the reader's next call.
    struct LineRuns {
        const uint8_t* pairs = nullptr;
        int32_t count = 0;
        // Run r, 1..count.
        RawRun operator()(int32_t r) const {
            const uint8_t* b = pairs + 4 * static_cast<size_t>(r - 1);
            return {wordAt(b), wordAt(b + 2)};
        }
    };
    // Reads the line at readPos as readRecordLine does, without copying its runs out of the
    // block: a line is then read and filtered in one pass. A line that lies whole inside the
    // block, with the word after it, is read here, in the caller's loop; any other goes the long
    // way round.
    LineRuns readLineRuns() {
        const int32_t start = readPos_;
        if (start >= 1 && start <= bufferWords_) [[likely]] {
            const int16_t n = wordAt(bytes_ + 2 * static_cast<size_t>(start - 1));
            const int32_t pairs = n > 0 ? n : 0;
            if (static_cast<int64_t>(start) + 2 * pairs < bufferWords_) [[likely]] {
                const int32_t kept = pairs < lineCapacity ? pairs : lineCapacity;
                rawSegmentCount_ = n;
                delivered_ = kept;
                readPos_ = start + 2 * pairs + 1;
                ++readLineNumber_;
                return {bytes_ + 2 * static_cast<size_t>(start), kept};
            }
        }
        return readLineRunsSlowly();
    }

    // Reads over the lines without segments (count word 0) that follow readPos, at most `most`,
    // as readRecordLine would, and returns how many. It stops before a line that would take the
    // reader into the next block.
    int32_t skipEmptyLines(int32_t most);

    bool endOfData() const { return endOfData_; }
    // The count word of the line read last, as stored (may be negative or above 500).
    int16_t rawSegmentCount() const { return rawSegmentCount_; }
    // Segments delivered by the line read last: 0 for a count <= 0, at most lineCapacity, fewer
    // for a line cut off at the end of the file.
    int32_t deliveredSegmentCount() const { return delivered_; }
    int32_t readLineNumber() const { return readLineNumber_; }

    // Damaged lines met by line counting (fjoldilinaiskra) and reading: how many, and the first.
    // Each damaged line is counted once, however often it is walked over or read.
    int64_t damagedLines() const { return damagedLines_; }
    int32_t firstDamagedLine() const { return firstDamagedLine_; }

    // Blocks read from the file since it was opened (shows when the reader rereads the file).
    int64_t blocksRead() const { return blocksRead_; }
    // Reads every block through `blocks` (null: from the file itself) whenever the recording open
    // is the one they hold, and takes over their line count instead of counting again. May be
    // given while a recording is open: the blocks read from then on come from `blocks`. The
    // reader sees the same bytes either way.
    void shareBlocks(SharedBlocks* blocks);
    // The line count made by fjoldilinaiskra, for readers that share the blocks of this recording.
    SharedBlocks::LineCount lineCountMade() const;

    // The size of the recording in bytes, taken when it was opened.
    int64_t fileBytes() const { return fileBytes_; }

private:
    // The word at b: little-endian two's complement, whatever the machine's byte order.
    static int16_t wordAt(const uint8_t* b) {
        return static_cast<int16_t>(static_cast<uint16_t>(b[0] | (b[1] << 8)));
    }
    // readLineRuns for a line at the end of the data or crossing into the next block.
    LineRuns readLineRunsSlowly();
    // Word p (1..bufferWords_) of the block in memory, decoded from its two bytes.
    int16_t word(int32_t p) const;
    // Words a line occupies given its count word: 2n + 1, or one word for a count <= 0.
    static int32_t lineWords(int16_t count);
    void countDamage(int32_t lineNumber);
    // Reads block k (1-based) straight from its place in the file, with the first line the index
    // recorded for it: the state a walk from the start would reach there.
    void readIndexedBlock(size_t k);
    [[noreturn]] void raiseReadError(int err) const;

    FileHandle file_;
    // The block in memory as raw bytes (little-endian words): the reader's own buffer, allocated
    // at the first block it reads itself, or a shared block that it holds.
    std::unique_ptr<uint8_t[]> recordBuffer_;
    std::shared_ptr<const SharedBlocks::Block> heldBlock_;
    const uint8_t* bytes_ = nullptr;
    SharedBlocks* shared_ = nullptr;
    bool sharing_ = false;  // shared_ holds the recording open
    int32_t countedLines_ = 0;
    std::string fileName_;

    int32_t bufferWords_ = 0;
    int32_t blockFirstPos_ = 0;
    int32_t blockFirstLine_ = 1;
    int32_t blockLastPos_ = 0;
    int32_t blockLastLine_ = 0;
    int32_t readPos_ = 0;
    int32_t readLineNumber_ = 0;
    bool endOfData_ = false;
    int16_t rawSegmentCount_ = 0;
    int32_t delivered_ = 0;
    // The runs of a line that crosses into the next block, gathered from both.
    std::array<uint8_t, 4 * lineCapacity> crossingRuns_{};

    int64_t damagedLines_ = 0;
    int32_t firstDamagedLine_ = 0;
    // Damage is met in increasing line order on every walk from the start, so a line at or before
    // this one has been counted already.
    int32_t lastDamagedLine_ = 0;
    int64_t blocksRead_ = 0;
    int64_t fileBytes_ = 0;

    // Where a block's first line begins (position in the block) and its number.
    using BlockStart = SharedBlocks::BlockStart;
    // Entry k - 1 describes block k; complete once fjoldilinaiskra has walked the whole file.
    std::vector<BlockStart> blockIndex_;
    bool indexComplete_ = false;
    bool recordingIndex_ = false;
    size_t blockNumber_ = 0;  // the block in memory, 1-based
};

}  // namespace velkor
