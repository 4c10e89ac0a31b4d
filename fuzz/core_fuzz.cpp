// Fuzz target: the line analysis core. The input gives a channel table, per-channel size classes
// (now and then with parameters of its own) and a stream of valid scan lines; every line goes
// through filterSegments and porun, and the class adaptation runs after every frame's worth of
// lines as the engine runs it. After each line: the counts within the arrays and the live objects
// well formed; the sanitizers check every index.
// OverflowError is an allowed outcome; the core must then be left in a sound state.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/TForm2.h"
#include "core/segmentation.h"
#include "fuzz/fuzz_lines.h"
#include "fuzz/fuzz_support.h"
#include "io/counter_constants.h"
#include "io/errors.h"

using namespace velkor;

namespace {

void checkAfterLine(const CoreState& s) {
    VELKOR_FUZZ_CHECK(s.previousCount >= 0 && s.previousCount <= lineCapacity);
    VELKOR_FUZZ_CHECK(s.closedCount >= 0 && s.closedCount <= closedCapacity);
    // The live objects are not always ordered or disjoint: an object that absorbed its neighbours
    // keeps the span of the line before, which may reach over the segments next to it, and the
    // walk of the next line pairs by those spans. What must hold is that every index stays
    // inside the arrays, which the sanitizers check, and that the counts fit them.
    for (int32_t j = 1; j <= s.previousCount; ++j)
        VELKOR_FUZZ_CHECK(s.previousLine()[j].lengd >= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    static auto state = std::make_unique<CoreState>();
    CoreState& s = *state;
    s = CoreState{};
    TForm2 form2(s);

    // The counting area and its channels: increasing edges, the last channel to the right edge.
    s.channelCount = data.ConsumeIntegralInRange<int32_t>(1, maxChannels);
    s.scanLeftEdge = data.ConsumeIntegralInRange<int32_t>(0, 1000);
    s.scanRightEdge = s.scanLeftEdge + data.ConsumeIntegralInRange<int32_t>(1, 4000);
    s.counterWidthMm = counterWidthsMm[data.ConsumeIntegralInRange<int>(0, 5)];
    int32_t left = s.scanLeftEdge;
    for (int32_t c = 1; c <= s.channelCount; ++c) {
        const int32_t span = std::max(0, s.scanRightEdge - left);
        const int32_t right = c == s.channelCount
                                  ? s.scanRightEdge
                                  : left + data.ConsumeIntegralInRange<int32_t>(0, span);
        s.channelTable[c] = {left, right, data.ConsumeIntegralInRange<int32_t>(1, 2100)};
        left = right + 1;
        s.sizeGroup[c] = data.ConsumeIntegralInRange<int32_t>(-2, 11);
    }
    const int32_t W = data.ConsumeIntegralInRange<int32_t>(1, maxFrameWidth);
    const bool ownParameters = data.ConsumeBool();
    try {
        for (int32_t c = 1; c <= s.channelCount; ++c) form2.stillafiskiflokk(c);
    } catch (const OverflowError&) {
        return 0;
    }
    if (ownParameters) {
        for (int32_t c = 1; c <= s.channelCount; ++c) {
            s.minSegmentWidth[c] = data.ConsumeIntegralInRange<int32_t>(0, 64);
            s.mergeGap[c] = data.ConsumeIntegralInRange<int32_t>(0, 64);
            s.minLength[c] = data.ConsumeIntegralInRange<int32_t>(0, 5000);
            s.maxLength[c] = data.ConsumeIntegralInRange<int32_t>(0, 1 << 20);
            s.minWidth[c] = data.ConsumeIntegralInRange<int32_t>(0, 5000);
            s.maxWidth[c] = data.ConsumeIntegralInRange<int32_t>(0, 1 << 16);
            s.minArea[c] = data.ConsumeIntegralInRange<int32_t>(0, 1 << 20);
            s.maxArea[c] = data.ConsumeIntegralInRange<int32_t>(0, 1 << 30);
            s.edgeAngleWeight[c] = data.ConsumeIntegralInRange<int32_t>(0, 100);
        }
    }

    fuzz::LineStream lines(data, s.scanLeftEdge, lineCapacity);
    std::vector<fuzz::Run> runs;
    int32_t column = 0;
    while (lines.next(runs, 300000)) {
        const int32_t n = static_cast<int32_t>(runs.size());
        for (int32_t i = 1; i <= n; ++i) {
            s.currentLine()[i].v = runs[i - 1].v;
            s.currentLine()[i].h = runs[i - 1].h;
        }
        int32_t filtered = 0;
        try {
            filterSegments(s, n);
            filtered = s.currentCount;
            VELKOR_FUZZ_CHECK(filtered >= 0 && filtered <= n);
            for (int32_t i = 2; i <= filtered; ++i)
                VELKOR_FUZZ_CHECK(s.currentLine()[i - 1].h < s.currentLine()[i].v);
            form2.porun();
            checkAfterLine(s);
        } catch (const OverflowError&) {
            VELKOR_FUZZ_CHECK(s.currentCount == 0 && s.previousCount == 0 && s.closedCount == 0);
            for (int32_t i = 1; i <= filtered; ++i)
                VELKOR_FUZZ_CHECK(s.currentLine()[i] == tskepna{});
        }
        if (++column == W) {
            column = 0;
            try {
                for (int32_t c = 1; c <= s.channelCount; ++c) form2.autofiskiflokkur(c);
            } catch (const OverflowError&) {
            }
        }
    }
    return 0;
}
