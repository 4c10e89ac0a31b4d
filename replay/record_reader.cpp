// The buffered record reader: block bookkeeping, line counting, seeking and line reading.
//
// Every walk over the lines (lesa's walk, the seek, the line reader) steps over a line by the
// same rule, lineWords, so that damaged count words keep all of them in step and a walk always
// moves forward by at least one word.
#include "replay/record_reader.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <limits>

#include "io/errors.h"

namespace velkor {

namespace {

// The highest line number the reader hands out; one more is still needed for "the line after".
constexpr int32_t maxLineNumber = std::numeric_limits<int32_t>::max() - 1;

}  // namespace

RecordReader::RecordReader() = default;

RecordReader::~RecordReader() {
    close();
}

void RecordReader::open(const std::string& fileName) {
    close();
    fileName_ = fileName;
    file_ = openForReading(fileName);
    if (!file_) {
        const int err = errno;
        throw FileAccessError(fileName,
                              std::string("cannot open the recording: ") + std::strerror(err));
    }
    sharing_ = shared_ != nullptr && shared_->fileName() == fileName;
    fileBytes_ = 0;
    if (fseeko(file_.get(), 0, SEEK_END) == 0) {
        const off_t end = ftello(file_.get());
        if (end > 0) fileBytes_ = end;
    }
    damagedLines_ = 0;
    firstDamagedLine_ = 0;
    lastDamagedLine_ = 0;
    blocksRead_ = 0;
    try {
        restartbuffer();
    } catch (...) {
        close();
        throw;
    }
}

bool RecordReader::isOpen() const {
    return file_ != nullptr;
}

void RecordReader::close() {
    file_.reset();
    bufferWords_ = 0;
    // No line begins in the (empty) block in memory.
    blockFirstPos_ = blockLastPos_ = blockLastLine_ = 0;
    blockFirstLine_ = 1;
    readPos_ = readLineNumber_ = 0;
    endOfData_ = true;
    rawSegmentCount_ = 0;
    delivered_ = 0;
    blockIndex_.clear();
    indexComplete_ = recordingIndex_ = false;
    blockNumber_ = 0;
    sharing_ = false;
    heldBlock_.reset();
    countedLines_ = 0;
}

void RecordReader::shareBlocks(SharedBlocks* blocks) {
    shared_ = blocks;
    sharing_ = blocks != nullptr && isOpen() && blocks->fileName() == fileName_;
}

SharedBlocks::LineCount RecordReader::lineCountMade() const {
    SharedBlocks::LineCount count;
    if (!indexComplete_) return count;
    count.index = blockIndex_;
    count.lines = countedLines_;
    count.damagedLines = damagedLines_;
    count.firstDamagedLine = firstDamagedLine_;
    count.lastDamagedLine = lastDamagedLine_;
    return count;
}

int16_t RecordReader::word(int32_t p) const {
    const uint8_t* b = bytes_ + 2 * static_cast<size_t>(p - 1);
    // Little-endian two's complement, whatever the machine's byte order.
    return static_cast<int16_t>(static_cast<uint16_t>(b[0] | (b[1] << 8)));
}

int32_t RecordReader::lineWords(int16_t count) {
    return count > 0 ? 2 * count + 1 : 1;
}

void RecordReader::countDamage(int32_t lineNumber) {
    if (lineNumber <= lastDamagedLine_) return;
    lastDamagedLine_ = lineNumber;
    if (damagedLines_ == 0) firstDamagedLine_ = lineNumber;
    ++damagedLines_;
}

void RecordReader::raiseReadError(int err) const {
    throw FileAccessError(fileName_,
                          std::string("cannot read the recording: ") + std::strerror(err));
}

void RecordReader::restartbuffer() {
    if (file_ == nullptr) {
        throw FileAccessError(fileName_, "the recording is not open");
    }
    std::rewind(file_.get());
    blockFirstPos_ = 3;
    blockFirstLine_ = 1;
    endOfData_ = false;
    blockNumber_ = 1;
    lesa();
    // Stand at line 1, so that reading may begin without a seek.
    readPos_ = blockFirstPos_;
    readLineNumber_ = blockFirstLine_;
}

void RecordReader::lesa() {
    if (file_ == nullptr) {
        throw FileAccessError(fileName_, "the recording is not open");
    }
    size_t got;
    if (sharing_) {
        heldBlock_ = shared_->block(blockNumber_);
        bytes_ = heldBlock_->bytes.get();
        got = heldBlock_->size;
    } else {
        // Not zeroed: no word past those a read delivered is ever decoded (bufferWords_).
        if (!recordBuffer_) recordBuffer_ = std::make_unique_for_overwrite<uint8_t[]>(blockBytes);
        heldBlock_.reset();
        bytes_ = recordBuffer_.get();
        errno = 0;
        got = std::fread(recordBuffer_.get(), 1, blockBytes, file_.get());
        if (got < static_cast<size_t>(blockBytes) && std::ferror(file_.get())) {
            raiseReadError(errno != 0 ? errno : EIO);
        }
    }
    ++blocksRead_;
    bufferWords_ = static_cast<int32_t>(got / 2);  // a final odd byte is no word
    if (recordingIndex_ && blockNumber_ == blockIndex_.size() + 1)
        blockIndex_.push_back({blockFirstPos_, blockFirstLine_});

    if (blockFirstPos_ > bufferWords_) {
        // No line begins in this block: it is empty or holds only the rest of the line before.
        if (blockFirstLine_ > 1 && blockFirstPos_ - 1 > bufferWords_) {
            countDamage(blockFirstLine_ - 1);  // that line is cut off by the end of the file
        }
        blockLastPos_ = blockFirstPos_;
        blockLastLine_ = blockFirstLine_ - 1;
        endOfData_ = true;
    } else if (indexComplete_ && blockNumber_ < blockIndex_.size()) {
        // The count found where the next block's first line begins: this block's lines need no
        // walk, and lesabuffer takes the next block's start from the index.
        blockLastLine_ = blockIndex_[blockNumber_].firstLine - 1;
        blockLastPos_ = 0;
    } else {
        int32_t p = blockFirstPos_;
        int32_t line = blockFirstLine_;
        const uint8_t* bytes = bytes_;
        for (;;) {
            // Runs of lines without segments, four count words at a time while a line follows
            // them in the block: each step of the walk otherwise waits on the word before. Only
            // tried from a line without segments, so a line with runs costs no extra test.
            if (word(p) == 0) {
                while (p + 3 < bufferWords_ && line <= maxLineNumber - 4) {
                    uint64_t four;
                    std::memcpy(&four, bytes + 2 * static_cast<size_t>(p - 1), sizeof four);
                    if (four != 0) break;
                    p += 4;
                    line += 4;
                }
            }
            const int16_t n = word(p);
            if (n < 0 || n > lineCapacity) countDamage(line);
            const int32_t next = p + lineWords(n);
            if (next > bufferWords_) break;
            if (line >= maxLineNumber) {
                throw OverflowError(fileName_, "the recording has more lines than can be numbered");
            }
            p = next;
            ++line;
        }
        blockLastPos_ = p;
        blockLastLine_ = line;
    }
    readPos_ = 0;
}

void RecordReader::lesabuffer() {
    if (file_ == nullptr) {
        throw FileAccessError(fileName_, "the recording is not open");
    }
    if (indexComplete_ && blockNumber_ < blockIndex_.size()) {
        // A block with a successor in the index was full, and its damage has been counted.
        blockFirstPos_ = blockIndex_[blockNumber_].firstPos;
        blockFirstLine_ = blockIndex_[blockNumber_].firstLine;
    } else if (blockLastLine_ >= blockFirstLine_) {
        // A line begins in this block; the word after the last one is in the next block's
        // numbering.
        const int32_t lastWords = lineWords(word(blockLastPos_));
        if (bufferWords_ != blockWords && blockLastPos_ + lastWords - 1 > bufferWords_) {
            countDamage(blockLastLine_);  // the last line is cut off by the end of the file
        }
        blockFirstPos_ = blockLastPos_ + lastWords - blockWords;
        blockFirstLine_ = blockLastLine_ + 1;
    }
    endOfData_ = (bufferWords_ != blockWords);
    if (!endOfData_) {
        ++blockNumber_;
        lesa();
    }
}

int32_t RecordReader::fjoldilinaiskra(const std::function<void(int64_t, int64_t)>& progress) {
    if (sharing_ && !shared_->lineCount().index.empty()) {
        // Counted already by a reader of the same recording: its index and damage, as a count
        // would find them, and the reader at the end of the data.
        const SharedBlocks::LineCount& count = shared_->lineCount();
        blockIndex_ = count.index;
        indexComplete_ = true;
        damagedLines_ = count.damagedLines;
        firstDamagedLine_ = count.firstDamagedLine;
        lastDamagedLine_ = count.lastDamagedLine;
        countedLines_ = count.lines;
        endOfData_ = true;
        if (progress) progress(fileBytes_, fileBytes_);
        return countedLines_;
    }
    blockIndex_.clear();
    blockIndex_.reserve(static_cast<size_t>(fileBytes_ / blockBytes) + 2);
    indexComplete_ = false;
    recordingIndex_ = true;
    struct StopRecording {
        bool& flag;
        ~StopRecording() { flag = false; }
    } stop{recordingIndex_};
    restartbuffer();
    for (;;) {
        if (progress) {
            const int64_t done = static_cast<int64_t>(blockNumber_) * blockBytes;
            progress(done < fileBytes_ ? done : fileBytes_, fileBytes_);
        }
        if (endOfData_) break;
        lesabuffer();
    }
    indexComplete_ = true;
    countedLines_ = blockLastLine_;
    return blockLastLine_;
}

void RecordReader::readIndexedBlock(size_t k) {
    const BlockStart& start = blockIndex_[k - 1];
    if (fseeko(file_.get(), static_cast<off_t>(k - 1) * blockBytes, SEEK_SET) != 0)
        raiseReadError(errno != 0 ? errno : EIO);
    blockFirstPos_ = start.firstPos;
    blockFirstLine_ = start.firstLine;
    endOfData_ = false;
    blockNumber_ = k;
    lesa();
}

void RecordReader::seekLine(int32_t L) {
    if (indexComplete_ && (L < blockFirstLine_ || (blockLastLine_ < L && !endOfData_))) {
        // The last block whose first line is at or before L holds L's count word; for the line
        // after the last one that is the last block, and the walk below ends the data.
        size_t lo = 1, hi = blockIndex_.size();
        while (lo < hi) {
            const size_t mid = lo + (hi - lo + 1) / 2;
            if (blockIndex_[mid - 1].firstLine <= L)
                lo = mid;
            else
                hi = mid - 1;
        }
        if (lo != blockNumber_ || L < blockFirstLine_) readIndexedBlock(lo);
    }
    if (L < blockFirstLine_) restartbuffer();
    while (blockLastLine_ < L && !endOfData_) lesabuffer();
    readPos_ = blockFirstPos_;
    readLineNumber_ = blockFirstLine_;
    // Held to the line after the block's last line: a number beyond the recording walks no
    // further than the end of the data.
    while (readLineNumber_ < L && readLineNumber_ <= blockLastLine_) {
        readPos_ += lineWords(word(readPos_));
        ++readLineNumber_;
    }
}

int32_t RecordReader::skipEmptyLines(int32_t most) {
    // Only lines whose count word lies before the block's last word: reading such a line never
    // moves to the next block. Four count words are tested at a time where they are all zero.
    const int32_t stop = bufferWords_ - 1;
    int32_t p = readPos_;
    if (p < 1 || most <= 0) return 0;
    const int32_t end = static_cast<int64_t>(p) + most - 1 < stop ? p + most - 1 : stop;
    const uint8_t* bytes = bytes_;
    while (p + 3 <= end) {
        uint64_t four;
        std::memcpy(&four, bytes + 2 * static_cast<size_t>(p - 1), sizeof four);
        if (four != 0) break;
        p += 4;
    }
    while (p <= end && word(p) == 0) ++p;
    const int32_t skipped = p - readPos_;
    if (skipped > 0) {
        readPos_ = p;
        readLineNumber_ += skipped;
        rawSegmentCount_ = 0;
        delivered_ = 0;
    }
    return skipped;
}

void RecordReader::readRecordLine(LineArray& line) {
    const LineRuns runs = readLineRuns();
    for (int32_t i = 1; i <= runs.count; ++i) {
        const RawRun run = runs(i);
        line[i].v = run.v;
        line[i].h = run.h;
    }
}

RecordReader::LineRuns RecordReader::readLineRunsSlowly() {
    delivered_ = 0;
    if (readPos_ < 1 || readPos_ > bufferWords_) {
        // Past the last word of the recording: no line is left.
        rawSegmentCount_ = 0;
        endOfData_ = true;
        return {};
    }
    const int16_t n = word(readPos_);
    rawSegmentCount_ = n;
    // A bad count word was counted by lesa's walk over the block; only a cut-off is found here.
    const int32_t thisLine = readLineNumber_;

    // The whole line, its last word and the word after it inside the block in memory: no block
    // change and no cut-off can occur, so the runs are read where they lie.
    const int32_t pairs = n > 0 ? n : 0;
    const int32_t start = readPos_;
    if (static_cast<int64_t>(start) + 2 * pairs < bufferWords_) {
        const int32_t kept = pairs < lineCapacity ? pairs : lineCapacity;
        delivered_ = kept;
        readPos_ = start + 2 * pairs + 1;
        ++readLineNumber_;
        return {bytes_ + 2 * static_cast<size_t>(start), kept};
    }

    // Takes the next word of the line, moving to the next block at the end of this one; false
    // when the file ends first.
    auto advance = [this]() {
        if (readPos_ == bufferWords_) lesabuffer();
        ++readPos_;
        return readPos_ <= bufferWords_;
    };
    uint8_t* copy = crossingRuns_.data();
    for (int32_t i = 1; i <= n; ++i) {
        if (!advance()) {
            countDamage(thisLine);
            ++readLineNumber_;
            return {copy, delivered_};
        }
        const uint8_t* v = bytes_ + 2 * static_cast<size_t>(readPos_ - 1);
        if (i <= lineCapacity) std::memcpy(copy + 4 * (i - 1), v, 2);
        if (!advance()) {
            countDamage(thisLine);
            ++readLineNumber_;
            return {copy, delivered_};
        }
        const uint8_t* h = bytes_ + 2 * static_cast<size_t>(readPos_ - 1);
        if (i <= lineCapacity) {
            std::memcpy(copy + 4 * (i - 1) + 2, h, 2);
            delivered_ = i;
        }
    }
    advance();  // past the line's last word
    ++readLineNumber_;
    return {copy, delivered_};
}

}  // namespace velkor
