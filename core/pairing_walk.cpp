// porun: the walk that pairs the previous line's objects with this line's segments, left to
// right, and the steps for opening, continuing, ending and closing objects, with the edge angles
// and the shape state machine that cuts a second fish in contact off the first.
#include <algorithm>

#include "core/TForm2.h"
#include "core/channel_rule.h"
#include "core/checked_math.h"
#include "core/edge_angle.h"

namespace velkor {

namespace {

// Strict on both sides: an object whose right end equals the segment's left end does not overlap.
// Both ends are compared without a short-cut: one branch on the result instead of two.
inline bool overlaps(const tskepna& object, const tskepna& segment) {
    return (object.h > segment.v) & (object.v < segment.h);
}

inline int32_t clampCount(int32_t n) {
    return n < 0 ? 0 : (n > lineCapacity ? lineCapacity : n);
}

// Opens a new object on segment e.
inline void openRecord(tskepna& e) {
    const int32_t w = checkedSub(e.h, e.v, "segment width");
    // Stored field by field: a whole-record assignment goes through a stack copy.
    e.lengd = 1;
    e.breidd = w;
    e.xv = e.v;
    e.xh = e.h;
    e.flatarmal = w;
    e.litur = 0;
    e.sjalfs_lengd = 1;
    e.sjalfs_flat = w;
    e.klofinn = 0;  // every other field 0: colour, group, angles, state, run area, same-fish flag
    e.vsn = 0;
    e.hsn = 0;
    e.inte = 0;
    e.astand = 0;
    e.K_sami_fiskur = false;
}

// Object p (at `object`) and the segment at `segment`, both in use, overlap each other and
// nothing else: the dispatch would find one segment under the object and one object over the
// segment. The entries of the segment and of the object and segment after them are read clamped
// to the array and to those in use (past the segments in use they are stale, and the result is
// then false whatever they hold), and the tests are combined without short-cuts, so that the
// usual case costs one well-predicted branch. The walk has opened every segment that ends at or
// left of p's left end, so a segment in use ends right of it: p overlaps the segment when it
// reaches past the segment's left end.
inline bool pairsOneToOne(const tskepna& p, const tskepna* object, const tskepna* lastObject,
                          const tskepna* segment, const tskepna* lastSegment,
                          const tskepna* lastEntry) {
    const bool segmentInUse = segment <= lastSegment;
    const bool nextSegmentInUse = segment < lastSegment;
    const bool nextObjectInUse = object < lastObject;
    const tskepna& seg = *(segment <= lastEntry ? segment : lastEntry);
    const tskepna& nextSegment = nextSegmentInUse ? segment[1] : seg;
    const tskepna& nextObject = nextObjectInUse ? object[1] : *object;
    const bool alone = !(nextSegmentInUse & overlaps(p, nextSegment)) &
                       !(nextObjectInUse & (nextObject.v < seg.h));
    return segmentInUse & (p.astand != 3) & (p.h > seg.v) & alone;
}

}  // namespace

const tlokid& TForm2::porun() {
    try {
        walk();
    } catch (const OverflowError&) {
        forgetLine();
        throw;
    }
    return closed_;
}

void TForm2::forgetLine() {
    CoreState& s = s_;
    const int32_t used = clampCount(s.currentCount);
    std::fill(s.currentLine().begin() + 1, s.currentLine().begin() + 1 + used, tskepna{});
    s.currentCount = 0;
    s.previousCount = 0;
    s.closedCount = 0;
}

// The per-object steps are inlined into the walk: they run for every object of every line. The
// cursors live in locals on the usual path, one object over one segment, where stores into the
// line arrays cannot make the compiler reload them; the rarer steps use the members.
[[gnu::flatten]] void TForm2::walk() {
    CoreState& s = s_;
    // The arrays' roles for this line, held as pointers: the compiler keeps them in registers
    // across the stores into the records, where it would read the role's index again.
    cur_ = &s.currentLine();
    prev_ = &s.previousLine();
    tskepna* const cur = cur_->data();
    const tskepna* const prev = prev_->data();
    // Counts set from outside can never make the walk index past the arrays.
    s.currentCount = clampCount(s.currentCount);
    s.previousCount = clampCount(s.previousCount);
    s.closedCount = 0;
    s.channelCursor = 1;

    // The walk steps through both arrays with pointers; the steps that splits and merges take
    // work on the cursors i_ and j_, set from the pointers and read back after them.
    tskepna* seg = cur + 1;  // the first segment not yet handled
    const tskepna* lastSeg = cur + s.currentCount;
    if (s.previousCount > 0) {
        // Made only when there are objects to place in their channels: a line that only opens
        // objects needs no channel.
        ChannelCursor channel(channelEdges());
        const tskepna* obj = prev + 1;  // the object being handled
        const tskepna* lastObj = prev + s.previousCount;
        while (obj <= lastObj) {
            const tskepna& p = *obj;
            const int32_t ch = channel.advanceTo(p.v);
            s.channelCursor = ch;
            // Segments wholly left of the object touch no object still to be handled.
            while (seg <= lastSeg && p.v >= seg->h) {
                openRecord(*seg);
                ++seg;
            }
            if (pairsOneToOne(p, obj, lastObj, seg, lastSeg, cur + lineCapacity)) {
                continueObject(p, *seg, ch);
                ++obj;
                ++seg;
            } else {
                i_ = static_cast<int32_t>(obj - prev);
                j_ = static_cast<int32_t>(seg - cur);
                pairObject();
                obj = prev + i_;
                seg = cur + j_;
                lastObj = prev + s.previousCount;
                lastSeg = cur + s.currentCount;
            }
        }
    }
    for (; seg <= lastSeg; ++seg) openRecord(*seg);

    // This line's objects become the previous line's by exchanging the arrays' roles.
    const int32_t used = s.currentCount;
    s.currentArray ^= 1;
    s.previousCount = used;
}

[[gnu::noinline, gnu::flatten]] void TForm2::pairObject() {
    const int32_t n = segmentOverlapCount(i_);
    lastJ_ = j_ + n - 1;
    if (n == 0) {
        endObject(i_);
    } else if (n == 1) {
        const int32_t m = objectOverlapCount(j_);
        lastI_ = i_ + m - 1;
        if (m >= 3) {
            mergeObjects();
        } else if (m == 2) {
            // Zig-zag: if object i + 1 reaches on to the next segment, pair one to one.
            if (segmentOverlapCount(i_ + 1) == 1) {
                mergeObjects();
            } else {
                continueObject(prevLine()[i_], curLine()[j_], s_.channelCursor);
                ++j_;
            }
        } else {
            continueObject(prevLine()[i_], curLine()[j_], s_.channelCursor);
            ++j_;
        }
    } else {
        // Zig-zag: if segment j + 1 also lies under object i + 1, pair one to one.
        if (objectOverlapCount(j_ + 1) == 1) {
            splitObject();
        } else {
            continueObject(prevLine()[i_], curLine()[j_], s_.channelCursor);
            ++j_;
        }
    }
    ++i_;
}

int32_t TForm2::segmentOverlapCount(int32_t obj) const {
    const tskepna& object = prevLine()[obj];
    if (object.astand == 3) return 0;  // the object is cut: nothing continues it
    int32_t k = j_;
    while (k <= s_.currentCount && overlaps(object, curLine()[k])) ++k;
    return k - j_;
}

int32_t TForm2::objectOverlapCount(int32_t seg) const {
    // Objects from i on lie right of object i, which overlaps the segment: only their left ends
    // need comparing.
    const int32_t right = curLine()[seg].h;
    int32_t k = i_;
    while (k <= s_.previousCount && prevLine()[k].v < right) ++k;
    return k - i_;
}

void TForm2::openObject(int32_t seg) {
    openRecord(curLine()[seg]);
}

void TForm2::continueObject(const tskepna& p, tskepna& out, int32_t ch) {
    const CoreState& s = s_;
    // Each field is stored as soon as it is worked out, in the order of the checks, so that few
    // values are live at once. The previous object lies in the other line array, so no store
    // changes what is read after it. An overflow can leave the record half written, which does
    // no harm: the entries of a line that fails are zeroed.
    const int32_t v = out.v;
    const int32_t h = out.h;
    const int32_t w = checkedSub(h, v, "segment width");

    out.lengd = checkedAdd(p.lengd, 1, "object length");
    out.sjalfs_lengd = checkedAdd(p.sjalfs_lengd, 1, "object length");
    out.breidd = w > p.breidd ? w : p.breidd;
    out.flatarmal = checkedAdd(p.flatarmal, w, "object area");
    out.sjalfs_flat = checkedAdd(p.sjalfs_flat, w, "object area");
    out.xv = v < p.xv ? v : p.xv;
    out.xh = h > p.xh ? h : p.xh;
    out.litur = p.litur;
    out.klofinn = p.klofinn;
    out.K_sami_fiskur = p.K_sami_fiskur;

    const int32_t leftAngle = edgeAngle(checkedSub(v, p.v, "edge shift"));
    const int32_t rightAngle = edgeAngle(checkedSub(h, p.h, "edge shift"));
    int32_t vsn;
    int32_t hsn;
    if (p.lengd == 1) {
        vsn = leftAngle;
        hsn = rightAngle;
    } else {
        const int32_t weight = s.edgeAngleWeight[ch];
        const int32_t rest = checkedSub(100, weight, "edge angle weight");
        vsn = checkedAdd(checkedMul(weight, leftAngle, "edge angle"),
                         checkedMul(rest, p.vsn, "edge angle"), "edge angle") /
              100;
        hsn = checkedAdd(checkedMul(weight, rightAngle, "edge angle"),
                         checkedMul(rest, p.hsn, "edge angle"), "edge angle") /
              100;
    }
    out.vsn = vsn;
    out.hsn = hsn;

    // Shape state: widening, then narrowing, then widening again, each over a run of
    // consecutive lines whose area exceeds the run limit. Whether a line advances the state
    // changes with the data from line to line, so it is worked out without branches; each
    // overflow is raised only where the value is used.
    int32_t astand = p.astand;
    int32_t inte = 0;  // the run area is not taken over; only a consecutive run sets it
    if (static_cast<uint32_t>(astand) <= 2) {
        const int32_t spread = checkedSub(hsn, vsn, "edge angle");
        const int32_t threshold = s.edgeAngleThreshold;
        const bool narrowing = astand == 1;
        bool negatedOverflow, runOverflow, limitOverflow;
        const int32_t negated = tentativeSub(0, threshold, negatedOverflow);
        if (narrowing & negatedOverflow) raiseOverflow("edge angle threshold");
        const bool advancing =
            (narrowing & (spread < negated)) | (!narrowing & (spread > threshold));
        const int32_t run = tentativeAdd(p.inte, w, runOverflow);
        const int32_t limit = tentativeMul(s.minArea[ch], s.runAreaFactor, limitOverflow);
        if (advancing & (runOverflow | limitOverflow))
            raiseOverflow(runOverflow ? "run area" : "run area limit");
        // A full run moves the state on and starts a new run; the last one, to 3, keeps it.
        const bool full = advancing & (run > limit);
        inte = (advancing & !(full & (astand != 2))) ? run : 0;
        astand += full;
    }
    out.inte = inte;
    out.astand = astand;
}

void TForm2::endObject(int32_t obj) {
    const tskepna& p = prevLine()[obj];
    const EndingVerdict verdict = judgeEnding(p, s_, s_.channelCursor);
    // Reported before a piece's share goes to its siblings, so the record is the one judged.
    if (observer_ != nullptr) [[unlikely]]
        reportEnding(p, verdict);
    if (verdict == EndingVerdict::counted) {
        closeObject();
    } else if (p.klofinn != 0) {
        shareWithSiblings(obj);
    }
}

[[gnu::noinline, gnu::cold]] void TForm2::reportEnding(const tskepna& p, EndingVerdict verdict) {
    const CoreState& s = s_;
    ObjectEnding ending;
    ending.object = p;
    ending.channel = s.channelCursor;
    ending.verdict = verdict;
    ending.limits = limitsOf(s, s.channelCursor);
    // Segments left of the object have been opened already, so only segment j can lie under it;
    // if one does, the shape state and not the end of its segments ended the object.
    ending.cut = p.astand == 3 && j_ <= s.currentCount && overlaps(p, curLine()[j_]);
    observer_->objectEnded(ending);
}

void TForm2::closeObject() {
    CoreState& s = s_;
    // At most previousCount (<= 500) objects end on one line, so the list cannot overflow.
    if (s.closedCount >= closedCapacity) return;
    const tskepna& p = prevLine()[i_];
    s.closedCount += 1;
    closed_[s.closedCount] = p;

    const int32_t c = s.channelCursor;
    const long double window = s.averagingWindow;
    const long double keep = checkedSub(s.averagingWindow, 1, "averaging window");
    s.avgLength[c] = static_cast<double>(keep * s.avgLength[c] / window + p.lengd / window);
    s.avgWidth[c] = static_cast<double>(keep * s.avgWidth[c] / window + p.breidd / window);
    s.avgArea[c] = static_cast<double>(keep * s.avgArea[c] / window + p.flatarmal / window);
}

}  // namespace velkor
