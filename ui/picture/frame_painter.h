// Drawing a frame into the picture's image: the strokes of every line's objects from the frame
// store (teiknaramman) and the raised bars between the channels (teiknaskilrum). Pixels are
// written straight into the image, so the result is exact and nothing is allocated per stroke.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <array>

#include "core/core_state.h"
#include "replay/frame_store.h"

namespace velkor {

// What a frame's picture is drawn from: the frame store with its filled columns, the channel
// layout and the counting area's edges on the scan line.
struct FramePictureSource {
    const FrameStore* frameStore = nullptr;
    int32_t frameColumn = 0;  // columns 0..frameColumn-1 hold the frame's lines
    int32_t channelCount = 1;
    const ChannelArray<ChannelBounds>* channelTable = nullptr;
    int32_t scanLeftEdge = 0;
    int32_t scanRightEdge = 511;
};

// Colours of the picture ($BBGGRR $800000 is navy).
inline constexpr QRgb pictureBackground = 0xFFFFFFFF;
inline constexpr QRgb strokeColour = 0xFF000080;
inline constexpr QRgb dividerLight = 0xFFFFFFFF;
inline constexpr QRgb dividerShadow = 0xFF808080;
inline constexpr QRgb dividerDark = 0xFF000000;

// White background, one navy stroke per object covering rows skal(v) .. skal(h) - 1 of the
// line's column, then the dividers. `picture` must be Format_RGB32 or Format_ARGB32.
void teiknaramman(QImage& picture, const FramePictureSource& source, QRgb buttonFace);

// For each pair of neighbouring channels, with a = skal(rightEdge of the first) and
// b = skal(leftEdge of the second): button-face fill over rows a .. b - 1 and on row a - 1,
// white on row a, grey on row b, black on row b + 1, across the whole width, over the strokes.
void teiknaskilrum(QImage& picture, const FramePictureSource& source, QRgb buttonFace);

// The rows each divider covers, a - 1 .. b + 1, as rectangles across the picture: the marks'
// labels keep off them.
struct DividerBands {
    std::array<QRect, maxChannels - 1> bands{};
    int count = 0;
};
DividerBands dividerBands(const FramePictureSource& source, QSize picture);

}  // namespace velkor
