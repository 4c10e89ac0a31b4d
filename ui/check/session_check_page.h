// Drawing the session check: one A4 portrait page per recording with the session's header, the
// table of totals and verdicts per channel, each channel's throughput chart with the minutes where
// the replay and the record differ most, and the frame with the most rejected objects with its
// marks. Drawn with QPainter onto any paged device, so the same page goes into a PDF file or to a
// printer.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <vector>

#include "ui/check/session_check_content.h"

class QPainter;
class QPagedPaintDevice;

namespace velkor {

// The page in points (1/72 inch): A4 portrait.
inline constexpr double checkPageWidth = 595.28;
inline constexpr double checkPageHeight = 841.89;

// Draws `content` onto a page of checkPageWidth x checkPageHeight units of `painter`.
void paintSessionCheck(QPainter& painter, const SessionCheckContent& content);

// The frame of `strip` with its strokes and marks, `height` pixels high and one column per line.
QImage rejectedFramePicture(const SessionCheckContent& content, int height);

// One page per content on `device` (A4 portrait is asked for); false when the device could not be
// painted on or a page could not be added.
bool paintSessionCheckPages(QPagedPaintDevice& device,
                            const std::vector<SessionCheckContent>& contents);

// The PDF document of the pages, as bytes; empty when it could not be made.
QByteArray sessionCheckPdf(const std::vector<SessionCheckContent>& contents);

}  // namespace velkor
