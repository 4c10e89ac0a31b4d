// What happens to an object when it ends in the pairing walk, and how an observer hears of it.
//
// An object ends on the first line on which nothing continues it (its segments ran out, or its
// shape state cut it). It is then counted, dropped because a size limit fails, or, as a piece of
// a split, it hands its area to its siblings. judgeEnding makes that decision; the walk acts on
// it and, when an EndingObserver is attached, reports it with the limits it was judged by, so an
// explanation of a count is always the decision that made it.
#pragma once

#include <cstdint>

#include "core/checked_math.h"
#include "core/core_state.h"

namespace velkor {

enum class EndingVerdict : uint8_t {
    counted,
    // A whole object dropped: the first bound that fails, in the order length, width, area.
    tooShort,
    tooLong,
    tooNarrow,
    tooWide,
    tooSmall,
    tooLarge,
    // A piece of a split that hands its area to its siblings, and why.
    pieceOfSameFish,
    pieceTooShort,
    pieceTooLong,
    pieceTooNarrow,
    pieceTooWide,
    pieceTooSmall,
    pieceTooLarge,
    pieceTooShortOnItsOwn,  // too few lines since the split
    pieceTooSmallOnItsOwn,  // too little area gathered since the split
};

inline constexpr int endingVerdictCount = 16;

// The verdict as users read it: "counted", "too short", "piece of the same fish", ...
const char* verdictText(EndingVerdict verdict);
// A few characters for a mark on a crowded picture: "short", "large", "piece", ...
const char* verdictShortText(EndingVerdict verdict);

// The size limits of a channel at the moment an object ends there.
struct ChannelLimits {
    int32_t minLength = 0, maxLength = 0;
    int32_t minWidth = 0, maxWidth = 0;
    int32_t minArea = 0, maxArea = 0;

    bool operator==(const ChannelLimits&) const = default;
};

inline ChannelLimits limitsOf(const CoreState& s, int32_t channel) {
    return {s.minLength[channel], s.maxLength[channel], s.minWidth[channel],
            s.maxWidth[channel],  s.minArea[channel],   s.maxArea[channel]};
}

struct ObjectEnding {
    tskepna object;  // the record as it ended, before any share goes to its siblings
    int32_t channel = 1;
    EndingVerdict verdict = EndingVerdict::counted;
    bool cut = false;  // the shape state cut it while a segment still lay under it
    ChannelLimits limits;
};

class EndingObserver {
public:
    virtual void objectEnded(const ObjectEnding& ending) = 0;

protected:
    ~EndingObserver() = default;
};

// The size test of an ending object: counted, or the first bound that fails.
inline EndingVerdict sizeVerdict(const tskepna& p, const CoreState& s, int32_t ch) {
    if (p.lengd < s.minLength[ch]) return EndingVerdict::tooShort;
    if (p.lengd >= s.maxLength[ch]) return EndingVerdict::tooLong;
    if (p.breidd < s.minWidth[ch]) return EndingVerdict::tooNarrow;
    if (p.breidd >= s.maxWidth[ch]) return EndingVerdict::tooWide;
    if (p.flatarmal < s.minArea[ch]) return EndingVerdict::tooSmall;
    if (p.flatarmal >= s.maxArea[ch]) return EndingVerdict::tooLarge;
    return EndingVerdict::counted;
}

// What becomes of object p that ends in channel ch. A piece of a split is counted alone only
// when it is no piece of one fish, passes the size test and is large enough by itself too.
inline EndingVerdict judgeEnding(const tskepna& p, const CoreState& s, int32_t ch) {
    const EndingVerdict size = sizeVerdict(p, s, ch);
    if (p.klofinn == 0) return size;
    if (p.K_sami_fiskur) return EndingVerdict::pieceOfSameFish;
    if (size != EndingVerdict::counted) {
        return static_cast<EndingVerdict>(static_cast<int>(size) - 1 +
                                          static_cast<int>(EndingVerdict::pieceTooShort));
    }
    if (p.sjalfs_lengd <= checkedAdd(s.minLength[ch], 2, "length limit") / 3)
        return EndingVerdict::pieceTooShortOnItsOwn;
    if (p.sjalfs_flat < s.minArea[ch] / 4) return EndingVerdict::pieceTooSmallOnItsOwn;
    return EndingVerdict::counted;
}

}  // namespace velkor
