// Frame drawing by direct pixel writes, clipped to the image.
#include "ui/picture/frame_painter.h"

#include <algorithm>
#include <utility>

#include "ui/picture/picture_geometry.h"

namespace velkor {
namespace {

void fillRows(QImage& picture, int32_t fromRow, int32_t toRowExcluded, QRgb colour) {
    const int32_t top = std::max(fromRow, 0);
    const int32_t bottom = std::min(toRowExcluded, int32_t(picture.height()));
    for (int32_t y = top; y < bottom; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        std::fill(row, row + picture.width(), colour);
    }
}

}  // namespace

void teiknaramman(QImage& picture, const FramePictureSource& source, QRgb buttonFace) {
    picture.fill(pictureBackground);
    const int32_t H = picture.height();
    if (source.frameStore != nullptr) {
        const int32_t columns =
            std::min({source.frameColumn, int32_t(picture.width()), maxFrameWidth});
        const qsizetype stride = picture.bytesPerLine();
        uchar* bits = picture.bits();
        for (int32_t c = 0; c < columns; ++c) {
            const FrameStoreColumn& column = (*source.frameStore)[c];
            const int32_t n = std::min<int32_t>(column[0].left, lineCapacity);
            for (int32_t k = 1; k <= n; ++k) {
                const int32_t y1 =
                    skal(column[k].left, source.scanLeftEdge, source.scanRightEdge, H);
                const int32_t y2 =
                    skal(column[k].right, source.scanLeftEdge, source.scanRightEdge, H);
                // A line covers its start pixel and not its end pixel, whichever way it runs.
                int32_t top = y1 <= y2 ? y1 : y2 + 1;
                int32_t bottom = y1 <= y2 ? y2 : y1 + 1;
                top = std::max(top, 0);
                bottom = std::min(bottom, H);
                for (int32_t y = top; y < bottom; ++y) {
                    reinterpret_cast<QRgb*>(bits + y * stride)[c] = strokeColour;
                }
            }
        }
    }
    teiknaskilrum(picture, source, buttonFace);
}

namespace {

// The picture rows where channel i ends and channel i + 1 begins, in a picture H rows high.
std::pair<int32_t, int32_t> dividerRows(const FramePictureSource& source, int32_t H, int32_t i) {
    return {
        skal((*source.channelTable)[i].rightEdge, source.scanLeftEdge, source.scanRightEdge, H),
        skal((*source.channelTable)[i + 1].leftEdge, source.scanLeftEdge, source.scanRightEdge, H)};
}

}  // namespace

void teiknaskilrum(QImage& picture, const FramePictureSource& source, QRgb buttonFace) {
    if (source.channelTable == nullptr) return;
    const int32_t H = picture.height();
    const int32_t count = std::min(source.channelCount, maxChannels);
    for (int32_t i = 1; i <= count - 1; ++i) {
        const auto [a, b] = dividerRows(source, H, i);
        fillRows(picture, a, b, buttonFace);
        fillRows(picture, a - 1, a, buttonFace);
        fillRows(picture, a, a + 1, dividerLight);
        fillRows(picture, b, b + 1, dividerShadow);
        fillRows(picture, b + 1, b + 2, dividerDark);
    }
}

DividerBands dividerBands(const FramePictureSource& source, QSize picture) {
    DividerBands d;
    if (source.channelTable == nullptr) return d;
    const int32_t H = picture.height();
    const int32_t count = std::min(source.channelCount, maxChannels);
    for (int32_t i = 1; i <= count - 1; ++i) {
        const auto [a, b] = dividerRows(source, H, i);
        d.bands[size_t(d.count++)] = QRect(0, a - 1, picture.width(), std::max(b - a, 0) + 3);
    }
    return d;
}

}  // namespace velkor
