// The Go to dialog: asks for a clock time hh:mm:ss or a frame number, tells the span of the
// recording, and accepts only what can be reached.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "replay/go_to.h"
#include "replay/replay_engine.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace velkor {

class GoToDialog : public QDialog {
    Q_OBJECT
public:
    // `span` tells the recording's times and frames; `initial` is the text offered (the time of
    // the frame shown).
    GoToDialog(QWidget* parent, const QString& span, const QString& initial);
    QString text() const;
    // Asks for a place in `engine`'s open recording, offering the time `initial`; empty when
    // cancelled.
    static std::optional<QString> ask(QWidget* parent, const ReplayEngine& engine,
                                      const QString& initial);

private:
    QLineEdit* edit_;
    QDialogButtonBox* buttons_;
};

// Goes to the frame or the time of day `target` names.
void goTo(ReplayEngine& engine, const GoToTarget& target);

}  // namespace velkor
