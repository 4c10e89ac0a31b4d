// What the window's read-outs show and how much room each has, one line per read-out, for the
// program's --screenshot output: a check from outside the program can see a number cut short.
#pragma once

#include <QStringList>

class QLineEdit;
class QWidget;

namespace velkor {

// Lines "read-out NAME "TEXT" room R needs N inside 1": for a one-line text R and N are widths
// in pixels, for a wrapping one heights at the width it has; inside 0 means that part of it lies
// outside a widget that holds it. Read-outs without text are left out.
QStringList readOutReport(const QWidget& window);

// The width in pixels a line edit has for its text: its contents less its own margins.
int textRoom(const QLineEdit& edit);

}  // namespace velkor
