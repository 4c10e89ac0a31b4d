// PaintBox1, the picture of the frame: keeps the drawn frame in an image of its own size (so the
// picture stays as it was while an automatic count runs) and turns strokes drawn on it with the
// mouse or a finger into gestures.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "ui/frame_painter.h"
#include "ui/stroke_recognizer.h"

namespace velkor {

class FramePicture : public QWidget {
    Q_OBJECT
public:
    explicit FramePicture(QWidget* parent = nullptr);

    // Draws the frame into the picture's image and repaints (teiknaramman).
    void drawFrame(const FramePictureSource& source);
    // Back to the empty white picture.
    void clearPicture();
    const QImage& image() const { return image_; }

signals:
    void gesture(velkor::StrokeGesture gesture);
    // The size changed; a frame shown before must be drawn again at the new size.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void beginStroke(QPointF at);
    void continueStroke(QPointF at);
    void endStroke(QPointF at);
    QRgb buttonFace() const;

    QImage image_;
    std::vector<StrokePoint> stroke_;  // reserved once; a stroke reuses it
    bool stroking_ = false;
};

}  // namespace velkor
