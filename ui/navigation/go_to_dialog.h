// The Go to dialog: asks for a clock time hh:mm:ss or a frame number, tells the span of the
// recording, and accepts only what can be reached.
#pragma once

#include <QDialog>
#include <QString>

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

private:
    QLineEdit* edit_;
    QDialogButtonBox* buttons_;
};

}  // namespace velkor
