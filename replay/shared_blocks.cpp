// Reading shared blocks: a small cache of the blocks asked for last, filled from the file.
#include "replay/shared_blocks.h"

#include <cerrno>
#include <cstring>

#include "io/counter_constants.h"
#include "io/errors.h"

namespace velkor {

SharedBlocks::SharedBlocks(std::string fileName, LineCount count)
    : fileName_(std::move(fileName)), count_(std::move(count)) {}

std::shared_ptr<const SharedBlocks::Block> SharedBlocks::block(size_t k) {
    std::lock_guard lock(mutex_);
    ++uses_;
    Slot* oldest = &slots_[0];
    for (Slot& slot : slots_) {
        if (slot.number == k) {
            slot.lastUse = uses_;
            return slot.block;
        }
        if (slot.lastUse < oldest->lastUse) oldest = &slot;
    }
    if (!file_) {
        file_ = openForReading(fileName_);
        if (!file_) {
            const int err = errno;
            throw FileAccessError(fileName_,
                                  std::string("cannot open the recording: ") + std::strerror(err));
        }
    }
    // The oldest slot's bytes are reused unless a reader still holds them.
    if (!oldest->block || oldest->block.use_count() > 1) {
        oldest->block = std::make_shared<Block>();
        oldest->block->bytes = std::make_unique_for_overwrite<uint8_t[]>(blockBytes);
    }
    oldest->number = 0;
    errno = 0;
    if (fseeko(file_.get(), static_cast<off_t>(k - 1) * blockBytes, SEEK_SET) != 0) {
        const int err = errno != 0 ? errno : EIO;
        throw FileAccessError(fileName_,
                              std::string("cannot read the recording: ") + std::strerror(err));
    }
    const size_t got = std::fread(oldest->block->bytes.get(), 1, blockBytes, file_.get());
    if (got < static_cast<size_t>(blockBytes) && std::ferror(file_.get())) {
        const int err = errno != 0 ? errno : EIO;
        throw FileAccessError(fileName_,
                              std::string("cannot read the recording: ") + std::strerror(err));
    }
    ++blocksRead_;
    oldest->block->size = got;
    oldest->number = k;
    oldest->lastUse = uses_;
    return oldest->block;
}

int64_t SharedBlocks::blocksRead() const {
    std::lock_guard lock(mutex_);
    return blocksRead_;
}

}  // namespace velkor
