// The chart's channel selector: exclusive tool buttons in a column as tall as the chart.
#include "ui/chart/chart_channel_selector.h"

#include <QButtonGroup>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/picture/ending_marks.h"

namespace velkor {
namespace {

constexpr int nameWidth = 84;  // pixels of a counter's name on its button; longer ones elide

}  // namespace

ChartChannelSelector::ChartChannelSelector(QWidget* parent) : QWidget(parent) {
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    setFont(small);
    column_ = new QVBoxLayout(this);
    column_->setContentsMargins(2, 2, 2, 2);
    column_->setSpacing(1);
    column_->addStretch(1);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, &ChartChannelSelector::channelChosen);
}

void ChartChannelSelector::setChannels(const QStringList& counterNames) {
    for (QToolButton* b : buttons_) {
        group_->removeButton(b);
        delete b;
    }
    buttons_.clear();
    const QFontMetrics metrics(font());
    for (int c = 1; c <= counterNames.size(); ++c) {
        const QString& name = counterNames[c - 1];
        auto* b = new QToolButton(this);
        b->setObjectName(QString("ChartChannel%1").arg(c));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        // The channel's colour beside its name, as its marks on the picture have.
        QPixmap swatch(8, 8);
        swatch.fill(QColor::fromRgb(channelMarkColour(c)));
        b->setIcon(QIcon(swatch));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setText(metrics.elidedText(name, Qt::ElideRight, nameWidth));
        b->setToolTip(tr("Show the throughput of %1").arg(name));
        group_->addButton(b, c);
        column_->insertWidget(c - 1, b);
        buttons_.push_back(b);
    }
    setVisible(!buttons_.empty());
    if (!buttons_.empty()) setCurrent(1);
}

void ChartChannelSelector::setCurrent(int c) {
    if (QToolButton* b = button(c)) b->setChecked(true);
}

int ChartChannelSelector::current() const {
    return std::max(0, group_->checkedId());
}

QToolButton* ChartChannelSelector::button(int c) const {
    return c >= 1 && c <= channelCount() ? buttons_[size_t(c - 1)] : nullptr;
}

}  // namespace velkor
