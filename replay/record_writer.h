// Writing recordings: a .blb writer (header words, then lines of a count word and (left, right)
// pairs, 16-bit little-endian) and the compression of a .blb into its .blc form. The recording
// is written to a temporary file beside its name and renamed into place by finish(), so an
// interrupted write never leaves a partial recording under the real name.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "io/replacing_file.h"

namespace velkor {

// One segment of a line: left and right end, pixel positions that fit a 16-bit word.
struct SegmentPair {
    int32_t v = 0;
    int32_t h = 0;
};

class RecordWriter {
public:
    // The header words are the low 16 bits of the counting area's edges at recording time.
    // Raises FileAccessError when the file cannot be created.
    RecordWriter(std::string path, int32_t leftEdge, int32_t rightEdge);
    ~RecordWriter();  // without finish() the recording is discarded
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // One line: its count word, then its pairs. Raises std::out_of_range for more than 32767
    // pairs or a position outside the 16-bit range.
    void writeLine(std::span<const SegmentPair> pairs);
    void writeLine(std::initializer_list<SegmentPair> pairs) {
        writeLine(std::span<const SegmentPair>(pairs.begin(), pairs.size()));
    }
    // Words as given, with no line structure (damaged content, a cut-off line).
    void writeRawWords(std::span<const int16_t> words);
    void writeRawWords(std::initializer_list<int16_t> words) {
        writeRawWords(std::span<const int16_t>(words.begin(), words.size()));
    }
    // Bytes as given (an odd final byte).
    void writeRawBytes(std::span<const uint8_t> bytes);

    // Writes what is buffered and renames the recording into place.
    void finish();

    int64_t linesWritten() const { return lines_; }
    int64_t bytesWritten() const { return bytes_; }

private:
    void putWord(int32_t w);
    void flush();

    ReplacingFile out_;
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;
    int64_t lines_ = 0;
    int64_t bytes_ = 0;
};

// Compresses the recording `blbPath` into `blcPath` as one zlib stream (default window) at the
// given level, streaming through fixed buffers. Raises FileAccessError naming the file at fault.
void compressRecord(const std::string& blbPath, const std::string& blcPath, int level = 1);

}  // namespace velkor
