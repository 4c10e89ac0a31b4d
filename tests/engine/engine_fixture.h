// Test sessions for the replay engine: a scene drawn as fish over scan lines, written as a
// recording with a small session report beside it, and an engine opened on it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "replay/record_writer.h"
#include "replay/replay_engine.h"

namespace velkor::test {

// Scan lines numbered from 1; each fish is a run [v, h] on `length` consecutive lines.
struct Scene {
    std::vector<std::vector<SegmentPair>> lines;
    explicit Scene(int lineCount = 0) : lines(lineCount) {}
    Scene& fish(int firstLine, int length, int v, int h) {
        if (static_cast<int>(lines.size()) < firstLine + length - 1)
            lines.resize(firstLine + length - 1);
        for (int l = firstLine; l < firstLine + length; ++l) {
            auto& line = lines[l - 1];
            line.push_back({v, h});
            std::sort(line.begin(), line.end(),
                      [](const SegmentPair& a, const SegmentPair& b) { return a.v < b.v; });
        }
        return *this;
    }
    Scene& length(int lineCount) {
        lines.resize(lineCount);
        return *this;
    }
};

inline void writeRecording(const std::string& path, const Scene& scene) {
    RecordWriter writer(path, 0, 511);
    for (const auto& line : scene.lines) writer.writeLine(line);
    writer.finish();
}

struct Channel {
    int left, right;
    std::string name;
};

// A session report: channels over the scan line 0..511 (500 mm), size class 2 everywhere.
inline std::string reportText(const std::vector<Channel>& channels,
                              const std::string& dateTime = "42632.4166667", int scanRight = 511) {
    std::string t =
        "[Program]\r\nDateTime=" + dateTime + "\r\nLasting=0\r\n[Settings]\r\nLedge=0\r\n";
    t += "Redge=" + std::to_string(scanRight) + "\r\n";
    t += "NrChannels=" + std::to_string(channels.size()) + "\r\n[Kest]\r\nchannelwidth=0\r\n";
    for (size_t i = 0; i < channels.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        t += "Size Group" + n + "=2\r\nMultib" + n + "=" + std::to_string(channels[i].left) +
             "\r\nMultie" + n + "=" + std::to_string(channels[i].right) + "\r\nCountname" + n +
             "=" + channels[i].name + "\r\n";
    }
    return t;
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A recording with its report in a fresh folder, and an engine to replay it.
struct Session {
    TempDir dir;
    std::string blb = dir.file("session.blb");
    Tsett settings;
    MemorySettingsBackend store;
    std::unique_ptr<ReplayEngine> engine;
    std::vector<int32_t> framesRead;  // every frame read, in order

    Session(const Scene& scene, int W, const std::vector<Channel>& channels = {{0, 511, "One"}},
            int countertype = -1, const std::string& dateTime = "42632.4166667") {
        writeRecording(blb, scene);
        writeText(dir.file("session.mse"), reportText(channels, dateTime));
        settings.countertype = countertype;
        engine = std::make_unique<ReplayEngine>(settings, &store);
        engine->setFrameWidth(W);
        engine->onFrameRead = [this](int32_t f) { framesRead.push_back(f); };
    }
    ReplayEngine& open() {
        EXPECT_TRUE(engine->OpenBlbFile(blb)) << engine->message();
        return *engine;
    }
    // Forward to frame `frame`, one step at a time.
    void stepTo(int frame) {
        while (engine->currentFrame() < frame) engine->FarwardbtnClick();
    }
    int total() const {
        int t = 0;
        for (int c = 1; c <= engine->core().channelCount; ++c) t += engine->channelTotal(c);
        return t;
    }
};

}  // namespace velkor::test
