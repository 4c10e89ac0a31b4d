// The objects that ended in the frame read last, with their verdicts: what the window marks on
// the picture and explains. Filled by the same run that counts, in the order the objects ended.
//
// The entries are allocated once, when explaining starts. A frame keeps at most `capacity` of them
// (far more than a crowded frame of 2001 lines holds); the tallies count every ending, kept or
// not.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/object_ending.h"

namespace velkor {

struct EndedObject {
    ObjectEnding ending;
    int32_t line = 0;    // the line on which it ended (its last segment lies on the line before)
    int32_t column = 0;  // that line's frame-store column
    int32_t number = 0;  // a counted object's running number in its channel; 0 otherwise
};

// Objects of each verdict per channel (entries 1..4).
using VerdictTally = std::array<std::array<int32_t, endingVerdictCount>, maxChannels + 1>;

class FrameEndings {
public:
    static constexpr int32_t capacity = 16384;

    void allocate() {
        if (!entries_) entries_ = std::make_unique<EndedObject[]>(capacity);
    }

    void clear() {
        kept_ = 0;
        total_ = 0;
        tally_ = {};
    }
    void add(const EndedObject& e) {
        ++total_;
        const int32_t c = e.ending.channel;
        if (c >= 1 && c <= maxChannels) ++tally_[c][static_cast<int>(e.ending.verdict)];
        if (entries_ && kept_ < capacity) entries_[kept_++] = e;
    }

    int32_t size() const { return kept_; }  // entries kept
    const EndedObject& operator[](int32_t k) const { return entries_[k]; }
    const EndedObject* begin() const { return entries_.get(); }
    const EndedObject* end() const { return entries_.get() + kept_; }
    int32_t total() const { return total_; }  // every ending of the frame
    const VerdictTally& tally() const { return tally_; }

private:
    std::unique_ptr<EndedObject[]> entries_;
    int32_t kept_ = 0;
    int32_t total_ = 0;
    VerdictTally tally_{};
};

}  // namespace velkor
