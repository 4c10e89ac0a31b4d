// Test sessions for the window: a recording with a fish every few lines in every channel, written
// with the record writer, and a small session report written as text beside it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "replay/record_writer.h"

namespace velkor::test {

struct Channel {
    int left = 0;
    int right = 511;
    std::string name;
};

struct Session {
    int lineCount = 1000;
    std::vector<Channel> channels{{0, 511, "Counter 1"}};
    // A fish every `fishEvery` lines in every channel: `fishLength` lines of a run `fishWidth`
    // pixels wide, 30 pixels inside the channel's left edge.
    int fishEvery = 40;
    int fishLength = 12;
    int fishWidth = 24;
    // Starts at 10:00:00 (day number 45000 + 10/24) and lasts 0.01 day.
    std::string dateTime = "45000.4266666667";
    std::string lasting = "0.01";
    bool withReport = true;
};

// Writes `base`.blb and `base`.mse and returns the recording's name.
inline std::string writeSession(const std::string& base, const Session& s) {
    const std::string recording = base + ".blb";
    RecordWriter writer(recording, 0, 511);
    std::vector<SegmentPair> line;
    line.reserve(s.channels.size());
    for (int l = 1; l <= s.lineCount; ++l) {
        line.clear();
        if ((l - 1) % s.fishEvery < s.fishLength) {
            for (const Channel& c : s.channels)
                line.push_back({c.left + 30, c.left + 30 + s.fishWidth});
        }
        writer.writeLine(line);
    }
    writer.finish();
    if (!s.withReport) return recording;

    std::ofstream report(base + ".mse", std::ios::binary);
    report << "[Program]\r\nDateTime=" << s.dateTime << "\r\nLasting=" << s.lasting
           << "\r\nTank=Test tank\r\n[Settings]\r\nLedge=0\r\nRedge=511\r\nNrChannels="
           << s.channels.size() << "\r\n[Kest]\r\nchannelwidth=0\r\n";
    for (size_t i = 0; i < s.channels.size(); ++i) {
        const size_t n = i + 1;
        report << "Size Group" << n << "=2\r\nMultib" << n << "=" << s.channels[i].left
               << "\r\nMultie" << n << "=" << s.channels[i].right << "\r\nCountname" << n << "="
               << s.channels[i].name << "\r\n";
    }
    // A throughput curve per channel, one sample a minute from 10:00 on; channel c peaks at 10c.
    for (size_t i = 0; i < s.channels.size(); ++i) {
        report << "[ThroughputChart" << i + 1 << "]\r\n";
        for (int j = 0; j <= 14; ++j) {
            report << "Y" << j << "=" << (j % 5) * 2.5 * double(i + 1) << "\r\nX" << j << "="
                   << 0.41667 + j / 1440.0 << "\r\n";
        }
    }
    return recording;
}

}  // namespace velkor::test
