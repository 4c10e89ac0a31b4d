// Saving the frame as a picture: the name suggested for it, the ".png" a typed name may lack,
// and the picture with a caption strip under it that says what it shows (the recording, the
// frame, its time and the counters), so a saved frame can be told apart from others later.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

namespace velkor {

// "day4-frame-12.png" for frame 12 of ".../day4.blb".
QString suggestedFrameFileName(const QString& recording, int frame);
// The name as typed, with ".png" added unless it ends so already (in any case).
QString withPngExtension(const QString& fileName);
// "day4.blb – frame 12 – 11:03:54 – Left 120, Right 98, total 218": what a saved frame shows.
QString frameCaptionText(const QString& recording, int frame, const QString& time,
                         const QStringList& counters, const QString& total);
// `frame` with a white strip under it holding `caption` in black, wrapped to the frame's width.
QImage captionedFrame(const QImage& frame, const QString& caption, const QFont& font);

}  // namespace velkor
