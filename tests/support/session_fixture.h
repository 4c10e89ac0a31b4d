// Test sessions for the window: a recording with a fish every few lines in every channel and its
// session report beside it, both written by the project's own writers.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "replay/record_writer.h"
#include "settings/report_writer.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"

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
    double dateTime = 45000.4266666667;
    double lasting = 0.01;
    bool withReport = true;
    // Lines put first into [Kest], each ended by CR LF: they stand before the writer's own keys
    // and so are the ones read (a "CountersT2=n/a" makes channel 2's total not recorded).
    std::string kestKeys;
};

// Two channels, "Left" (pixels 0..255) and "Right" (256..511), `lines` lines long; `kestKeys` as
// Session::kestKeys.
inline Session leftAndRight(int lines, std::string kestKeys = {}) {
    Session s;
    s.lineCount = lines;
    s.channels = {{0, 255, "Left"}, {256, 511, "Right"}};
    s.kestKeys = std::move(kestKeys);
    return s;
}

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

    ReportContent r;
    r.dateTime = s.dateTime;
    r.lasting = s.lasting;
    r.tank = "Test tank";
    r.channelwidth = 0;
    // A throughput curve per channel, one point per 10 s from the start on; channel c peaks at
    // 10c.
    r.curveStart = s.dateTime - s.lasting;
    for (size_t i = 0; i < s.channels.size(); ++i) {
        ReportChannel& ch = r.channels.emplace_back();
        ch.widthMm = 500 / static_cast<int32_t>(s.channels.size());
        ch.leftEdge = s.channels[i].left;
        ch.rightEdge = s.channels[i].right;
        for (int j = 0; j <= 15; ++j) ch.throughput.push_back((j % 5) * 2.5 * double(i + 1));
        if (i < r.countName.size()) r.countName[i] = s.channels[i].name;
    }
    saveSessionReport(r, base + ".mse");
    if (!s.kestKeys.empty()) {
        std::string text = readBytes(base + ".mse");
        const size_t kest = text.find("[Kest]\r\n");
        if (kest != std::string::npos) text.insert(kest + 8, s.kestKeys);
        writeBytes(base + ".mse", text);
    }
    return recording;
}

}  // namespace velkor::test
