// The state every step of the line analysis core shares: line arrays, counters, closed list,
// channel table, per-channel parameters and running means, and the core constants.
//
// One CoreState is one run of the counter. It is a plain aggregate of fixed arrays, allocated once
// (it is large: keep it on the heap, e.g. in a std::unique_ptr) and never resized, so nothing is
// allocated per line or per frame. Arrays indexed by channel use entries 1..4; entry 0 is unused.
#pragma once

#include <array>
#include <cstdint>

#include "core/tskepna.h"

namespace velkor {

struct ChannelBounds {
    int32_t leftEdge = 0;   // first pixel of the channel
    int32_t rightEdge = 0;  // last pixel that belongs to the channel
    int32_t widthMm = 0;    // physical width in millimetres

    bool operator==(const ChannelBounds&) const = default;
};

template <typename T>
using ChannelArray = std::array<T, maxChannels + 1>;

struct CoreState {
    // This line's segments and objects, and the previous line's objects. At the end of a line
    // the two arrays change roles instead of being copied: currentLine then holds the objects of
    // the line before last, which the next line's segments overwrite (the walk reads a segment's
    // ends and its split group only, and the segmentation writes both).
    std::array<LineArray, 2> lineArrays{};
    int32_t currentArray = 0;  // the entry of lineArrays that is currentLine
    LineArray& currentLine() { return lineArrays[currentArray & 1]; }
    const LineArray& currentLine() const { return lineArrays[currentArray & 1]; }
    LineArray& previousLine() { return lineArrays[(currentArray & 1) ^ 1]; }
    const LineArray& previousLine() const { return lineArrays[(currentArray & 1) ^ 1]; }
    int32_t currentCount = 0;
    int32_t previousCount = 0;
    int32_t closedCount = 0;

    ChannelArray<ChannelBounds> channelTable{};
    int32_t channelCount = 1;   // 1..4
    int32_t channelCursor = 1;  // forward-only cursor of the pass under way

    // Per-channel parameters, set by stillafiskiflokk and adapted by autofiskiflokkur.
    ChannelArray<int32_t> minSegmentWidth{};
    ChannelArray<int32_t> mergeGap{};
    ChannelArray<int32_t> minLength{};
    ChannelArray<int32_t> maxLength{};
    ChannelArray<int32_t> minWidth{};
    ChannelArray<int32_t> maxWidth{};
    ChannelArray<int32_t> minArea{};
    ChannelArray<int32_t> maxArea{};
    ChannelArray<int32_t> edgeAngleWeight{};
    ChannelArray<int32_t> minLengthFloor{};
    ChannelArray<int32_t> minWidthFloor{};
    ChannelArray<int32_t> sizeGroup{};  // class index 0..9 of each channel

    // Running means of the objects counted in each channel.
    ChannelArray<double> avgLength{};
    ChannelArray<double> avgWidth{};
    ChannelArray<double> avgArea{};

    // Core constants; a recording's opening sets them to these values.
    int32_t averagingWindow = 3000;
    int32_t edgeAngleThreshold = 10;
    int32_t runAreaFactor = 2;
    int32_t lengthDivisor = 4;

    // The counting area on the scan line and its physical width.
    int32_t scanLeftEdge = 0;
    int32_t scanRightEdge = 511;
    int32_t counterWidthMm = 500;

    // Member by member, the stale entries of the line arrays too: two states that compare equal
    // count every following line alike.
    bool operator==(const CoreState&) const = default;
};

}  // namespace velkor
