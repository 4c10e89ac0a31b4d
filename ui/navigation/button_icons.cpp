// Tool button pictures: the automatic count's empty flag to set the mark and planted flag with an
// arrow to count up to here, the Go to clock and the close cross.
#include "ui/navigation/button_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velkor {
namespace {

// An icon of 32 x 32 pictures at the scales 1 and 2, each drawn by `draw` on a transparent
// picture; antialiased unless `antialiased` is false.
template <typename Draw>
QIcon drawnIcon(Draw draw, bool antialiased = true) {
    QIcon icon;
    for (qreal scale : {1.0, 2.0}) {
        QPixmap pixmap(int(32 * scale), int(32 * scale));
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing, antialiased);
            draw(p);
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

void drawFlag(QPainter& p, bool marked) {
    const QColor navy(0x00, 0x00, 0x80);
    // The pole.
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 4), QPointF(7, 29));
    // The flag.
    QPainterPath flag;
    flag.moveTo(8, 5);
    flag.lineTo(22, 9);
    flag.lineTo(8, 14);
    flag.closeSubpath();
    p.setPen(QPen(navy, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(marked ? QBrush(QColor(0xE0, 0x40, 0x30)) : QBrush(Qt::white));
    p.drawPath(flag);
    if (marked) {
        // An arrow from the mark onward: count up to the frame shown.
        p.setPen(QPen(navy, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(11, 22), QPointF(28, 22));
        p.drawLine(QPointF(23, 17), QPointF(28, 22));
        p.drawLine(QPointF(23, 27), QPointF(28, 22));
    } else {
        // A plus: set the mark here.
        p.setPen(QPen(navy, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 22), QPointF(27, 22));
        p.drawLine(QPointF(21, 16), QPointF(21, 28));
    }
}

void drawCross(QPainter& p) {
    p.setPen(QPen(QColor(0xA0, 0x20, 0x20), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 9), QPointF(23, 23));
    p.drawLine(QPointF(23, 9), QPointF(9, 23));
}

// A clock face with an arrow: go to a time.
void drawClock(QPainter& p) {
    const QColor navy(0x00, 0x00, 0x80);
    p.setPen(QPen(navy, 2.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(14, 16), 10, 10);
    p.setPen(QPen(navy, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 16), QPointF(14, 9));
    p.drawLine(QPointF(14, 16), QPointF(19, 19));
    // The arrow: jump there.
    p.setPen(QPen(QColor(0xE0, 0x40, 0x30), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(22, 27), QPointF(30, 27));
    p.drawLine(QPointF(26, 23), QPointF(30, 27));
    p.drawLine(QPointF(26, 31), QPointF(30, 27));
}

void drawMarks(QPainter& p) {
    const QColor navy(0x00, 0x00, 0x80);
    // Two silhouettes as strokes, one framed as counted, one dashed as rejected.
    p.setPen(QPen(navy, 2));
    p.drawLine(QPointF(6, 14), QPointF(15, 14));
    p.drawLine(QPointF(5, 18), QPointF(16, 18));
    p.drawLine(QPointF(7, 22), QPointF(14, 22));
    p.drawLine(QPointF(22, 20), QPointF(27, 20));
    p.setPen(QPen(QColor(0x1A, 0x96, 0x41), 2));
    p.drawRect(QRectF(3, 10, 16, 16));
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(3, 0, 16, 10), Qt::AlignLeft | Qt::AlignVCenter, "17");
    QPen dashed(QColor(0x70, 0x70, 0x70), 1.2, Qt::CustomDashLine);
    dashed.setDashPattern({2, 2});
    p.setPen(dashed);
    p.drawRect(QRectF(20, 16, 9, 8));
}

}  // namespace

QIcon marksIcon() {
    return drawnIcon(drawMarks, false);
}

QIcon goToIcon() {
    return drawnIcon(drawClock);
}

QIcon closeIcon() {
    return drawnIcon(drawCross);
}

QIcon autocountIcon(int image) {
    return drawnIcon([image](QPainter& p) { drawFlag(p, image == 5); });
}

}  // namespace velkor
