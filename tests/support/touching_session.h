// A generated session the window's tests share: three channels of touching fish with noise,
// 80000 lines (about 72 s), long enough for several checkpoints of the whole count at frames of a
// few hundred lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {

inline const std::vector<synth::SynthChannel> threeTouchingChannels = {
    {10, 160, 2}, {175, 330, 3}, {345, 500, 1}};

// Writes the session `name` in `dir` and returns its recording's name.
inline std::string writeTouchingSession(
    const TempDir& dir, const std::string& name, uint64_t seed,
    const std::vector<synth::SynthChannel>& channels = threeTouchingChannels) {
    synth::SessionOptions o;
    o.out = dir.file(name);
    o.scene.seed = seed;
    o.scene.lines = 80000;
    o.scene.density = 3.0;
    o.scene.touching = 0.4;
    o.scene.noise = 3.0;
    o.scene.channels = channels;
    synth::writeSession(o);
    return synth::recordingName(o.out);
}

}  // namespace velkor::test
