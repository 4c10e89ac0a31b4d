// TForm2, the core object: pairing of segments into objects (porun, with splits and merges) and
// the per-channel class parameters (stillafiskiflokk, autofiskiflokkur).
//
// It works on a CoreState that the caller owns, so a test can make a fresh one for every case.
// Nothing here allocates; every integer operation on the 32-bit fields is overflow-checked and
// raises OverflowError.
#pragma once

#include "core/core_state.h"

namespace velkor {

class TForm2 {
public:
    explicit TForm2(CoreState& state) : s_(state) {}

    // Pairs currentLine (entries 1..currentCount, filtered) with previousLine; leaves this line's
    // objects in previousLine/previousCount, zeroes the used currentLine entries and returns the
    // closed list, whose entries 1..closedCount carry the objects closed on this line. The
    // reference stays valid until the next call.
    const tlokid& porun();

    // Loads channel tnr's (1..4) parameters from its size class and seeds its running means.
    void stillafiskiflokk(int32_t tnr);

    // Derives channel tnr's parameters again from its running means.
    void autofiskiflokkur(int32_t tnr);

    CoreState& state() { return s_; }

private:
    CoreState& s_;
    tlokid closed_{};
};

}  // namespace velkor
