// The buffered reader of a recording (.blb): 16-bit little-endian words, two header words, then
// lines of a count word and (left, right) pairs. The reader holds one block of 2,000,000 bytes
// whatever the recording's length; lines are numbered from 1 and may straddle two blocks.
//
// Damaged content never takes the reader outside its buffer and never stops it from ending:
// a negative count word is a line without segments that occupies one word; a count above 500 is
// consumed whole but only its first 500 pairs are delivered; a last line cut off inside is
// counted and delivers the complete pairs present. Damaged lines are counted for the caller.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/tskepna.h"

namespace velkor {

inline constexpr int32_t blockWords = 1'000'000;
inline constexpr int32_t blockBytes = 2 * blockWords;

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

    void restartbuffer();
    void lesa();
    void lesabuffer();
    int32_t fjoldilinaiskra();
    void seekLine(int32_t L);
    // Reads the line at readPos into line entries 1..n (v, h only); leaves readPos at the next line.
    void readRecordLine(LineArray& line);

    bool endOfData() const { return endOfData_; }
    // The count word of the line read last, as stored (may be negative or above 500).
    int16_t rawSegmentCount() const { return rawSegmentCount_; }
    // Segments delivered by the line read last: 0 for a count <= 0, at most lineCapacity, fewer
    // for a line cut off at the end of the file.
    int32_t deliveredSegmentCount() const { return delivered_; }
    int32_t readLineNumber() const { return readLineNumber_; }

    // Damaged lines met by line counting (fjoldilinaiskra) and reading: how many, and the first.
    int64_t damagedLines() const { return damagedLines_; }
    int32_t firstDamagedLine() const { return firstDamagedLine_; }

private:
    // Implementation state (owned by the reader's implementation).
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string fileName_;
    bool endOfData_ = false;
    int16_t rawSegmentCount_ = 0;
    int32_t delivered_ = 0;
    int32_t readLineNumber_ = 0;
    int64_t damagedLines_ = 0;
    int32_t firstDamagedLine_ = 0;
};

}  // namespace velkor
