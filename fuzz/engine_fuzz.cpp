// Fuzz target: the whole replay engine as the window drives it. The input gives a session (a
// report with its channel table, and a recording of valid lines, of raw damaged bytes, or
// compressed) and then a sequence of moves: the navigation buttons, track bar moves, automatic
// count presses and reads of arbitrary frames. A VelkorError is an allowed outcome of a move;
// anything else (a crash, a sanitizer report, another exception, a hang) is a finding.
#include <fuzzer/FuzzedDataProvider.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_lines.h"
#include "fuzz/fuzz_support.h"
#include "io/errors.h"
#include "replay/replay_engine.h"

using namespace velkor;

namespace {

void putWord(std::string& out, int32_t w) {
    out.push_back(static_cast<char>(w & 0xff));
    out.push_back(static_cast<char>((w >> 8) & 0xff));
}

std::string reportText(const CoreState& layout, int32_t channelwidth, const int32_t* groups) {
    std::string t = "[Program]\r\nLasting=0.0100000\r\nDateTime=46027.3500000\r\nTank=Fuzz\r\n";
    t += "[Settings]\r\nLedge=" + std::to_string(layout.scanLeftEdge) +
         "\r\nRedge=" + std::to_string(layout.scanRightEdge) +
         "\r\nNrChannels=" + std::to_string(layout.channelCount) + "\r\n[Kest]\r\n";
    for (int c = 1; c <= 4; ++c)
        t += "Size Group" + std::to_string(c) + "=" + std::to_string(groups[c]) + "\r\n";
    for (int c = 1; c <= layout.channelCount; ++c) {
        const auto& ch = layout.channelTable[c];
        t += "%width" + std::to_string(c) + "=" + std::to_string(ch.widthMm) + "\r\nMultib" +
             std::to_string(c) + "=" + std::to_string(ch.leftEdge) + "\r\nMultie" +
             std::to_string(c) + "=" + std::to_string(ch.rightEdge) + "\r\n";
    }
    t += "channelwidth=" + std::to_string(channelwidth) + "\r\n";
    t += "[ThroughputChart1]\r\nY1=12.0000000\r\nX1=0.34000\r\nY2=30.0000000\r\nX2=0.35000\r\n";
    return t;
}

void checkEngine(const ReplayEngine& e) {
    if (!e.isOpen()) return;
    VELKOR_FUZZ_CHECK(e.frameCount() == e.lineCount() / e.frameWidth() + 1);
    const TrackBarState& bar = e.trackBar();
    VELKOR_FUZZ_CHECK(bar.position >= bar.minimum && bar.position <= bar.maximum);
    VELKOR_FUZZ_CHECK(e.frameColumn() >= 0 && e.frameColumn() <= e.frameWidth());
    for (int32_t x = 0; x < e.frameColumn(); ++x) {
        const int32_t objects = e.frameStore()[x][0].left;
        VELKOR_FUZZ_CHECK(objects >= 0 && objects <= lineCapacity);
    }
    for (int c = 1; c <= maxChannels; ++c) VELKOR_FUZZ_CHECK(e.channelTotal(c) >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const uint8_t mode = data.ConsumeIntegral<uint8_t>();  // 0-1: lines, 2: raw bytes, 3: .blc
    const int32_t W = data.ConsumeIntegralInRange<int32_t>(1, 48);
    static std::unique_ptr<CoreState> layoutState = std::make_unique<CoreState>();
    CoreState& layout = *layoutState;
    layout.channelCount = data.ConsumeIntegralInRange<int32_t>(1, maxChannels);
    layout.scanLeftEdge = data.ConsumeIntegralInRange<int32_t>(0, 600);
    layout.scanRightEdge = layout.scanLeftEdge + data.ConsumeIntegralInRange<int32_t>(1, 3000);
    int32_t left = layout.scanLeftEdge;
    for (int32_t c = 1; c <= layout.channelCount; ++c) {
        const int32_t right = c == layout.channelCount
                                  ? layout.scanRightEdge
                                  : left + data.ConsumeIntegralInRange<int32_t>(
                                               0, std::max(0, layout.scanRightEdge - left));
        layout.channelTable[c] = {left, right, data.ConsumeIntegralInRange<int32_t>(1, 2100)};
        left = right + 1;
    }
    int32_t groups[5] = {};
    for (int c = 1; c <= 4; ++c) groups[c] = data.ConsumeIntegralInRange<int32_t>(0, 9);
    const int32_t channelwidth = data.ConsumeIntegralInRange<int32_t>(-1, 5);
    const bool overloadCorrection = data.ConsumeBool();

    std::vector<uint8_t> moves;
    const int moveCount = data.ConsumeIntegralInRange<int>(0, 24);
    std::vector<int32_t> moveArgs;
    for (int k = 0; k < moveCount; ++k) {
        moves.push_back(data.ConsumeIntegral<uint8_t>());
        moveArgs.push_back(data.ConsumeIntegralInRange<int32_t>(-2, 200));
    }

    // The recording.
    std::string blb;
    putWord(blb, layout.scanLeftEdge);
    putWord(blb, layout.scanRightEdge);
    int64_t lineCount = -1;  // known only for valid lines
    if ((mode & 3) == 2) {
        const std::string raw = data.ConsumeRemainingBytesAsString();
        blb += raw;
    } else {
        fuzz::LineStream lines(data, layout.scanLeftEdge, lineCapacity);
        std::vector<fuzz::Run> runs;
        lineCount = 0;
        while (lines.next(runs, 20000)) {
            putWord(blb, static_cast<int32_t>(runs.size()));
            for (const auto& r : runs) {
                putWord(blb, r.v);
                putWord(blb, r.h);
            }
            ++lineCount;
        }
    }

    fuzz::clearScratch();
    const std::string recording = fuzz::scratchFile("session.blb");
    fuzz::writeFile(fuzz::scratchFile("session.mse"), reportText(layout, channelwidth, groups));
    std::string opened = recording;
    if ((mode & 3) == 3) {
        std::vector<uint8_t> packed(compressBound(blb.size()));
        uLongf packedSize = packed.size();
        compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(blb.data()),
                  blb.size(), 1);
        opened = fuzz::scratchFile("session.blc");
        fuzz::writeFile(opened, packed.data(), packedSize);
    } else {
        fuzz::writeFile(recording, blb);
    }

    Tsett settings;
    settings.countertype = overloadCorrection ? 5 : -1;
    MemorySettingsBackend store;
    ReplayEngine engine(settings, &store);
    engine.setFrameWidth(W);
    try {
        VELKOR_FUZZ_CHECK(engine.OpenBlbFile(opened, (mode & 3) == 3));
    } catch (const VelkorError&) {
        return 0;
    }
    if (lineCount >= 0) VELKOR_FUZZ_CHECK(engine.lineCount() == lineCount);
    checkEngine(engine);

    for (size_t k = 0; k < moves.size(); ++k) {
        const int32_t arg = moveArgs[k];
        try {
            switch (moves[k] % 8) {
                case 0:
                    engine.beginbtnClick();
                    break;
                case 1:
                    engine.backwardbtnClick();
                    break;
                case 2:
                case 3:
                    engine.FarwardbtnClick();
                    break;
                case 4:
                    engine.endbtnClick();
                    break;
                case 5:
                    engine.TrackBar1Change(arg);
                    break;
                case 6:
                    engine.AutocountbtnClick();
                    break;
                case 7:
                    engine.setCurrentFrame(arg);
                    engine.lesaramma(arg);
                    break;
            }
        } catch (const VelkorError&) {
        }
        checkEngine(engine);
    }
    return 0;
}
