// Writes the benchmarks' long recording (and its report) for measuring velkor-count from the
// outside, e.g. its peak memory: make_long_recording OUT.blb LINES
#include <cstdio>
#include <cstdlib>

#include "bench/replay/long_recording.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_long_recording OUT.blb LINES\n");
        return 2;
    }
    velkor::bench::writeLongRecording(argv[1], std::atoll(argv[2]));
    return 0;
}
