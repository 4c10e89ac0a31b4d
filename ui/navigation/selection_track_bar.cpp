// The track bar: the style draws the groove, then the selection band, then the thumb on top.
#include "ui/navigation/selection_track_bar.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionSlider>

namespace velkor {
namespace {

// A 40-pixel thumb, whatever the platform's style would pick; a click in the groove puts the
// thumb where it was clicked, as a click on the chart goes to its time, rather than one page on.
class LongThumbStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_Slider_AbsoluteSetButtons) return Qt::LeftButton | Qt::MiddleButton;
        if (hint == SH_Slider_PageSetButtons) return Qt::NoButton;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_SliderLength) return 40;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

SelectionTrackBar::SelectionTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    auto* style = new LongThumbStyle;
    style->setParent(this);
    setStyle(style);
    setTickPosition(QSlider::NoTicks);
}

void SelectionTrackBar::setSelection(int selStart, int selEnd) {
    if (selStart == selStart_ && selEnd == selEnd_) return;
    selStart_ = selStart;
    selEnd_ = selEnd;
    update();
}

int SelectionTrackBar::pixelOfValue(int value) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    return groove.x() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, option.upsideDown);
}

void SelectionTrackBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);

    // Some styles fill the groove up to the thumb in the highlight colour, which would look like
    // a selection from the first frame: the groove is drawn without that fill.
    QStyleOptionSlider grooveOption = option;
    grooveOption.subControls = QStyle::SC_SliderGroove;
    grooveOption.palette.setColor(QPalette::Highlight, palette().color(QPalette::Button));
    style()->drawComplexControl(QStyle::CC_Slider, &grooveOption, &painter, this);

    if (selEnd_ >= selStart_ && selStart_ >= minimum() && selEnd_ <= maximum()) {
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const int left = pixelOfValue(selStart_);
        const int right = pixelOfValue(selEnd_);
        const int bandHeight = 6;
        const QRect band(left - 2, groove.center().y() - bandHeight / 2 + 1, right - left + 5,
                         bandHeight);
        painter.fillRect(band, palette().color(QPalette::Highlight));
    }

    option.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}

}  // namespace velkor
