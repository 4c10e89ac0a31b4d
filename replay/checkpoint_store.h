// The checkpoints of one continuous count, kept in memory while the count runs, so that any frame
// can be shown as that count had it by restoring the nearest one before it and reading on (see
// seek_as_counted.h). Filled by the counting thread, read by the window's thread while it fills:
// every member is guarded, nothing is shared unguarded. A recount with other classes keeps a store
// of its own.
//
// A checkpoint is kept after frame 1 and then every spacingFrames() frames, about spacingLines
// lines apart whatever the frame width, so that reading on from one to any frame before the next
// replays at most that many lines. They are kept compact (compact_checkpoint.h) in chunks of a
// megabyte, never on disk. When a long recording would take more than the budget, every second
// checkpoint is dropped and the spacing doubles: memory stays bounded and the reading-on grows.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "replay/engine_checkpoint.h"

namespace velkor {

class ReplayEngine;

class CheckpointStore {
public:
    // Lines between two checkpoints, about 29 s of recording: a crowded four-channel session
    // replays them in well under 50 ms (checkpoint_bench).
    static constexpr int32_t defaultSpacingLines = 32768;
    // Memory for the checkpoints of one count at most; a day-long crowded four-channel session
    // needs far less at the default spacing (checkpoint_bench).
    static constexpr int64_t defaultBudgetBytes = int64_t{32} << 20;

    // For the count with frames of `frameWidth` lines (1..2001) and the classes `classOverrides`
    // (as ReplayEngine::setClassOverrides takes them).
    CheckpointStore(int32_t frameWidth, const ChannelArray<int32_t>& classOverrides,
                    int32_t spacingLines = defaultSpacingLines,
                    int64_t budgetBytes = defaultBudgetBytes);
    ~CheckpointStore();
    CheckpointStore(const CheckpointStore&) = delete;
    CheckpointStore& operator=(const CheckpointStore&) = delete;

    // The counting thread's side. After the count in `engine` has read frame `frame` (frames are
    // read in order from 1): keeps a checkpoint when the frame is due and notes how far the count
    // has come.
    void frameCounted(const ReplayEngine& engine, int32_t frame);
    // The count has read its last frame: reach() is final.
    void countFinished();

    // Any thread.
    int32_t frameWidth() const { return frameWidth_; }
    const ChannelArray<int32_t>& classOverrides() const { return classOverrides_; }
    // The last frame the count has read (0: none yet), and whether it has read them all.
    int32_t reach() const { return reach_.load(); }
    bool complete() const { return complete_.load(); }
    // The frame of the latest checkpoint at or before `frame`; 0 when there is none.
    int32_t nearestFrame(int32_t frame) const;
    // Copies that checkpoint into `into`; false when there is none.
    bool nearest(int32_t frame, EngineCheckpoint& into) const;
    // Frames between two checkpoints, at present.
    int32_t spacingFrames() const;
    // Checkpoints kept; the memory held for them (chunks and their index); the bytes of their
    // compact forms alone.
    int32_t size() const;
    int64_t bytes() const;
    int64_t usedBytes() const;

private:
    struct Entry {
        int32_t frame;
        int32_t chunk;
        uint32_t offset;  // in words
        uint32_t words;
    };
    // Where the next `words` words go, a new chunk if need be; false when that passes the budget.
    bool findRoom(uint32_t words, int32_t& chunk, uint32_t& offset);
    void dropEverySecond();
    int64_t bytesLocked() const;
    const Entry* nearestLocked(int32_t frame) const;

    const int32_t frameWidth_;
    const ChannelArray<int32_t> classOverrides_;
    const int64_t budgetBytes_;
    std::atomic<int32_t> reach_{0};
    std::atomic<bool> complete_{false};

    // The counting thread's own: the checkpoint taken and its compact form before they are kept.
    std::unique_ptr<EngineCheckpoint> taken_;
    std::unique_ptr<uint32_t[]> compact_;

    mutable std::mutex mutex_;
    int32_t spacingFrames_;
    std::vector<std::unique_ptr<uint32_t[]>> chunks_;
    uint32_t usedInLastChunk_ = 0;
    std::vector<Entry> entries_;
};

}  // namespace velkor
