// TForm2, the core object: pairing of segments into objects (porun, with splits and merges) and
// the per-channel class parameters (stillafiskiflokk, autofiskiflokkur).
//
// It works on a CoreState that the caller owns, so a test can make a fresh one for every case.
// Nothing here allocates; every integer operation on the 32-bit fields is overflow-checked and
// raises OverflowError.
#pragma once

#include "core/channel_rule.h"
#include "core/core_state.h"
#include "core/object_ending.h"

namespace velkor {

class TForm2 {
public:
    explicit TForm2(CoreState& state) : s_(state) {}

    // Pairs currentLine (entries 1..currentCount, filtered) with previousLine; leaves this line's
    // objects in previousLine/previousCount (the two arrays change roles, so currentLine then
    // holds stale objects for the next line's segments to overwrite) and returns the closed list,
    // whose entries 1..closedCount carry the objects closed on this line. The reference stays
    // valid until the next call; entries above closedCount are stale.
    //
    // On OverflowError the line cannot be finished: the live objects are forgotten (as after a
    // jump), currentLine is zeroed and closedCount is 0, so the next line starts from a sound
    // state instead of overflowing again on the same object.
    const tlokid& porun();

    // Loads channel tnr's (1..4) parameters from its size class and seeds its running means.
    // A sizeGroup outside 0..9 reads the nearest class. Throws std::out_of_range for a bad tnr.
    void stillafiskiflokk(int32_t tnr);

    // Derives channel tnr's parameters again from its running means.
    void autofiskiflokkur(int32_t tnr);

    CoreState& state() { return s_; }

    // The channel edges of the state's table as it stands, kept from line to line while the
    // table does not change (a line's filter and walk both start their cursors from them).
    const ChannelEdges& channelEdges() {
        edges_.update(s_);
        return edges_;
    }

    // Tells `observer` (null: nobody) of every object that ends from now on, with its verdict.
    // Counting is the same with or without an observer.
    void setEndingObserver(EndingObserver* observer) { observer_ = observer; }

private:
    // The walk's steps; they share the cursors below for one call of porun.
    void walk();
    void pairObject();
    void openObject(int32_t seg);
    int32_t segmentOverlapCount(int32_t obj) const;
    int32_t objectOverlapCount(int32_t seg) const;
    void continueObject(const tskepna& p, tskepna& out, int32_t ch);
    void endObject(int32_t obj);
    void closeObject();
    void reportEnding(const tskepna& p, EndingVerdict verdict);

    // Splits and merges.
    void splitObject();
    int32_t freeGroupNumber() const;
    void mergeObjects();
    void absorbNeighbour(int32_t k);
    bool isBigEnough(int32_t k) const;
    void shareWithSiblings(int32_t a);

    void forgetLine();
    LineArray& curLine() const { return *cur_; }
    LineArray& prevLine() const { return *prev_; }

    CoreState& s_;
    ChannelEdges edges_{s_};
    EndingObserver* observer_ = nullptr;
    // The line arrays in their roles for the line being walked, set at the start of every walk.
    LineArray* cur_ = nullptr;
    LineArray* prev_ = nullptr;
    tlokid closed_{};
    int32_t i_ = 1;      // previous-line object being handled
    int32_t j_ = 1;      // first current-line segment not yet handled
    int32_t lastJ_ = 0;  // last segment under object i
    int32_t lastI_ = 0;  // last object over the segment in question
};

}  // namespace velkor
