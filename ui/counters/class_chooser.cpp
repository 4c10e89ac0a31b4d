// The size-class choosers beside the counter fields' captions.
#include "ui/counters/class_chooser.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

#include "core/fish_classes.h"
#include "settings/recorded_figures.h"

namespace velkor {

QString classNameText(int32_t sizeClass) {
    const std::string_view name = fishClassName(sizeClass);
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

QString whatIfText(int32_t sizeClass, const std::optional<int32_t>& total,
                   const std::optional<int32_t>& recorded) {
    const QString with = QObject::tr("with %1:").arg(classNameText(sizeClass));
    if (!total) return QObject::tr("%1 counting ...").arg(with);
    if (!recorded) return QObject::tr("%1 %2 (not recorded)").arg(with).arg(*total);
    const std::string difference = formatDifference(differencePercent(*total, recorded));
    if (difference.empty())
        return QObject::tr("%1 %2 (recorded %3)").arg(with).arg(*total).arg(*recorded);
    return QObject::tr("%1 %2 (recorded %3, %4)")
        .arg(with)
        .arg(*total)
        .arg(*recorded)
        .arg(QString::fromStdString(difference));
}

ClassChooser::ClassChooser(int channel, QWidget* panel) : QComboBox(panel), channel_(channel) {
    setObjectName(QStringLiteral("ClassChooser%1").arg(channel));
    for (int32_t g = 0; g < fishClassCount; ++g) addItem(classNameText(g), g);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setFocusPolicy(Qt::NoFocus);  // the arrow keys stay the window's navigation
    setToolTip(tr("Size class of channel %1: choose another to count the whole recording again "
                  "with it; the picture's marks follow it from the frame shown")
                   .arg(channel));
    // As wide as its longest class name, whichever is chosen: the caption beside it keeps its room.
    setFixedSize(sizeHint());
    whatIfLabel = new QLabel(panel);
    whatIfLabel->setObjectName(QStringLiteral("WhatIfLabel%1").arg(channel));
    whatIfLabel->setWordWrap(true);
    whatIfLabel->setToolTip(
        tr("The whole recording counted with the class chosen, beside the session total the "
           "counter recorded"));
    // A slightly smaller type: the text wraps in the counter panel's width, and two lines of it
    // take the place of the recorded total it repeats.
    QFont small = whatIfLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    whatIfLabel->setFont(small);
    whatIfLabel->hide();

    connect(this, &QComboBox::currentIndexChanged, this,
            [this](int index) { emit classChosen(channel_, itemData(index).toInt()); });
    clear();
}

void ClassChooser::setReportClass(int32_t sizeClass) {
    reportClass_ = clampSizeGroup(sizeClass);
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(findData(reportClass_));
    }
    setEnabled(true);
    setWhatIf(QString());
}

void ClassChooser::clear() {
    reportClass_ = -1;
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(-1);
    }
    setEnabled(false);
    setWhatIf(QString());
}

int32_t ClassChooser::chosenClass() const {
    return currentIndex() < 0 ? -1 : currentData().toInt();
}

void ClassChooser::choose(int32_t sizeClass) {
    setCurrentIndex(findData(sizeClass));
}

void ClassChooser::setWhatIf(const QString& text) {
    whatIfLabel->setText(text);
    whatIfLabel->setVisible(!text.isEmpty() && isVisibleTo(parentWidget()));
    placeWhatIf(whatIfLabel->pos(), whatIfLabel->width());
}

QString ClassChooser::whatIf() const {
    return whatIfLabel->text();
}

void ClassChooser::placeWhatIf(QPoint topLeft, int width) {
    whatIfLabel->setGeometry(
        topLeft.x(), topLeft.y(), width,
        whatIfLabel->text().isEmpty() ? 0 : whatIfLabel->heightForWidth(width));
}

void ClassChooser::setShown(bool shown) {
    setVisible(shown);
    whatIfLabel->setVisible(shown && !whatIfLabel->text().isEmpty());
}

}  // namespace velkor
