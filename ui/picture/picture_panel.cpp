// The picture panel: the counters beside the picture, both in raised and sunken frames.
#include "ui/picture/picture_panel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/counters/counter_panel.h"
#include "ui/picture/engine_picture.h"
#include "ui/picture/frame_picture.h"

namespace velkor {

PicturePanel::PicturePanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel2");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    auto* inner = new QHBoxLayout(this);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->setSpacing(0);
    Panel3 = new CounterPanel(this);
    inner->addWidget(Panel3);
    auto* pictureFrame = new QFrame(this);
    pictureFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pictureFrame->setLineWidth(2);
    auto* pictureLayout = new QVBoxLayout(pictureFrame);
    pictureLayout->setContentsMargins(2, 2, 2, 2);
    pictureLayout->setSpacing(2);
    PaintBox1 = new FramePicture(pictureFrame);
    PaintBox1->setObjectName("PaintBox1");
    PaintBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    pictureLayout->addWidget(PaintBox1, 1);
    inner->addWidget(pictureFrame, 1);
}

void PicturePanel::drawFrame(const ReplayEngine& engine, bool marks, int32_t channel,
                             EndingVerdict verdict) {
    PaintBox1->drawFrame(pictureSource(engine), marks ? marksSource(engine, channel, verdict)
                                                      : FramePicture::MarksSource{});
}

}  // namespace velkor
