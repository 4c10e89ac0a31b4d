// What the picture takes from the replay engine: the frame store and channels to draw, the ended
// objects to mark, the description of a frame saved as a picture and the status bar's summary
// of the frame. Plain functions of the engine's public state, so the window only passes it on.
#pragma once

#include <QString>

#include "replay/replay_engine.h"
#include "ui/picture/frame_picture.h"

namespace velkor {

// The frame the engine read last, with its channels.
FramePictureSource pictureSource(const ReplayEngine& engine);

// The marks of the objects that ended in the frame; those of `verdict` in `channel` stand out
// (channel 0: none).
FramePicture::MarksSource marksSource(const ReplayEngine& engine, int32_t channel,
                                      EndingVerdict verdict);

// The name to suggest for the frame shown of `recordingFile`, and the caption under it.
FramePicture::FrameDescription frameDescription(const ReplayEngine& engine,
                                                const QString& recordingFile);

// What was counted and rejected in the frame; when a picture `pictureWidth` pixels wide hides
// its last lines (it was narrowed since the frame was read), says so.
QString frameSummaryLine(const ReplayEngine& engine, int pictureWidth);

}  // namespace velkor
