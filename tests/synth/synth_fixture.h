// Synthetic sessions for the generator's tests: a temporary folder and the session options the
// tests vary.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::synth::test {

using velkor::test::TempDir;

using velkor::test::readBytes;

// Two channels of different classes, two minutes, with touching fish and noise.
inline SessionOptions twoChannelSession(const std::string& out) {
    SessionOptions o;
    o.out = out;
    o.scene.seed = 11;
    o.scene.lines = 2 * 60 * linesPerSecond + 123;
    o.scene.channels = {{10, 250, 2, 0}, {261, 500, 4, 0}};
    o.scene.density = 2.0;
    o.scene.touching = 0.3;
    o.scene.noise = 2.0;
    o.start = "2026-05-14 23:59:00";  // the curve runs past midnight
    o.tank = "Cage 7";
    o.decimalSeparator = ',';
    o.compressed = true;
    return o;
}

}  // namespace velkor::synth::test
