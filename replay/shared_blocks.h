// The blocks of one recording read once for several counts that walk it side by side (the ten
// counts of a class sweep), and the line count that the first of them made on opening it.
//
// Each count keeps its own reader and state; only the bytes of the file and the line count are
// shared. The counts may run on different threads and need not keep in step: the last few blocks
// asked for are kept, and a block asked for again after it was dropped is simply read again, so
// sharing never changes what a reader sees, only how often the file is read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "io/file_names.h"

namespace velkor {

class SharedBlocks {
public:
    // The bytes of one block: at most blockBytes, fewer for the last one.
    struct Block {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
    };
    // Where a block's first line begins (word position in the block) and that line's number.
    struct BlockStart {
        int32_t firstPos;
        int32_t firstLine;
    };
    // The line count of the recording: every block's first line, the lines and the damage found.
    struct LineCount {
        std::vector<BlockStart> index;
        int32_t lines = 0;
        int64_t damagedLines = 0;
        int32_t firstDamagedLine = 0;
        int32_t lastDamagedLine = 0;
    };

    // `fileName`: the recording as its readers open it; `count`: its line count.
    SharedBlocks(std::string fileName, LineCount count);
    SharedBlocks(const SharedBlocks&) = delete;
    SharedBlocks& operator=(const SharedBlocks&) = delete;

    const std::string& fileName() const { return fileName_; }
    const LineCount& lineCount() const { return count_; }

    // Block k (1-based), held for as long as the caller keeps it. Raises FileAccessError naming
    // the file when it cannot be read.
    std::shared_ptr<const Block> block(size_t k);

    // Blocks read from the file so far (a block read again after it was dropped counts again).
    int64_t blocksRead() const;

private:
    // The blocks kept: two cover a frame of any width at a block border for counts in step, and
    // the rest leave room for counts that drift apart by a block.
    static constexpr size_t kept = 4;

    std::string fileName_;
    LineCount count_;
    mutable std::mutex mutex_;
    FileHandle file_;
    struct Slot {
        size_t number = 0;  // 0: empty
        std::shared_ptr<Block> block;
        uint64_t lastUse = 0;
    };
    Slot slots_[kept];
    uint64_t uses_ = 0;
    int64_t blocksRead_ = 0;
};

}  // namespace velkor
