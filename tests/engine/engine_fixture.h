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

#include "replay/record_writer.h"
#include "replay/replay_engine.h"
#include "settings/report_writer.h"
#include "tests/support/temp_dir.h"

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

// A session report written by the report writer: channels over the scan line 0..scanRight
// (500 mm, shared evenly), size class 2 everywhere, ending at `dateTime`.
inline void writeReport(const std::string& path, const std::vector<Channel>& channels,
                        double dateTime = 42632.4166667, int scanRight = 511) {
    ReportContent r;
    r.dateTime = dateTime;
    r.redge = scanRight;
    r.channelwidth = 0;
    for (const Channel& c : channels) {
        ReportChannel& ch = r.channels.emplace_back();
        ch.widthMm = 500 / static_cast<int32_t>(channels.size());
        ch.leftEdge = c.left;
        ch.rightEdge = c.right;
    }
    for (size_t i = 0; i < channels.size() && i < r.countName.size(); ++i)
        r.countName[i] = channels[i].name;
    saveSessionReport(r, path);
}

// A longer session over three channels: per frame of 100 lines two fish in channel 1, one in
// channel 2 that crosses into the next frame, and three in channel 3.
inline Scene threeChannelSession() {
    Scene scene(3020);
    for (int k = 0; k < 30; ++k) {
        const int base = k * 100;
        scene.fish(base + 5, 10, 20, 30).fish(base + 50, 10, 40, 52);
        scene.fish(base + 95, 10, 200, 210);
        scene.fish(base + 20, 12, 350, 362).fish(base + 20, 12, 380, 392);
        scene.fish(base + 60, 8, 420, 432);
    }
    return scene;
}

inline const std::vector<Channel> threeChannels = {
    {0, 170, "Left"}, {171, 340, "Middle"}, {341, 511, "Right"}};

// A recording with its report in a fresh folder, and an engine to replay it.
struct Session {
    TempDir dir;
    std::string blb = dir.file("session.blb");
    Tsett settings;
    MemorySettingsBackend store;
    std::unique_ptr<ReplayEngine> engine;
    std::vector<int32_t> framesRead;  // every frame read, in order

    Session(const Scene& scene, int W, const std::vector<Channel>& channels = {{0, 511, "One"}},
            int countertype = -1, double dateTime = 42632.4166667) {
        writeRecording(blb, scene);
        writeReport(dir.file("session.mse"), channels, dateTime);
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
