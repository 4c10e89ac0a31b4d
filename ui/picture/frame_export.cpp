// The frame saved as a picture, with its name and caption.
#include "ui/picture/frame_export.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace velkor {

QString suggestedFrameFileName(const QString& recording, int frame) {
    const QString base = QFileInfo(recording).completeBaseName();
    return QStringLiteral("%1-frame-%2.png")
        .arg(base.isEmpty() ? QStringLiteral("frame") : base)
        .arg(frame);
}

QString withPngExtension(const QString& fileName) {
    if (fileName.isEmpty() || fileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QStringLiteral(".png");
}

QString frameCaptionText(const QString& recording, int frame, const QString& time,
                         const QStringList& counters, const QString& total) {
    const QString dash = QStringLiteral(" \u2013 ");
    QStringList counts = counters;
    counts << QObject::tr("total %1").arg(total);
    return QFileInfo(recording).fileName() + dash + QObject::tr("frame %1").arg(frame) + dash +
           time + dash + counts.join(QStringLiteral(", "));
}

QImage captionedFrame(const QImage& frame, const QString& caption, const QFont& font) {
    if (frame.isNull() || caption.isEmpty()) return frame;
    constexpr int margin = 4;
    const QFontMetrics metrics(font);
    const int width = std::max(frame.width(), 1);
    const QRect text =
        metrics.boundingRect(QRect(margin, 0, std::max(width - 2 * margin, 1), 10000),
                             Qt::TextWordWrap | Qt::AlignLeft, caption);
    const int strip = text.height() + 2 * margin;
    QImage out(width, frame.height() + strip, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, frame);
    p.setPen(Qt::black);
    p.setFont(font);
    p.drawText(QRect(margin, frame.height() + margin, width - 2 * margin, text.height()),
               Qt::TextWordWrap | Qt::AlignLeft, caption);
    return out;
}

}  // namespace velkor
