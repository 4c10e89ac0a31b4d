// The bar under the picture while a channel's size class differs from the report's: which differ,
// and "Report settings" to return them all to it. It holds the four choosers' state as one: the
// window gives the classes chosen to its engine and its background count.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "core/core_state.h"
#include "ui/counters/class_chooser.h"

class QLabel;
class QPushButton;

namespace velkor {

// "classes changed: Counter 1 30 g (report 10 g), Counter 3 1 g (report 10 g)", naming every
// channel of the first `channels` whose class differs from its report's; empty when none does.
QString classesChangedText(const ChannelArray<std::string>& names,
                           const ChannelArray<int32_t>& reportClasses,
                           const ChannelArray<int32_t>& chosen, int32_t channels);

// The overrides for the engine: the class chosen where it differs from the report's, -1 elsewhere
// (and for every channel past `channels`).
ChannelArray<int32_t> classOverridesFor(const ChannelArray<int32_t>& reportClasses,
                                        const ChannelArray<int32_t>& chosen, int32_t channels);

// The bar under the picture while any class differs from the report's: what differs, and the
// "Report settings" button that returns every channel to its report's class. It holds the four
// choosers' state as one: the overrides for the engine and the what-if texts.
class ClassChoices : public QWidget {
    Q_OBJECT
public:
    // `choosers[1..4]`, one per counter field; they stay the window's.
    ClassChoices(const std::array<ClassChooser*, 5>& choosers, QWidget* parent = nullptr);

    // A recording opened: every chooser shows its channel's class from the report.
    void setSession(const ChannelArray<int32_t>& reportClasses,
                    const ChannelArray<std::string>& names, int32_t channels);
    // Nothing open.
    void clear();
    // Back to the report's classes, as the button does (signals choiceChanged if any differed).
    void returnToReport();

    ChannelArray<int32_t> overrides() const;
    bool changed() const;
    QString changedText() const;

    // The whole count with the classes chosen has started, or has ended with these totals.
    void countStarted();
    void showWholeCount(const ChannelArray<int32_t>& totals,
                        const ChannelArray<std::optional<int32_t>>& recorded);
    // The count could not be made: no figure to show beside the fields.
    void countFailed();

    QLabel* note = nullptr;
    QPushButton* reportSettings = nullptr;

signals:
    // The classes chosen changed: the window counts again with overrides().
    void choiceChanged();

private:
    // Each chooser's report class and the class chosen (-1 where nothing is open).
    struct Classes {
        ChannelArray<int32_t> report{}, chosen{};
    };
    Classes classes() const;
    void showChoices();

    std::array<ClassChooser*, 5> choosers_;
    ChannelArray<std::string> names_{};
    int32_t channels_ = 0;
};

}  // namespace velkor
