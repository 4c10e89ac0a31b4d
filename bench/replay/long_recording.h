// A long, deterministic recording for the benchmarks: two channels with a few fish per line
// (three lanes of fish 8..20 lines long and 8..16 pixels wide, with short gaps), written with its
// session report beside it.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "replay/record_writer.h"

namespace velkor::bench {

inline void writeLongRecording(const std::string& blb, int64_t lines) {
    RecordWriter writer(blb, 0, 511);
    struct Lane {
        int32_t left;       // first pixel the lane may use
        int32_t linesLeft;  // lines of the current fish (negative: gap lines)
        int32_t v, h;
    };
    Lane lanes[3] = {{20, -1, 0, 0}, {180, -3, 0, 0}, {330, -5, 0, 0}};
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int32_t>((seed >> 8) % n);
    };
    SegmentPair line[3];
    for (int64_t l = 0; l < lines; ++l) {
        int n = 0;
        for (Lane& lane : lanes) {
            if (lane.linesLeft == 0) lane.linesLeft = -(1 + next(6));  // a gap after a fish
            if (lane.linesLeft < 0 && ++lane.linesLeft == 0) {
                lane.linesLeft = 8 + next(13);
                lane.v = lane.left + next(100);
                lane.h = lane.v + 8 + next(9);
            }
            if (lane.linesLeft > 0) {
                line[n++] = {lane.v, lane.h};
                --lane.linesLeft;
            }
        }
        writer.writeLine(std::span<const SegmentPair>(line, n));
    }
    writer.finish();

    std::string mse = blb.substr(0, blb.size() - 4) + ".mse";
    std::ofstream(mse, std::ios::binary)
        << "[Program]\r\nDateTime=42632.4166667\r\nLasting=0\r\n[Settings]\r\nLedge=0\r\n"
           "Redge=511\r\nNrChannels=2\r\n[Kest]\r\nchannelwidth=0\r\nSize Group1=2\r\n"
           "Multib1=0\r\nMultie1=300\r\nSize Group2=2\r\nMultib2=301\r\nMultie2=511\r\n";
}

}  // namespace velkor::bench
