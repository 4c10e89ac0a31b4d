// What if a channel had another size class: a chooser beside each counter field's caption that
// shows the channel's class and takes another, the whole count with the classes chosen under the
// field (class_choices.h holds the bar that says the classes differ from the report's). The texts
// are plain functions, so they can be checked with a table.
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

}  // namespace velkor
