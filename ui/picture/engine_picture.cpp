// The picture's view of the engine's frame.
#include "ui/picture/engine_picture.h"

#include <QObject>
#include <QStringList>

#include "ui/picture/ending_marks.h"
#include "ui/picture/frame_export.h"

namespace velkor {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

FramePictureSource pictureSource(const ReplayEngine& engine) {
    const CoreState& core = engine.core();
    FramePictureSource source;
    source.frameStore = &engine.frameStore();
    source.frameColumn = engine.frameColumn();
    source.channelCount = core.channelCount;
    source.channelTable = &core.channelTable;
    source.scanLeftEdge = core.scanLeftEdge;
    source.scanRightEdge = core.scanRightEdge;
    return source;
}

FramePicture::MarksSource marksSource(const ReplayEngine& engine, int32_t channel,
                                      EndingVerdict verdict) {
    FramePicture::MarksSource marks;
    marks.endings = &engine.frameEndings();
    marks.frameFirstLine = engine.frameFirstLine();
    for (int c = 1; c <= 4; ++c) marks.counterNames[c] = fromUtf8(engine.report().counterNames[c]);
    marks.highlightChannel = channel;
    marks.highlightVerdict = verdict;
    return marks;
}

FramePicture::FrameDescription frameDescription(const ReplayEngine& engine,
                                                const QString& recordingFile) {
    if (!engine.isOpen()) return {};
    const ReadOuts& r = engine.readOuts();
    QStringList counters;
    for (int c = 1; c <= engine.report().channelCount; ++c)
        counters << QStringLiteral("%1 %2")
                        .arg(fromUtf8(engine.report().counterNames[c]))
                        .arg(r.counters[c]);
    const int frame = engine.lastFrameRead();
    return {suggestedFrameFileName(recordingFile, frame),
            frameCaptionText(recordingFile, frame, fromUtf8(r.timeText), counters,
                             fromUtf8(r.totalText))};
}

QString frameSummaryLine(const ReplayEngine& engine, int pictureWidth) {
    const int hidden = engine.frameColumn() - pictureWidth;
    return frameSummaryText(engine.frameEndings()) +
           (hidden > 0 ? QObject::tr("; the last %1 lines of this frame are hidden until the next "
                                     "move")
                             .arg(hidden)
                       : QString());
}

}  // namespace velkor
