// PaintBox1, the picture of the frame: keeps the drawn frame in an image of its own size (so the
// picture stays as it was while an automatic count runs), draws the marks of the objects that
// ended in the frame over it and explains a mark when the pointer rests on it or a finger taps
// it, and turns strokes drawn on it with the mouse or a finger into gestures.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/picture/ending_marks.h"
#include "ui/picture/frame_painter.h"
#include "ui/picture/stroke_recognizer.h"

namespace velkor {

class FramePicture : public QWidget {
    Q_OBJECT
public:
    explicit FramePicture(QWidget* parent = nullptr);

    // What the marks are drawn from: the frame's ended objects (null: no marks).
    struct MarksSource {
        const FrameEndings* endings = nullptr;
        int32_t frameFirstLine = 1;
        std::array<QString, 5> counterNames;  // entries 1..4
        int32_t highlightChannel = 0;         // marks of this verdict there stand out; 0: none
        EndingVerdict highlightVerdict = EndingVerdict::counted;
    };
    // Draws the frame into the picture's image, and the marks over it, and repaints
    // (teiknaramman).
    void drawFrame(const FramePictureSource& source, const MarksSource& marks);
    void drawFrame(const FramePictureSource& source);
    const EndingMarks& marks() const { return marks_; }
    // Shows the explanation of the mark at `at` (picture coordinates); false if there is none.
    bool explainMarkAt(QPoint at);
    // Back to the empty white picture.
    void clearPicture();
    const QImage& image() const { return image_; }
    // The context menu's "Save the frame as PNG…": the picture with its marks and a caption
    // under it, into the file chosen (by chooseFrameFile when set, for tests; else a save dialog
    // that suggests a name); ".png" is added to a name typed without it.
    void saveFrameAs();
    std::function<QString()> chooseFrameFile;
    // What the window tells of the frame shown: the name to suggest and the caption.
    struct FrameDescription {
        QString suggestedName;
        QString caption;
    };
    std::function<FrameDescription()> describeFrame;

signals:
    // The frame could not be saved; `message` names the file.
    void frameNotSaved(const QString& message);
    void gesture(velkor::StrokeGesture gesture);
    // The size changed; a frame shown before must be drawn again at the new size.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
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
    EndingMarks marks_;
    std::vector<StrokePoint> stroke_;  // reserved once; a stroke reuses it
    bool stroking_ = false;
};

}  // namespace velkor
