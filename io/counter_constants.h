// The counter's fixed numbers, shared by the reader, the engine, the report and the tools.
#pragma once

#include <array>
#include <cstdint>

namespace velkor {

// The camera scans this many lines per second; line i lies i / 1116 s after the session start.
inline constexpr int32_t linesPerSecond = 1116;

// The widths of the counter in mm, in the order of the "channelwidth" item index (0..5).
inline constexpr std::array<int32_t, 6> counterWidthsMm{500, 1000, 1400, 400, 1200, 2100};

// The most lines a frame holds: the columns of the frame store.
inline constexpr int32_t maxFrameWidth = 2001;

// A recording is read in blocks of this many 16-bit words (2,000,000 bytes).
inline constexpr int32_t blockWords = 1'000'000;
inline constexpr int32_t blockBytes = 2 * blockWords;

}  // namespace velkor
