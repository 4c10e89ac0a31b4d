// Panel2, the middle of the window: the counter panel (Panel3) on the left and the picture of the
// frame (PaintBox1) in a sunken frame filling the rest.
#pragma once

#include <QFrame>

#include "replay/replay_engine.h"

namespace velkor {

class CounterPanel;
class FramePicture;

class PicturePanel : public QFrame {
    Q_OBJECT
public:
    explicit PicturePanel(QWidget* parent);

    // Draws the engine's frame, with the marks of the objects that ended in it when `marks` is on;
    // those of `verdict` in `channel` stand out (channel 0: none).
    void drawFrame(const ReplayEngine& engine, bool marks, int32_t channel, EndingVerdict verdict);

    CounterPanel* Panel3 = nullptr;
    FramePicture* PaintBox1 = nullptr;
};

}  // namespace velkor
