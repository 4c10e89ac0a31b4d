// A short, crowded generated session for the window's tests of the overload correction: at frames
// of 100 lines the correction would add fish, so a counter type that slips in shows in the totals.
#pragma once

#include <string>

#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {

// Writes the session as `stem`.blb and .mse; the recording's name.
inline std::string writeCrowdedSession(const std::string& stem) {
    synth::SessionOptions o;
    o.out = stem;
    o.scene.seed = 4;
    o.scene.lines = 16740;
    o.scene.density = 40;
    synth::writeSession(o);
    return synth::recordingName(o.out);
}

}  // namespace velkor::test
