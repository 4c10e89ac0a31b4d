// What if a channel had another size class: a chooser beside each counter field's caption that
// shows the channel's class and takes another, the whole count with the classes chosen under the
// field, and a bar that says the classes differ from the report's and returns them to it. The
// window gives the classes chosen to its engine and its background count; the texts are plain
// functions, so they can be checked with a table.
#pragma once

#include <QComboBox>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "core/core_state.h"
#include "replay/replay_engine.h"

class QLabel;
class QPushButton;

namespace velkor {

// "10 g": a class by its name in the report and the counter captions.
QString classNameText(int32_t sizeClass);

// Beside a field whose class was changed: "with 30 g: 283 (recorded 275, +2.9 %)"; "(recorded 0)"
// when no difference can be given, "(not recorded)" when the report holds no total for the
// channel, and "with 30 g: counting ..." while the whole count runs (`total` empty).
QString whatIfText(int32_t sizeClass, const std::optional<int32_t>& total,
                   const std::optional<int32_t>& recorded);

// "classes changed: Counter 1 30 g (report 10 g), Counter 3 1 g (report 10 g)", naming every
// channel of the first `channels` whose class differs from its report's; empty when none does.
QString classesChangedText(const ChannelArray<std::string>& names,
                           const ChannelArray<int32_t>& reportClasses,
                           const ChannelArray<int32_t>& chosen, int32_t channels);

// The overrides for the engine: the class chosen where it differs from the report's, -1 elsewhere
// (and for every channel past `channels`).
ChannelArray<int32_t> classOverridesFor(const ChannelArray<int32_t>& reportClasses,
                                        const ChannelArray<int32_t>& chosen, int32_t channels);

// One channel's chooser, in its counter field's caption where the report's class stood: the size
// class, and under the field what the whole recording counts with it once it differs from the
// report's. The what-if line is a sibling in the same panel, placed by the panel.
class ClassChooser : public QComboBox {
    Q_OBJECT
public:
    ClassChooser(int channel, QWidget* panel);

    // Shows the report's class, chosen; no what-if text.
    void setReportClass(int32_t sizeClass);
    // Nothing open: no class to show.
    void clear();
    int32_t reportClass() const { return reportClass_; }
    int32_t chosenClass() const;
    // Picks a class as the user would (signals classChosen when it changes).
    void choose(int32_t sizeClass);
    void setWhatIf(const QString& text);
    QString whatIf() const;
    // Places the what-if line at `topLeft`, `width` wide, as high as its text needs.
    void placeWhatIf(QPoint topLeft, int width);
    // Shows the chooser for a channel the session has, or hides it with its what-if line.
    void setShown(bool shown);

    QLabel* whatIfLabel = nullptr;

signals:
    void classChosen(int channel, int sizeClass);

private:
    int channel_;
    int32_t reportClass_ = -1;
};

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
