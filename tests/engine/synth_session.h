// Sessions from the session generator for the tests that replay them whole: one channel or four,
// touching fish and noise as asked, optionally with damaged lines, written to a test's folder.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {

struct SynthSession {
    int channels = 1;       // 1 or 4
    int64_t lines = 20000;  // scan lines
    double density = 2.0;   // fish per second per channel
    double touching = 0.4;
    double noise = 3.0;
    bool damaged = false;  // some empty lines and one stretch of lines damaged
    uint64_t seed = 7;
};

// Damages the recording `blb` in place: every `every`-th empty line gets a negative count word,
// which a reader steps over as one word like the 0 it held, so the lines after it keep their
// places; and the first line with runs after the middle loses its count, so that its runs are
// read as count words of lines of their own.
inline void damageLines(const std::string& blb, int every) {
    std::string bytes = readBytes(blb);
    size_t pos = 4;  // after the two header words
    int64_t line = 1;
    bool middleDone = false;
    const size_t middle = bytes.size() / 2;
    while (pos + 2 <= bytes.size()) {
        int16_t n = 0;
        std::memcpy(&n, bytes.data() + pos, 2);
        const size_t next = pos + 2 * static_cast<size_t>(n > 0 ? 2 * n + 1 : 1);
        int16_t bad = 0;
        if (n == 0 && line % every == 0) bad = -3;
        if (n > 0 && pos > middle && !middleDone) {
            bad = -1;
            middleDone = true;
        }
        if (bad != 0) std::memcpy(bytes.data() + pos, &bad, 2);
        pos = next;
        ++line;
    }
    writeBytes(blb, bytes);
}

// Writes the session into `dir` and returns its recording's name.
inline std::string writeSynthSession(const TempDir& dir, const SynthSession& s) {
    synth::SessionOptions o;
    o.out = dir.file("synth");
    o.scene.seed = s.seed;
    o.scene.lines = s.lines;
    o.scene.density = s.density;
    o.scene.touching = s.touching;
    o.scene.noise = s.noise;
    if (s.channels == 4)
        o.scene.channels = {{10, 120, 2}, {131, 250, 3}, {261, 380, 1}, {391, 500, 2}};
    synth::writeSession(o);
    const std::string blb = synth::recordingName(o.out);
    if (s.damaged) damageLines(blb, 97);
    return blb;
}

}  // namespace velkor::test
