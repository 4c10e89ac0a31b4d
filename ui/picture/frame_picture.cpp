// The picture widget: image backing, mouse and touch strokes.
#include "ui/picture/frame_picture.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QTouchEvent>
#include <algorithm>
#include <cstdlib>

#include "ui/picture/frame_export.h"

namespace velkor {

namespace {
constexpr int tapSlop = 6;  // pixels a tap may move and still be a tap
}  // namespace

FramePicture::FramePicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_AcceptTouchEvents);
    setMinimumSize(16, 16);
    stroke_.reserve(4096);
    setToolTip(
        tr("Draw on the picture with the mouse or a finger:\n"
           "stroke left: next frame, stroke right: previous frame,\n"
           "'<': first frame, '>': last frame, up or down: automatic count"));
}

QRgb FramePicture::buttonFace() const {
    return palette().color(QPalette::Button).rgb();
}

void FramePicture::drawFrame(const FramePictureSource& source, const MarksSource& marks) {
    if (image_.size() != size()) image_ = QImage(size(), QImage::Format_RGB32);
    teiknaramman(image_, source, buttonFace());
    if (marks.endings != nullptr) {
        const MarkFrame frame = markFrameOf(source, marks.frameFirstLine, image_);
        marks_.setDividers(dividerBands(source, image_.size()));
        marks_.setHighlight(marks.highlightChannel, marks.highlightVerdict);
        marks_.draw(image_, *marks.endings, frame, marks.counterNames);
    } else {
        marks_.clear();
    }
    update();
}

void FramePicture::drawFrame(const FramePictureSource& source) {
    drawFrame(source, MarksSource{});
}

bool FramePicture::explainMarkAt(QPoint at) {
    const int mark = marks_.markAt(at);
    if (mark < 0) return false;
    QToolTip::showText(mapToGlobal(at), marks_.explain(mark), this, marks_.rect(mark));
    return true;
}

void FramePicture::clearPicture() {
    marks_.clear();
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(pictureBackground);
    update();
}

void FramePicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (image_.isNull()) {
        painter.fillRect(event->rect(), QColor::fromRgb(pictureBackground));
        return;
    }
    painter.drawImage(event->rect(), image_, event->rect());
    // Parts of the widget the image does not cover yet (a resize not drawn yet) stay white.
    const QRegion uncovered = QRegion(event->rect()) - QRegion(image_.rect());
    for (const QRect& r : uncovered) painter.fillRect(r, QColor::fromRgb(pictureBackground));
}

void FramePicture::resizeEvent(QResizeEvent*) {
    if (image_.size() == size()) return;
    QImage resizedImage(size(), QImage::Format_RGB32);
    resizedImage.fill(pictureBackground);
    image_ = resizedImage;
    emit resized();
}

void FramePicture::beginStroke(QPointF at) {
    stroke_.clear();
    stroking_ = true;
    stroke_.push_back({int32_t(at.x()), int32_t(at.y())});
}

void FramePicture::continueStroke(QPointF at) {
    if (!stroking_) return;
    stroke_.push_back({int32_t(at.x()), int32_t(at.y())});
}

void FramePicture::endStroke(QPointF at) {
    if (!stroking_) return;
    continueStroke(at);
    stroking_ = false;
    const StrokeGesture recognized = recognizeStroke(stroke_);
    if (recognized != StrokeGesture::none) {
        emit gesture(recognized);
        return;
    }
    // A tap (no movement to speak of) on a mark explains it, for fingers that cannot hover.
    const StrokePoint& start = stroke_.front();
    const bool tap = std::all_of(stroke_.begin(), stroke_.end(), [&](const StrokePoint& q) {
        return std::abs(q.x - start.x) <= tapSlop && std::abs(q.y - start.y) <= tapSlop;
    });
    if (tap) explainMarkAt(QPoint(start.x, start.y));
}

void FramePicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) beginStroke(event->position());
}

void FramePicture::mouseMoveEvent(QMouseEvent* event) {
    continueStroke(event->position());
}

void FramePicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) endStroke(event->position());
}

bool FramePicture::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd: {
            auto* touch = static_cast<QTouchEvent*>(event);
            // One finger draws a stroke; a second finger makes it no gesture.
            if (touch->points().size() != 1) {
                stroking_ = false;
            } else {
                const QPointF at = touch->points().front().position();
                if (event->type() == QEvent::TouchBegin)
                    beginStroke(at);
                else if (event->type() == QEvent::TouchUpdate)
                    continueStroke(at);
                else
                    endStroke(at);
            }
            event->accept();
            return true;
        }
        case QEvent::ToolTip: {
            // Resting on a mark explains it; elsewhere the picture's own tooltip shows.
            auto* help = static_cast<QHelpEvent*>(event);
            if (!explainMarkAt(help->pos())) return QWidget::event(event);
            return true;
        }
        case QEvent::TouchCancel:
            stroking_ = false;
            event->accept();
            return true;
        default:
            return QWidget::event(event);
    }
}

void FramePicture::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* save =
        menu.addAction(tr("Save the frame as PNG\u2026"), this, &FramePicture::saveFrameAs);
    save->setEnabled(!image_.isNull());
    menu.exec(event->globalPos());
}

void FramePicture::saveFrameAs() {
    if (image_.isNull()) return;
    const FrameDescription about = describeFrame ? describeFrame() : FrameDescription{};
    QString file = chooseFrameFile ? chooseFrameFile()
                                   : QFileDialog::getSaveFileName(this, tr("Save the frame"),
                                                                  about.suggestedName,
                                                                  tr("PNG picture (*.png)"));
    if (file.isEmpty()) return;
    file = withPngExtension(file);
    if (!captionedFrame(image_, about.caption, font()).save(file, "PNG"))
        emit frameNotSaved(tr("The frame could not be saved as %1.").arg(file));
}

}  // namespace velkor
