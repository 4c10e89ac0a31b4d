// The store: compact checkpoints packed one after another into chunks, an index by frame beside
// them, one lock over both.
#include "replay/checkpoint_store.h"

#include <algorithm>
#include <cstring>

#include "replay/compact_checkpoint.h"
#include "replay/replay_engine.h"

namespace velkor {

namespace {

constexpr uint32_t chunkWords = (uint32_t{1} << 20) / sizeof(uint32_t);
static_assert(maxCompactWords <= chunkWords, "a checkpoint fits a chunk");

}  // namespace

CheckpointStore::CheckpointStore(int32_t frameWidth, const ChannelArray<int32_t>& classOverrides,
                                 int32_t spacingLines, int64_t budgetBytes)
    : frameWidth_(std::clamp(frameWidth, 1, maxFrameWidth)),
      classOverrides_(classOverrides),
      budgetBytes_(budgetBytes),
      taken_(std::make_unique<EngineCheckpoint>()),
      compact_(std::make_unique<uint32_t[]>(maxCompactWords)),
      spacingFrames_(std::max(1, spacingLines / frameWidth_)) {
    entries_.reserve(1024);
}

CheckpointStore::~CheckpointStore() = default;

void CheckpointStore::frameCounted(const ReplayEngine& engine, int32_t frame) {
    // Only this thread changes the spacing, so it reads it without the lock.
    if ((frame - 1) % spacingFrames_ == 0) {
        engine.takeCheckpoint(*taken_);
        const auto words = static_cast<uint32_t>(compactCheckpoint(*taken_, compact_.get()));
        std::lock_guard lock(mutex_);
        for (;;) {
            int32_t chunk = 0;
            uint32_t offset = 0;
            if (findRoom(words, chunk, offset)) {
                std::memcpy(chunks_[chunk].get() + offset, compact_.get(),
                            words * sizeof(uint32_t));
                entries_.push_back({frame, chunk, offset, words});
                break;
            }
            if (entries_.size() < 2) break;  // a budget below two checkpoints keeps the first
            dropEverySecond();
            if ((frame - 1) % spacingFrames_ != 0) break;
        }
    }
    reach_ = frame;
}

void CheckpointStore::countFinished() {
    complete_ = true;
}

bool CheckpointStore::findRoom(uint32_t words, int32_t& chunk, uint32_t& offset) {
    if (!chunks_.empty() && usedInLastChunk_ + words <= chunkWords) {
        chunk = static_cast<int32_t>(chunks_.size()) - 1;
        offset = usedInLastChunk_;
        usedInLastChunk_ += words;
        return true;
    }
    const int64_t more = int64_t{chunkWords} * static_cast<int64_t>(sizeof(uint32_t));
    if (bytesLocked() + more > budgetBytes_) return false;
    chunks_.push_back(std::make_unique_for_overwrite<uint32_t[]>(chunkWords));
    chunk = static_cast<int32_t>(chunks_.size()) - 1;
    offset = 0;
    usedInLastChunk_ = words;
    return true;
}

// Keeps the checkpoints of frames 1, 1 + 2K, 1 + 4K ... and packs them anew from the start, each
// moved to where packing only those would have put it: never after its old place, so they move
// in place, in order.
void CheckpointStore::dropEverySecond() {
    const int32_t spacing = spacingFrames_ * 2;
    size_t kept = 0;
    int32_t chunk = 0;
    uint32_t used = 0;
    for (const Entry& e : entries_) {
        if ((e.frame - 1) % spacing != 0) continue;
        if (used + e.words > chunkWords) {
            ++chunk;
            used = 0;
        }
        std::memmove(chunks_[chunk].get() + used, chunks_[e.chunk].get() + e.offset,
                     e.words * sizeof(uint32_t));
        entries_[kept++] = {e.frame, chunk, used, e.words};
        used += e.words;
    }
    entries_.resize(kept);
    chunks_.resize(static_cast<size_t>(chunk) + 1);
    usedInLastChunk_ = used;
    spacingFrames_ = spacing;
}

const CheckpointStore::Entry* CheckpointStore::nearestLocked(int32_t frame) const {
    const auto after = std::upper_bound(entries_.begin(), entries_.end(), frame,
                                        [](int32_t f, const Entry& e) { return f < e.frame; });
    return after == entries_.begin() ? nullptr : &*(after - 1);
}

int32_t CheckpointStore::nearestFrame(int32_t frame) const {
    std::lock_guard lock(mutex_);
    const Entry* e = nearestLocked(frame);
    return e ? e->frame : 0;
}

bool CheckpointStore::nearest(int32_t frame, EngineCheckpoint& into) const {
    std::lock_guard lock(mutex_);
    const Entry* e = nearestLocked(frame);
    return e && expandCheckpoint(chunks_[e->chunk].get() + e->offset, e->words, into);
}

int32_t CheckpointStore::spacingFrames() const {
    std::lock_guard lock(mutex_);
    return spacingFrames_;
}

int32_t CheckpointStore::size() const {
    std::lock_guard lock(mutex_);
    return static_cast<int32_t>(entries_.size());
}

int64_t CheckpointStore::bytes() const {
    std::lock_guard lock(mutex_);
    return bytesLocked();
}

int64_t CheckpointStore::usedBytes() const {
    std::lock_guard lock(mutex_);
    int64_t words = 0;
    for (const Entry& e : entries_) words += e.words;
    return words * static_cast<int64_t>(sizeof(uint32_t));
}

int64_t CheckpointStore::bytesLocked() const {
    return static_cast<int64_t>(chunks_.size()) * chunkWords * sizeof(uint32_t) +
           static_cast<int64_t>(entries_.capacity() * sizeof(Entry));
}

}  // namespace velkor
