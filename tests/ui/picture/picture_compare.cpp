// ui_picture_compare: checks a screenshot of the window made by another build of velkor (the
// Windows one, under Wine) against this build's own drawing of the same frame:
//   ui_picture_compare RECORDING SCREENSHOT.png X Y W H
// It opens RECORDING, reads frame 1 with frames of W lines, draws it W x H as the window's picture
// does, and compares that with the screenshot's W x H area at X,Y: every pixel that is a stroke or
// background in both must be the same, pixel for pixel. Pixels under a mark (its frame, its
// label, whose font may differ between systems) and the bars between channels (drawn in the
// style's button face) are left out. Exit 0 when they match, 1 when not, 2 on a usage error.

#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "replay/replay_engine.h"
#include "settings/Tsett.h"
#include "ui/picture/engine_picture.h"
#include "ui/picture/frame_painter.h"

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s RECORDING SCREENSHOT.png X Y W H\n", argv[0]);
        return 2;
    }
    const int x0 = std::atoi(argv[3]), y0 = std::atoi(argv[4]);
    const int W = std::atoi(argv[5]), H = std::atoi(argv[6]);
    velkor::Tsett settings;
    velkor::ReplayEngine engine(settings, nullptr);
    engine.setFrameWidth(W);
    try {
        if (!engine.OpenBlbFile(argv[1])) {
            std::fprintf(stderr, "%s: %s\n", argv[1], engine.message().c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const velkor::FramePictureSource source = velkor::pictureSource(engine);
    QImage reference(W, H, QImage::Format_RGB32);
    constexpr QRgb face = 0xFF123456;  // stands for whatever the style's button face is
    velkor::teiknaramman(reference, source, face);
    velkor::teiknaskilrum(reference, source, face);

    QImage shot(QString::fromLocal8Bit(argv[2]));
    if (shot.isNull() || shot.width() < x0 + W || shot.height() < y0 + H) {
        std::fprintf(stderr, "%s: no picture of %dx%d at %d,%d\n", argv[2], W, H, x0, y0);
        return 1;
    }
    shot = shot.convertToFormat(QImage::Format_RGB32);
    const auto plain = [](QRgb p) {
        return p == velkor::strokeColour || p == velkor::pictureBackground;
    };
    long compared = 0, strokes = 0, differ = 0, left = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const QRgb want = reference.pixel(x, y);
            const QRgb got = shot.pixel(x0 + x, y0 + y);
            if (!plain(want) || !plain(got)) {
                left += plain(want);
                continue;
            }
            ++compared;
            strokes += want == velkor::strokeColour;
            if (want != got) {
                if (differ < 5)
                    std::fprintf(stderr, "differs at %d,%d: %08X drawn here, %08X there\n", x, y,
                                 unsigned(want), unsigned(got));
                ++differ;
            }
        }
    }
    std::printf("%ld pixels compared (%ld of them strokes), %ld differ, %ld under marks\n",
                compared, strokes, differ, left);
    // Marks may hide a part of the picture, never most of it.
    return differ == 0 && strokes > 0 && left * 4 < compared ? 0 : 1;
}
