// The bar of the classes chosen, and the texts it shows.
#include "ui/counters/class_choices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "core/fish_classes.h"
#include "settings/recorded_figures.h"

namespace velkor {

QString classesChangedText(const ChannelArray<std::string>& names,
                           const ChannelArray<int32_t>& reportClasses,
                           const ChannelArray<int32_t>& chosen, int32_t channels) {
    QStringList parts;
    for (int32_t c = 1; c <= channels && c <= maxChannels; ++c) {
        if (chosen[c] < 0 || chosen[c] == reportClasses[c]) continue;
        parts << QObject::tr("%1 %2 (report %3)")
                     .arg(QString::fromStdString(names[c]), classNameText(chosen[c]),
                          classNameText(reportClasses[c]));
    }
    if (parts.isEmpty()) return QString();
    return QObject::tr("classes changed: %1").arg(parts.join(QStringLiteral(", ")));
}

ChannelArray<int32_t> classOverridesFor(const ChannelArray<int32_t>& reportClasses,
                                        const ChannelArray<int32_t>& chosen, int32_t channels) {
    ChannelArray<int32_t> overrides = noClassOverrides;
    for (int32_t c = 1; c <= channels && c <= maxChannels; ++c)
        if (chosen[c] >= 0 && chosen[c] != reportClasses[c]) overrides[c] = chosen[c];
    return overrides;
}

ClassChoices::ClassChoices(const std::array<ClassChooser*, 5>& choosers, QWidget* parent)
    : QWidget(parent), choosers_(choosers) {
    setObjectName(QStringLiteral("classChoices"));
    note = new QLabel(this);
    note->setObjectName(QStringLiteral("classesNote"));
    note->setWordWrap(true);
    note->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    note->setToolTip(
        tr("The counts, the marks and the comparison are made with these classes, not with "
           "those of the session report"));
    reportSettings = new QPushButton(tr("Report settings"), this);
    reportSettings->setObjectName(QStringLiteral("reportSettingsButton"));
    reportSettings->setFocusPolicy(Qt::NoFocus);
    reportSettings->setToolTip(tr("Every channel back to the size class of the session report"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(note, 1);
    row->addWidget(reportSettings);
    connect(reportSettings, &QPushButton::clicked, this, &ClassChoices::returnToReport);
    for (int c = 1; c <= maxChannels; ++c)
        connect(choosers_[c], &ClassChooser::classChosen, this, [this] {
            showChoices();
            emit choiceChanged();
        });
    clear();
}

void ClassChoices::setSession(const ChannelArray<int32_t>& reportClasses,
                              const ChannelArray<std::string>& names, int32_t channels) {
    names_ = names;
    channels_ = channels;
    for (int c = 1; c <= maxChannels; ++c) {
        if (c <= channels) {
            choosers_[c]->setReportClass(reportClasses[c]);
        } else {
            choosers_[c]->clear();
        }
        choosers_[c]->setShown(c <= channels);
    }
    showChoices();
}

void ClassChoices::clear() {
    names_ = {};
    channels_ = 0;
    for (int c = 1; c <= maxChannels; ++c) {
        choosers_[c]->clear();
        choosers_[c]->setShown(false);
    }
    showChoices();
}

void ClassChoices::returnToReport() {
    if (!changed()) return;
    for (int c = 1; c <= channels_; ++c) choosers_[c]->setReportClass(choosers_[c]->reportClass());
    showChoices();
    emit choiceChanged();
}

ClassChoices::Classes ClassChoices::classes() const {
    Classes shown;
    for (int c = 1; c <= maxChannels; ++c) {
        shown.report[c] = choosers_[c]->reportClass();
        shown.chosen[c] = choosers_[c]->chosenClass();
    }
    return shown;
}

ChannelArray<int32_t> ClassChoices::overrides() const {
    const Classes shown = classes();
    return classOverridesFor(shown.report, shown.chosen, channels_);
}

bool ClassChoices::changed() const {
    return overrides() != noClassOverrides;
}

QString ClassChoices::changedText() const {
    const Classes shown = classes();
    return classesChangedText(names_, shown.report, shown.chosen, channels_);
}

void ClassChoices::showChoices() {
    // A channel back at its report's class has no what-if: its field says it all.
    const ChannelArray<int32_t> chosen = overrides();
    for (int c = 1; c <= maxChannels; ++c)
        if (chosen[c] < 0) choosers_[c]->setWhatIf(QString());
    note->setText(changedText());
    setVisible(changed());
}

void ClassChoices::countStarted() {
    const ChannelArray<int32_t> chosen = overrides();
    for (int c = 1; c <= channels_; ++c)
        if (chosen[c] >= 0) choosers_[c]->setWhatIf(whatIfText(chosen[c], std::nullopt, {}));
}

void ClassChoices::showWholeCount(const ChannelArray<int32_t>& totals,
                                  const ChannelArray<std::optional<int32_t>>& recorded) {
    const ChannelArray<int32_t> chosen = overrides();
    for (int c = 1; c <= channels_; ++c)
        if (chosen[c] >= 0) choosers_[c]->setWhatIf(whatIfText(chosen[c], totals[c], recorded[c]));
}

void ClassChoices::countFailed() {
    for (int c = 1; c <= maxChannels; ++c) choosers_[c]->setWhatIf(QString());
}

}  // namespace velkor
