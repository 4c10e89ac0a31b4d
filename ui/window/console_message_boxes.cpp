// Messages on the error stream.
#include "ui/window/console_message_boxes.h"

#include <cstdio>

namespace velkor {

void ConsoleMessageBoxes::show(QWidget*, MessageKind kind, const QString& text) {
    ++shown;
    const char* what = kind == MessageKind::error     ? "error"
                       : kind == MessageKind::warning ? "warning"
                                                      : "information";
    std::fprintf(stderr, "velkor: %s: %s\n", what, text.toLocal8Bit().constData());
}

}  // namespace velkor
